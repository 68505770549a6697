#include "startup/links.h"

#include <cstring>

#include "app/bounded.h"
#include "app/curdir.h"
#include "app/globals.h"
#include "startup/linkrules.h"
#include "startup/shelllink.h"

namespace {
// Lists the Startup folder and returns, in linkName (kPathSize), the name
// of the first link whose read-back target and description satisfy
// `matches`. A listing that fails ends the search as if nothing were left.
template <typename Match>
bool FindLinkInStartupDir(HWND owner, Match matches, char* linkName)
{
    ScopedCurrentDirectory inStartup(g_szStartupDir);
    if (!inStartup.ok()) return false;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA("*.lnk", &entry);
    if (find == INVALID_HANDLE_VALUE) return false;
    bool found = false;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        // The listing also matches short names, so "x.lnk2" can turn up.
        if (!LinkNameOfFile(linkName, kPathSize, entry.cFileName)) continue;
        char path[kPathSize];
        char description[kPathSize];
        ReadShellLink(owner, entry.cFileName, path, description);
        found = matches(path, description);
    } while (!found && FindNextFileA(find, &entry));
    FindClose(find);
    if (!found) linkName[0] = '\0';
    return found;
}

bool AnyLinkTargets(HWND owner, const char* target)
{
    char linkName[kPathSize];
    return FindLinkInStartupDir(
        owner, [target](const char* path, const char*) { return strcmp(path, target) == 0; }, linkName);
}

// Only a MossvanePad.lnk that starts this very program is removed: the
// same name may belong to a copy of the program in another folder. A delete
// on a read-only file system can report success under Wine and leave the
// file: what counts is that it is gone.
DWORD DeleteOwnAutostartLink(const char* linkPath, const char* target)
{
    char path[kPathSize];
    char description[kPathSize];
    ReadLinkAsStored(linkPath, path, description);
    if (strcmp(path, target) != 0) return ERROR_SUCCESS;
    if (!DeleteFileA(linkPath)) return GetLastError();
    return GetFileAttributesA(linkPath) == INVALID_FILE_ATTRIBUTES ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

// Links are moved and removed by their memo's name, and the user's own
// links in the Startup folder may carry any name: only a link that this
// program made (it carries our description) is touched.
bool IsMemoLinkFile(const char* linkPath)
{
    char path[kPathSize];
    char description[kPathSize];
    ReadLinkAsStored(linkPath, path, description);
    return strcmp(description, kMemoLinkDescription) == 0;
}

bool IsLinkOfMemo(const char* linkPath, const char* target)
{
    char path[kPathSize];
    char description[kPathSize];
    ReadLinkAsStored(linkPath, path, description);
    return IsMemoLink(description, path, target);
}

// A Startup folder deleted while the program runs is made again, as the
// shell made it at start, so that the link has somewhere to go.
void MakeStartupDirAgain()
{
    if (GetFileAttributesA(g_szStartupDir) == INVALID_FILE_ATTRIBUTES) CreateDirectoryA(g_szStartupDir, nullptr);
}

// The Win32 error inside an HRESULT, for the system's message about it.
DWORD ErrorOfResult(HRESULT hr)
{
    if (SUCCEEDED(hr)) return ERROR_SUCCESS;
    if (HRESULT_FACILITY(hr) == FACILITY_WIN32) return HRESULT_CODE(hr);
    return static_cast<DWORD>(hr);
}
}  // namespace

DWORD CreateMemoLink(const char* name)
{
    char memoDir[kPathSize];
    char linkPath[kPathSize];
    char target[kPathSize];
    if (!GetCurrentDirectoryBounded(memoDir, sizeof(memoDir)) ||
        !FormatLinkPath(linkPath, sizeof(linkPath), g_szStartupDir, name) ||
        !FormatMemoTarget(target, sizeof(target), memoDir, name))
        return ERROR_FILENAME_EXCED_RANGE;
    MakeStartupDirAgain();
    HRESULT hr = CreateShellLink(linkPath, target, memoDir, kMemoLinkDescription);
    // A folder that cannot be written still serves while the memo's link is in it.
    if (FAILED(hr) && IsLinkOfMemo(linkPath, target)) return ERROR_SUCCESS;
    return ErrorOfResult(hr);
}

DWORD RenameMemoLink(const char* newName, const char* oldName)
{
    char from[kPathSize];
    char to[kPathSize];
    if (!FormatLinkPath(from, sizeof(from), g_szStartupDir, oldName) || !IsMemoLinkFile(from)) return ERROR_SUCCESS;
    if (!FormatLinkPath(to, sizeof(to), g_szStartupDir, newName)) return ERROR_FILENAME_EXCED_RANGE;
    return MoveFileA(from, to) ? ERROR_SUCCESS : GetLastError();
}

void DeleteMemoLink(const char* name)
{
    char linkPath[kPathSize];
    if (FormatLinkPath(linkPath, sizeof(linkPath), g_szStartupDir, name) && IsMemoLinkFile(linkPath))
        DeleteFileA(linkPath);
    g_bStartupLink = FALSE;
}

void RemoveMemoLink(const char* name)
{
    char memoDir[kPathSize];
    char linkPath[kPathSize];
    char target[kPathSize];
    if (!GetCurrentDirectoryBounded(memoDir, sizeof(memoDir))) return;
    if (!FormatLinkPath(linkPath, sizeof(linkPath), g_szStartupDir, name)) return;
    if (!FormatMemoTarget(target, sizeof(target), memoDir, name)) return;
    // Runs at every save of an unmarked memo: COM only when there is a file.
    if (GetFileAttributesA(linkPath) == INVALID_FILE_ATTRIBUTES) return;
    if (IsLinkOfMemo(linkPath, target)) DeleteFileA(linkPath);
}

bool FindMemoLink(HWND owner, const char* name, char* linkName)
{
    linkName[0] = '\0';
    char appDir[kPathSize];
    char memoDir[kPathSize];
    char target[kPathSize];
    if (!g_szStartupDir[0] || !GetCurrentDirectoryBounded(appDir, sizeof(appDir))) return false;
    if (!FormatBounded(memoDir, sizeof(memoDir), "%s\\memo", appDir)) return false;
    if (!FormatMemoTarget(target, sizeof(target), memoDir, name)) return false;
    return FindLinkInStartupDir(
        owner,
        [&target](const char* path, const char* description) { return IsMemoLink(description, path, target); },
        linkName);
}

// A link that cannot be named cannot be there either: only making one fails.
DWORD UpdateAutostartLink(HWND owner, bool enabled)
{
    char appDir[kPathSize];
    char target[kPathSize];
    char linkPath[kPathSize];
    if (!GetCurrentDirectoryBounded(appDir, sizeof(appDir)) ||
        !FormatProgramTarget(target, sizeof(target), appDir) ||
        !FormatLinkPath(linkPath, sizeof(linkPath), g_szStartupDir, kAutostartLinkName))
        return enabled ? ERROR_FILENAME_EXCED_RANGE : ERROR_SUCCESS;
    if (!enabled) return DeleteOwnAutostartLink(linkPath, target);
    if (AnyLinkTargets(owner, target)) return ERROR_SUCCESS;
    MakeStartupDirAgain();
    return ErrorOfResult(CreateShellLink(linkPath, target, appDir, nullptr));
}
