#pragma once
#include <windows.h>

// Shell links in the user's Startup folder (g_szStartupDir): one per memo
// marked "Startup", and the program's own autostart link.

HRESULT CreateShellLink(const char* linkPath, const char* targetPath, const char* workingDir,
                        const char* description);
// path and description: 260-byte buffers, emptied first and left empty when
// the link cannot be read; the link is resolved first.
HRESULT ReadShellLink(HWND owner, const char* linkFile, char* path, char* description);

// The operations that report return ERROR_SUCCESS or the Win32 error that
// stopped them.

// Called by the save while the memo folder is the current directory. Makes
// a deleted Startup folder again; a link that cannot be written but is the
// memo's own already counts as made.
DWORD CreateMemoLink(const char* name);
// Called by the save, from the memo folder, for a memo without a link:
// removes <name>.lnk only when it is memo `name`'s own link, so a link of
// the same name that belongs to something else stays.
void RemoveMemoLink(const char* name);
// Rename and delete act only on a link that this program made; having no
// such link to move is no error.
DWORD RenameMemoLink(const char* newName, const char* oldName);
// Also clears g_bStartupLink.
void DeleteMemoLink(const char* name);

// The link that belongs to memo `name`, whatever it is called; its file name
// without ".lnk" goes into linkName (260 bytes).
bool FindMemoLink(HWND owner, const char* name, char* linkName);
// Creates or deletes the program's own autostart link.
DWORD UpdateAutostartLink(HWND owner, bool enabled);
