#include "startup/links.h"

#include <cstring>

#include "app/bounded.h"
#include "app/curdir.h"
#include "app/globals.h"
#include "app/scopedhandles.h"
#include "memo/memoname.h"
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
    ScopedFind find("*.lnk", entry);
    if (!find.ok()) return false;
    bool found = false;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        // The listing also matches short names, so "x.lnk2" can turn up.
        if (!LinkNameOfFile(linkName, kPathSize, entry.cFileName)) continue;
        char path[kPathSize];
        char description[kPathSize];
        ReadShellLink(owner, entry.cFileName, path, description);
        found = matches(path, description);
    } while (!found && find.Next(entry));
    if (!found) linkName[0] = '\0';
    return found;
}

bool AnyLinkTargets(HWND owner, const char* target)
{
    char linkName[kPathSize];
    return FindLinkInStartupDir(
        owner, [target](const char* path, const char*) { return strcmp(path, target) == 0; }, linkName);
}

// What a link file is, read as stored (a link is never resolved here: that
// could point it at another file).
struct StoredLink {
    char path[kPathSize];
    char workingDir[kPathSize];
    char description[kPathSize];
};

// Calls visit(linkPath, name, link) for each link of the Startup folder
// whose file name matches `pattern` (relative to the folder), until visit
// returns true. A listing that fails ends it as if nothing were left.
template <typename Visit>
void VisitStartupLinks(const char* pattern, Visit visit)
{
    char search[kPathSize];
    if (!g_szStartupDir[0] || !FormatBounded(search, sizeof(search), "%s%s", g_szStartupDir, pattern)) return;
    WIN32_FIND_DATAA entry;
    ScopedFind find(search, entry);
    if (!find.ok()) return;
    bool done = false;
    do {
        char name[kPathSize];
        char linkPath[kPathSize];
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (!LinkNameOfFile(name, sizeof(name), entry.cFileName)) continue;
        if (!FormatBounded(linkPath, sizeof(linkPath), "%s%s", g_szStartupDir, entry.cFileName)) continue;
        StoredLink link;
        ReadLinkAsStored(linkPath, link.path, link.workingDir, link.description);
        done = visit(linkPath, name, link);
    } while (!done && find.Next(entry));
}

