#pragma once
#include <windows.h>

#include <string>

#include "memo/journalformat.h"

// The files of the memo folder and the file operations the memo store is
// built of. Apart from FormatMemoFolder and the functions that say they take
// full paths, these take relative names: the caller makes the memo folder
// current first.

// Where a save writes the text before it replaces the memo's file. No
// "*.txt" pattern matches it, not even through an 8.3 short name, so it is
// never listed with the memos.
extern const char kMemoTempFile[];
// Matches the name of every file an interrupted save leaves in the memo
// folder: that temporary file, a change of case's second name, the journals.
extern const char kLeftoverPattern[];
// Larger than any memo the editor can show.
extern const DWORD kLargestMemo;

// "<current directory>\memo\" into out; false (out empty) when it does not fit.
bool FormatMemoFolder(char* out, size_t size);

// The lead-byte test of the active ANSI code page.
bool IsAnsiLeadByte(unsigned char c);

// A memo name as the file system compares it: upper-cased as a whole
// (through UTF-16), so that a double-byte letter is folded like an ASCII one
// and a trail byte never is.
std::string FoldMemoName(const std::string& name);

// Whether anything (a file or a folder) is called <name>.txt; a name too long
// to form counts as taken.
bool MemoFileExists(const std::string& name);

// Whether an entry of the memo folder's listing is a memo the list shows: a
// memo file that is neither a folder nor hidden nor a system file.
bool IsListedMemo(const WIN32_FIND_DATAA& entry);
// Whether a file matching the pattern would be listed. `listed` (kPathSize
// bytes, may be null) receives its name as the folder has it.
bool FindListedMemo(const char* pattern, char* listed);

// Size and last write time of a file; not present when it cannot be asked.
MemoStamp StampOfFile(const char* file);
// The same of a file this program holds open without sharing: no other
// program can change it meanwhile.
MemoStamp StampOfOpenFile(HANDLE hFile);

// Writes `size` bytes to `temp`, flushes them to the disk, and only then
// moves the file to `target` (write-through), replacing a file there when
// `replace` is set. On failure neither file is left changed but `temp`,
// which is removed. ERROR_SUCCESS or the error that stopped it.
DWORD WriteFileThrough(const char* temp, const char* target, const char* data, DWORD size, bool replace);

// The whole of a file (up to `limit` bytes) into out.
DWORD ReadWholeFile(const char* file, std::string& out, DWORD limit);

// The listed memo file that holds exactly `text` ("<name>.txt"), memo
// `preferred`'s file before any other; empty when none does. Only files of
// the text's size are read.
std::string FindMemoHolding(const std::string& text, const std::string& preferred);

// Whether a delete of the file (full path) can put it in the Recycle Bin:
// removable, network and other drives have none, and neither has a system
// without one (Wine without its trash folder). There a delete is for good.
bool CanRecycle(const char* path);

// Moves a file (full path) to the Recycle Bin, or deletes it for good when
// `forGood`, without a progress window or an error box. ERROR_SUCCESS only
// once the file is gone; ERROR_CANCELLED when the shell asked whether to
// delete it for good and was told no; otherwise why it is still there.
DWORD RemoveMemoFile(const char* path, bool forGood);

// A memo left under the second name of a change of case, by a run that
// ended between the two moves, goes back under a free name from its title.
DWORD BringBackRenamedMemo();

// Stores text as memo `name`, the current memo being `current` ("null" for
// none). The text goes to a temporary file first; only once it is completely
// on disk does it replace the memo's file, so a failure leaves every stored
// memo as it was. When the name differs from `current` (beyond case), the
// current memo's old file goes afterwards; a current memo marked read-only
// is neither replaced nor renamed (ERROR_ACCESS_DENIED). Where the old file
// of a rename cannot be removed, the new one goes again and the error is
// returned: two files must not both look current. Returns
// ERROR_SUCCESS or the error that stopped it; the temporary file never
// remains.
DWORD StoreMemo(const char* text, DWORD size, const std::string& name, const std::string& current);
