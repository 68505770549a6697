#include "memo/memostore.h"

#include <cstring>

#include "app/bounded.h"
#include "app/curdir.h"
#include "app/globals.h"
#include "memo/memoname.h"

const char kMemoTempFile[] = "~memosave.tmp";

namespace {
// Holds a memo only for the moment its name changes case.
const char kRenameFile[] = "~memorename.tmp";

DWORD WriteTempFile(const char* text, DWORD size)
{
    HANDLE file = CreateFileA(kMemoTempFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError();
    DWORD error = ERROR_SUCCESS;
    DWORD written = 0;
    if (!WriteFile(file, text, size, &written, nullptr)) {
        error = GetLastError();
    } else if (written != size) {
        error = ERROR_DISK_FULL;
    } else if (!FlushFileBuffers(file)) {
        error = GetLastError();
    }
    if (!CloseHandle(file) && error == ERROR_SUCCESS) error = GetLastError();
    return error;
}

bool IsReadOnlyFile(const char* file)
{
    DWORD attributes = GetFileAttributesA(file);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

// A rename to the same name in another case is a no-op on some file
// systems, so it goes through a second name; a failure puts the file back
// under its old spelling, which names the same memo.
void ChangeCase(const char* previous, const char* target)
{
    if (!MoveFileA(previous, kRenameFile)) return;
    if (!MoveFileA(kRenameFile, target)) MoveFileA(kRenameFile, previous);
}

// Replaces the current memo's own file; a change of case only renames it
// afterwards, once the text is safe.
DWORD ReplaceCurrentFile(const char* target, const char* previous)
{
    if (!MoveFileExA(kMemoTempFile, previous, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return GetLastError();
    if (strcmp(previous, target) != 0) ChangeCase(previous, target);
    return ERROR_SUCCESS;
}

// The name was chosen free, so nothing is replaced: should a file of that
// name have appeared meanwhile, the move fails instead of overwriting it.
DWORD MoveToNewName(const char* target, const char* previous)
{
    if (!MoveFileExA(kMemoTempFile, target, MOVEFILE_WRITE_THROUGH)) return GetLastError();
    if (previous) DeleteFileA(previous);
    return ERROR_SUCCESS;
}
}  // namespace

bool FormatMemoFolder(char* out, size_t size)
{
    char dir[kPathSize];
    if (!GetCurrentDirectoryBounded(dir, sizeof(dir))) {
        if (size > 0) out[0] = '\0';
        return false;
    }
    return FormatBounded(out, size, "%s\\%s\\", dir, "memo");
}

bool IsAnsiLeadByte(unsigned char c)
{
    return IsDBCSLeadByte(c) != FALSE;
}

std::string FoldMemoName(const std::string& name)
{
    int length = static_cast<int>(name.size());
    int wideLength = MultiByteToWideChar(CP_ACP, 0, name.data(), length, nullptr, 0);
    if (wideLength <= 0) return name;
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, name.data(), length, &wide[0], wideLength);
    CharUpperBuffW(&wide[0], static_cast<DWORD>(wideLength));
    return std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
}

bool MemoFileExists(const std::string& name)
{
    char file[kPathSize];
    if (!FormatBounded(file, sizeof(file), "%s.txt", name.c_str())) return true;
    return GetFileAttributesA(file) != INVALID_FILE_ATTRIBUTES;
}

DWORD StoreMemo(const char* text, DWORD size, const std::string& name, const std::string& current)
{
    char target[kPathSize];
    if (!FormatBounded(target, sizeof(target), "%s.txt", name.c_str())) return ERROR_FILENAME_EXCED_RANGE;
    char previous[kPathSize];
    bool hasPrevious = !IsReservedMemoName(current) &&
                       FormatBounded(previous, sizeof(previous), "%s.txt", current.c_str());
    // Windows refuses to replace or delete a read-only file; asking first
    // keeps such a memo whole where a system would let it through (Wine run
    // by root), and writes nothing in vain.
    if (hasPrevious && IsReadOnlyFile(previous)) return ERROR_ACCESS_DENIED;
    DWORD error = WriteTempFile(text, size);
    if (error == ERROR_SUCCESS) {
        error = hasPrevious && IsSameMemoName(name, current, FoldMemoName)
                    ? ReplaceCurrentFile(target, previous)
                    : MoveToNewName(target, hasPrevious ? previous : nullptr);
    }
    if (error != ERROR_SUCCESS) DeleteFileA(kMemoTempFile);
    return error;
}