// A delete on a read-only file system can report success under Wine and
// leave the file: what counts is that it is gone.
DWORD DeleteLinkFile(const char* linkPath)
{
    if (!DeleteFileA(linkPath)) return GetLastError();
    return GetFileAttributesA(linkPath) == INVALID_FILE_ATTRIBUTES ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

// Only a link that starts this very program under the fixed name or one of
// its numbered names is removed: the same names may belong to a copy of the
// program in another folder, and a link of the user's own naming stays.
DWORD DeleteOwnAutostartLinks(const char* target)
{
    char pattern[kPathSize];
    if (!FormatBounded(pattern, sizeof(pattern), "%s*.lnk", kAutostartLinkName)) return ERROR_SUCCESS;
    DWORD error = ERROR_SUCCESS;
    VisitStartupLinks(pattern, [&](const char* linkPath, const char* name, const StoredLink& link) {
        if (strcmp(link.path, target) != 0 || !IsNumberedLinkName(name, kAutostartLinkName)) return false;
        DWORD deleted = DeleteLinkFile(linkPath);
        if (error == ERROR_SUCCESS) error = deleted;
        return false;
    });
    return error;
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

// The link a memo should have: its file as target, the memo folder as
// working folder, our description.
struct MemoLink {
    char target[kPathSize];
    char workingDir[kPathSize];
};

bool FormMemoLink(const char* memoDir, const char* name, MemoLink& link)
{
    return CopyBounded(link.workingDir, sizeof(link.workingDir), memoDir) &&
           FormatMemoTarget(link.target, sizeof(link.target), memoDir, name);
}

// memoDir is the current directory: the memo folder, during a save.
bool FormMemoLinkHere(const char* name, MemoLink& link)
{
    char memoDir[kPathSize];
    return GetCurrentDirectoryBounded(memoDir, sizeof(memoDir)) && FormMemoLink(memoDir, name, link);
}

// memoDir is the memo folder of the current directory, the program's.
bool FormMemoLinkFromAppDir(const char* name, MemoLink& link)
{
    char appFolder[kPathSize];
    char memoDir[kPathSize];
    return GetCurrentFolderPath(appFolder, sizeof(appFolder)) &&
           FormatBounded(memoDir, sizeof(memoDir), "%smemo", appFolder) && FormMemoLink(memoDir, name, link);
}

bool IsLinkOfMemo(const StoredLink& stored, const MemoLink& link)
{
    return IsMemoLink(stored.description, stored.path, link.target);
}

enum class LinkSlot {
    Free,      // no file of that name
    Own,       // the memo's link, as it should be
    OwnStale,  // the memo's link, with another working folder
    Reused,    // the link being renamed, under this name in another case
};

// Whether two names of the Startup folder name the same file, as the file
// system compares names.
bool NameSameFile(const char* a, const char* b)
{
    WIN32_FIND_DATAA first;
    WIN32_FIND_DATAA second;
    return ScopedFind(a, first).ok() && ScopedFind(b, second).ok() && strcmp(first.cFileName, second.cFileName) == 0;
}

// Where memo `name`'s link is or goes: the first of its numbered names that
// is free or holds the memo's own link; any other file of such a name is
// someone else's and stays. `renamed`, when given, is the memo's link under
// its previous name, which the new name may reuse. False when no name is left.
bool ChooseMemoLinkPath(const char* name, const MemoLink& link, const char* renamed, char* out, LinkSlot& slot)
{
    for (int number = 1; number <= kLastMemoNumber; ++number) {
        if (!FormatNumberedLinkPath(out, kPathSize, g_szStartupDir, name, number)) return false;
        if (GetFileAttributesA(out) == INVALID_FILE_ATTRIBUTES) {
            slot = LinkSlot::Free;
            return true;
        }
        if (renamed && NameSameFile(out, renamed)) {
            slot = LinkSlot::Reused;
            return true;
        }
        StoredLink stored;
        ReadLinkAsStored(out, stored.path, stored.workingDir, stored.description);
        if (!IsLinkOfMemo(stored, link)) continue;
        slot = strcmp(stored.workingDir, link.workingDir) == 0 ? LinkSlot::Own : LinkSlot::OwnStale;
        return true;
    }
    return false;
}

DWORD WriteMemoLink(const char* linkPath, const MemoLink& link)
{
    MakeStartupDirAgain();
    return ErrorOfResult(CreateShellLink(linkPath, link.target, link.workingDir, kMemoLinkDescription));
}

// The memo's link among the files named like the memo, into linkPath.
bool FindLinkNamedLikeMemo(const char* name, const MemoLink& link, char* linkPath)
{
    char pattern[kPathSize];
    if (!FormatBounded(pattern, sizeof(pattern), "%s*.lnk", name)) return false;
    bool found = false;
    VisitStartupLinks(pattern, [&](const char* path, const char*, const StoredLink& stored) {
        found = IsLinkOfMemo(stored, link) && CopyBounded(linkPath, kPathSize, path);
        return found;
    });
    return found;
}

// Removes every link of the memo among the files matching `pattern`.
void DeleteLinksOfMemo(const char* pattern, const MemoLink& link)
{
    VisitStartupLinks(pattern, [&](const char* path, const char*, const StoredLink& stored) {
        if (IsLinkOfMemo(stored, link)) DeleteFileA(path);
        return false;
    });
}
}  // namespace

DWORD CreateMemoLink(const char* name)
{
    MemoLink link;
    char linkPath[kPathSize];
    LinkSlot slot = LinkSlot::Free;
    if (!FormMemoLinkHere(name, link) || !FormatLinkPath(linkPath, sizeof(linkPath), g_szStartupDir, name))
        return ERROR_FILENAME_EXCED_RANGE;
    if (!ChooseMemoLinkPath(name, link, nullptr, linkPath, slot)) return ERROR_FILE_EXISTS;
    if (slot == LinkSlot::Own) return ERROR_SUCCESS;
    return WriteMemoLink(linkPath, link);
}

// The new link is made before the old one goes, and the old one goes
// either way: its memo file is no longer there.
DWORD RenameMemoLink(const char* newName, const char* oldName)
{
    MemoLink from;
    MemoLink to;
    char oldPath[kPathSize];
    if (!FormMemoLinkHere(oldName, from) || !FindLinkNamedLikeMemo(oldName, from, oldPath)) return ERROR_SUCCESS;
    char newPath[kPathSize];
    LinkSlot slot = LinkSlot::Free;
    DWORD error = ERROR_FILE_EXISTS;
    if (!FormMemoLinkHere(newName, to)) {
        error = ERROR_FILENAME_EXCED_RANGE;
    } else if (ChooseMemoLinkPath(newName, to, oldPath, newPath, slot)) {
        error = slot == LinkSlot::Own ? ERROR_SUCCESS : WriteMemoLink(newPath, to);
    }
    if (error != ERROR_SUCCESS || slot != LinkSlot::Reused) DeleteFileA(oldPath);
    return error;
}

void DeleteMemoLink(const char* name)
{
    MemoLink link;
    if (FormMemoLinkFromAppDir(name, link)) DeleteLinksOfMemo("*.lnk", link);
    g_bStartupLink = FALSE;
}

// Runs at every save of an unmarked memo: only files named like the memo are
// read.
void RemoveMemoLink(const char* name)
{
    MemoLink link;
    char pattern[kPathSize];
    if (FormMemoLinkHere(name, link) && FormatBounded(pattern, sizeof(pattern), "%s*.lnk", name))
        DeleteLinksOfMemo(pattern, link);
}

bool FindMemoLink(HWND owner, const char* name, char* linkName)
{
    linkName[0] = '\0';
    MemoLink link;
    if (!g_szStartupDir[0] || !FormMemoLinkFromAppDir(name, link)) return false;
    return FindLinkInStartupDir(
        owner,
        [&link](const char* path, const char* description) { return IsMemoLink(description, path, link.target); },
        linkName);
}

void NameLinkAfterMemo(const char* name, const char* linkName)
{
    if (IsNumberedLinkName(linkName, name)) return;
    MemoLink link;
    char from[kPathSize];
    char to[kPathSize];
    LinkSlot slot = LinkSlot::Free;
    if (!FormMemoLinkFromAppDir(name, link) || !FormatLinkPath(from, sizeof(from), g_szStartupDir, linkName)) return;
    if (!ChooseMemoLinkPath(name, link, from, to, slot) || slot != LinkSlot::Free) return;
    MoveFileA(from, to);
}

// A link that cannot be named cannot be there either: only making one fails.
DWORD UpdateAutostartLink(HWND owner, bool enabled)
{
    char appDir[kPathSize];
    char appFolder[kPathSize];
    char target[kPathSize];
    char linkPath[kPathSize];
    if (!GetCurrentDirectoryBounded(appDir, sizeof(appDir)) || !GetCurrentFolderPath(appFolder, sizeof(appFolder)) ||
        !FormatProgramTarget(target, sizeof(target), appFolder) ||
        !FormatLinkPath(linkPath, sizeof(linkPath), g_szStartupDir, kAutostartLinkName))
        return enabled ? ERROR_FILENAME_EXCED_RANGE : ERROR_SUCCESS;
    if (!enabled) return DeleteOwnAutostartLinks(target);
    if (AnyLinkTargets(owner, target)) return ERROR_SUCCESS;
    // None of them starts this program, so any file of a numbered name is
    // another's.
    for (int number = 1; number <= kLastMemoNumber; ++number) {
        if (!FormatNumberedLinkPath(linkPath, sizeof(linkPath), g_szStartupDir, kAutostartLinkName, number)) break;
        if (GetFileAttributesA(linkPath) != INVALID_FILE_ATTRIBUTES) continue;
        MakeStartupDirAgain();
        return ErrorOfResult(CreateShellLink(linkPath, target, appDir, nullptr));
    }
    return ERROR_FILE_EXISTS;
}
