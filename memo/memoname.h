#pragma once
// Which name a memo is saved under. No windows.h here: a plain rule, tested
// on its own.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

// Whether memo `name` (its file <name>.txt) exists. The file system answers
// it, so the comparison of names ignores case as the file system does.
using MemoExistsPredicate = std::function<bool(const std::string& name)>;

// The name that means "no memo".
extern const char kNoMemoName[];
// What the memo folder's listing asks for.
extern const char kMemoFilePattern[];
// A memo's file name ends in this; the name is what comes before it.
extern const char kMemoFileExtension[];

// The memo file of memo `name`, "<name>.txt", into out; false (out empty)
// for a reserved name or when it does not fit.
bool FormatMemoFileName(char* out, size_t size, const std::string& name);
// Whether a file name of the memo folder's listing names a memo file: the
// listing also matches short names ("x.txtbak" is X~1.TXT), so the real
// ending is checked, without case. A file named "null" or after a device
// (copied in, or left by an older copy) names no memo that can be opened or
// deleted, so it is not one.
bool IsMemoFileName(const std::string& file);
// The memo's name of memo file `file` ("abc.txt" gives "abc"); `file` must
// pass IsMemoFileName.
std::string MemoNameOfFile(const std::string& file);

// The longest name ChooseMemoName gives for a title of DeriveTitle: 21 bytes
// and " (9999)".
constexpr size_t kLongestMemoName = 21 + 7;

// Names that never name a memo file: "null" (no memo) and the device names
// Windows reserves (CON, PRN, AUX, NUL, COM0-9, LPT0-9, CONIN$, CONOUT$),
// in any case, also before an extension and trailing spaces.
bool IsReservedMemoName(const std::string& name);

// A name in the form the file system compares names in: its case folded as
// the file system folds it, for every script it knows (full-width, Greek and
// Cyrillic letters as well as ASCII). The caller supplies it.
using NameFold = std::string (*)(const std::string& name);

// Whether two memo names name the same file.
bool IsSameMemoName(const std::string& a, const std::string& b, NameFold fold);

// The highest number a name is given.
constexpr int kLastMemoNumber = 9999;

// The name numbered `number` of a title: the title itself for 1, else
// "title (2)", "title (3)", ... (the number goes before an extension of a
// device name).
std::string NumberedMemoName(const std::string& title, int number);

// The name to save the memo with this title under, given the current memo's
// name ("null" for none): the title itself when it is free or names the
// current memo; otherwise the first free of its numbered names. Empty when
// every candidate is taken.
std::optional<std::string> ChooseMemoName(const std::string& title, const std::string& current,
                                          const MemoExistsPredicate& exists, NameFold fold);
