#include "memo/memofiles.h"

#include <shellapi.h>

#include <cstring>

#include "app/bounded.h"
#include "app/curdir.h"
#include "app/globals.h"
#include "app/msgbox.h"
#include "app/scopedhandles.h"
#include "memo/memoname.h"
#include "memo/title.h"

const char kMemoTempFile[] = "~memosave.tmp";
const char kLeftoverPattern[] = "~memo*";
const DWORD kLargestMemo = 256u * 1024 * 1024;

namespace {
// Holds a memo only for the moment its name changes case.
const char kRenameFile[] = "~memorename.tmp";

DWORD WriteAndFlush(const char* file, const char* data, DWORD size)
{
    HANDLE hFile = CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return GetLastError();
    DWORD error = ERROR_SUCCESS;
    DWORD written = 0;
    if (!WriteFile(hFile, data, size, &written, nullptr)) {
        error = GetLastError();
    } else if (written != size) {
        error = ERROR_DISK_FULL;
    } else if (!FlushFileBuffers(hFile)) {
        error = GetLastError();
    }
    if (!CloseHandle(hFile) && error == ERROR_SUCCESS) error = GetLastError();
    return error;
}

bool IsReadOnlyFile(const char* file)
{
    DWORD attributes = GetFileAttributesA(file);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

// Whether the folder lists the file under exactly this spelling.
bool IsListedAs(const char* file)
{
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA(file, &entry);
    if (find == INVALID_HANDLE_VALUE) return false;
    FindClose(find);
    return strcmp(entry.cFileName, file) == 0;
}

// Most file systems change the case of a name in place; where the name
// stays as it was, the file goes through a second name. A failure puts it
// back under its old spelling, which names the same memo; should even that
// fail, the next start brings it back from the second name
// (BringBackRenamedMemo). Either way the failure is told.
DWORD ChangeCase(const char* previous, const char* target)
{
    if (MoveFileA(previous, target) && IsListedAs(target)) return ERROR_SUCCESS;
    if (!MoveFileA(previous, kRenameFile)) return GetLastError();
    if (MoveFileA(kRenameFile, target)) return ERROR_SUCCESS;
    DWORD error = GetLastError();
    MoveFileA(kRenameFile, previous);
    return error;
}

// Replaces the current memo's own file; a change of case only renames it
// afterwards, once the text is safe.
DWORD ReplaceCurrentFile(const char* target, const char* previous)
{
    if (!MoveFileExA(kMemoTempFile, previous, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return GetLastError();
    if (strcmp(previous, target) != 0) return ChangeCase(previous, target);
    return ERROR_SUCCESS;
}

// The name was chosen free, so nothing is replaced: should a file of that
// name have appeared meanwhile, the move fails instead of overwriting it. An
// old file already gone is no failure.
DWORD MoveToNewName(const char* target, const char* previous)
{
    if (!MoveFileExA(kMemoTempFile, target, MOVEFILE_WRITE_THROUGH)) return GetLastError();
    if (!previous || DeleteFileA(previous)) return ERROR_SUCCESS;
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return ERROR_SUCCESS;
    DeleteFileA(target);
    return error;
}
}  // namespace

bool FormatMemoFolder(char* out, size_t size)
{
    char folder[kPathSize];
    if (!GetCurrentFolderPath(folder, sizeof(folder))) {
        if (size > 0) out[0] = '\0';
        return false;
    }
    return FormatBounded(out, size, "%smemo\\", folder);
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
    if (!FormatMemoFileName(file, sizeof(file), name)) return true;
    return GetFileAttributesA(file) != INVALID_FILE_ATTRIBUTES;
}

namespace {
MemoStamp StampOf(DWORD sizeHigh, DWORD sizeLow, const FILETIME& written)
{
    MemoStamp stamp;
    stamp.present = true;
    stamp.size = (static_cast<uint64_t>(sizeHigh) << 32) | sizeLow;
    stamp.writeTime = (static_cast<uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
    return stamp;
}
}  // namespace

MemoStamp StampOfFile(const char* file)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(file, GetFileExInfoStandard, &data)) return {};
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return {};
    return StampOf(data.nFileSizeHigh, data.nFileSizeLow, data.ftLastWriteTime);
}

MemoStamp StampOfOpenFile(HANDLE hFile)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(hFile, &info)) return {};
    return StampOf(info.nFileSizeHigh, info.nFileSizeLow, info.ftLastWriteTime);
}

DWORD WriteFileThrough(const char* temp, const char* target, const char* data, DWORD size, bool replace)
{
    DWORD error = WriteAndFlush(temp, data, size);
    if (error == ERROR_SUCCESS &&
        !MoveFileExA(temp, target, MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0))) {
        error = GetLastError();
    }
    if (error != ERROR_SUCCESS) DeleteFileA(temp);
    return error;
}

bool IsListedMemo(const WIN32_FIND_DATAA& entry)
{
    const DWORD unlisted = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return !(entry.dwFileAttributes & unlisted) && IsMemoFileName(entry.cFileName);
}

bool FindListedMemo(const char* pattern, char* listed)
{
    WIN32_FIND_DATAA entry;
    ScopedFind find(pattern, entry);
    for (bool more = find.ok(); more; more = find.Next(entry)) {
        if (!IsListedMemo(entry)) continue;
        if (listed) CopyBounded(listed, kPathSize, entry.cFileName);
        return true;
    }
    return false;
}

