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
