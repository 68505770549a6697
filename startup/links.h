#pragma once
#include <windows.h>

// Shell links in the user's Startup folder (g_szStartupDir): one per memo
// marked "Startup", and the program's own autostart link. A link goes under
// its memo's name, or the program's, or under the first numbered form of
// that name ("todo (2)") that nothing else holds: a file this program did
// not make is never replaced, moved or deleted. A memo's link is known by
// its target and description, whatever it is called.

HRESULT CreateShellLink(const char* linkPath, const char* targetPath, const char* workingDir,
                        const char* description);
// path and description: 260-byte buffers, emptied first and left empty when
// the link cannot be read; the link is resolved first.
HRESULT ReadShellLink(HWND owner, const char* linkFile, char* path, char* description);

// The operations that report return ERROR_SUCCESS or the Win32 error that
// stopped them.

// Called by the save while the memo folder is the current directory. Writes
// the link only when it is missing or differs (a link that is right is read,
// not written again); makes a deleted Startup folder again.
DWORD CreateMemoLink(const char* name);
// Called by the save, from the memo folder, for a memo without a link:
// removes memo `name`'s own link among the files named like it.
void RemoveMemoLink(const char* name);
// Called by the save, from the memo folder, once memo oldName is stored as
// newName: gives the memo's link, if it has one, the new name and target.
// The old link, whose memo file is gone, never stays behind. Having no link
// to move is no error.
DWORD RenameMemoLink(const char* newName, const char* oldName);

// These run from the program's folder. Removes memo `name`'s link whatever
// it is called; also clears g_bStartupLink.
void DeleteMemoLink(const char* name);
// The link that belongs to memo `name`, whatever it is called; its file name
// without ".lnk" goes into linkName (260 bytes).
bool FindMemoLink(HWND owner, const char* name, char* linkName);
// Gives memo `name`'s link, found as linkName, the memo's name (or a
// numbered form of it) when it is called otherwise.
void NameLinkAfterMemo(const char* name, const char* linkName);
// Creates or deletes the program's own autostart link.
DWORD UpdateAutostartLink(HWND owner, bool enabled);