DWORD ReadWholeFile(const char* file, std::string& out, DWORD limit)
{
    out.clear();
    HANDLE hFile = CreateFileA(file, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                               nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return GetLastError();
    DWORD high = 0;
    DWORD size = GetFileSize(hFile, &high);
    DWORD error = ERROR_SUCCESS;
    if (size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
        error = GetLastError();
    } else if (high != 0 || size > limit) {
        error = ERROR_FILE_TOO_LARGE;
    } else {
        out.resize(size);
        DWORD read = 0;
        if (size > 0 && !ReadFile(hFile, &out[0], size, &read, nullptr)) error = GetLastError();
        out.resize(read);
    }
    CloseHandle(hFile);
    return error;
}

std::string FindMemoHolding(const std::string& text, const std::string& preferred)
{
    char file[kPathSize];
    std::string content;
    if (FormatMemoFileName(file, sizeof(file), preferred) && IsListedAs(file) &&
        ReadWholeFile(file, content, kLargestMemo) == ERROR_SUCCESS && content == text)
        return file;
    WIN32_FIND_DATAA entry;
    ScopedFind find(kMemoFilePattern, entry);
    for (bool more = find.ok(); more; more = find.Next(entry)) {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || entry.nFileSizeHigh != 0 ||
            entry.nFileSizeLow != text.size() || !IsMemoFileName(entry.cFileName))
            continue;
        if (ReadWholeFile(entry.cFileName, content, entry.nFileSizeLow) == ERROR_SUCCESS && content == text)
            return entry.cFileName;
    }
    return "";
}

bool CanRecycle(const char* path)
{
    if (path[0] == '\0' || path[1] != ':') return false;  // a network path, \\server\share
    const char root[] = {path[0], ':', '\\', '\0'};
    if (GetDriveTypeA(root) != DRIVE_FIXED) return false;
    // Asks the Recycle Bin of the file's drive: it fails where there is none.
    SHQUERYRBINFO info = {};
    info.cbSize = sizeof(info);
    return SUCCEEDED(SHQueryRecycleBinA(path, &info));
}

namespace {
// Whether the file could be deleted now: a program that holds it open
// without letting others delete it makes this fail, with the reason.
DWORD CheckDeletable(const char* path)
{
    HANDLE hFile = CreateFileA(path, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return GetLastError();
    CloseHandle(hFile);
    return ERROR_SUCCESS;
}
}  // namespace

DWORD RemoveMemoFile(const char* path, bool forGood)
{
    // The list of files ends with an empty name.
    char from[kPathSize + 1] = {};
    if (!CopyBounded(from, kPathSize, path)) return ERROR_FILENAME_EXCED_RANGE;
    // A file in use is told of as such, before the shell takes it for one
    // that its Recycle Bin refuses.
    DWORD error = CheckDeletable(path);
    if (error != ERROR_SUCCESS) return error;
    SHFILEOPSTRUCTA operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from;
    // Should the Recycle Bin turn the file away after all, the shell asks
    // before it deletes for good.
    operation.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    if (!forGood) operation.fFlags |= FOF_ALLOWUNDO | FOF_WANTNUKEWARNING;
    {
        // That question is a box of its own, with a message loop behind it.
        ScopedBoxUp up;
        SHFileOperationA(&operation);
    }
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) return ERROR_SUCCESS;
    if (operation.fAnyOperationsAborted) return ERROR_CANCELLED;
    error = CheckDeletable(path);
    return error != ERROR_SUCCESS ? error : ERROR_ACCESS_DENIED;
}

DWORD BringBackRenamedMemo()
{
    if (GetFileAttributesA(kRenameFile) == INVALID_FILE_ATTRIBUTES) return ERROR_SUCCESS;
    std::string text;
    DWORD error = ReadWholeFile(kRenameFile, text, kLargestMemo);
    if (error != ERROR_SUCCESS) return error;
    std::optional<std::string> name =
        ChooseMemoName(DeriveTitle(text.c_str(), IsAnsiLeadByte), kNoMemoName, MemoFileExists, FoldMemoName);
    char file[kPathSize];
    if (!name || !FormatMemoFileName(file, sizeof(file), *name)) return ERROR_FILE_EXISTS;
    return MoveFileA(kRenameFile, file) ? ERROR_SUCCESS : GetLastError();
}

DWORD StoreMemo(const char* text, DWORD size, const std::string& name, const std::string& current)
{
    char target[kPathSize];
    if (!FormatMemoFileName(target, sizeof(target), name)) return ERROR_FILENAME_EXCED_RANGE;
    char previous[kPathSize];
    bool hasPrevious = FormatMemoFileName(previous, sizeof(previous), current);
    // Windows refuses to replace or delete a read-only file; asking first
    // keeps such a memo whole where a system would let it through (Wine run
    // by root), and writes nothing in vain.
    if (hasPrevious && IsReadOnlyFile(previous)) return ERROR_ACCESS_DENIED;
    DWORD error = WriteAndFlush(kMemoTempFile, text, size);
    if (error == ERROR_SUCCESS) {
        error = hasPrevious && IsSameMemoName(name, current, FoldMemoName)
                    ? ReplaceCurrentFile(target, previous)
                    : MoveToNewName(target, hasPrevious ? previous : nullptr);
    }
    if (error != ERROR_SUCCESS) DeleteFileA(kMemoTempFile);
    return error;
}
