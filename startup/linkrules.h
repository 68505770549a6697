#pragma once
// Names and targets of the Startup-folder links, and which link belongs to
// which memo. No windows.h here: plain rules.
#include <cstddef>

// The description that marks a memo's link as one of ours.
extern const char kMemoLinkDescription[];
// The fixed name of the program's own autostart link, without ".lnk".
extern const char kAutostartLinkName[];

// <startupDir><name>.lnk. False (out empty) when it would not fit, or when
// startupDir is empty: without a Startup folder there is no link to make.
bool FormatLinkPath(char* out, size_t size, const char* startupDir, const char* name);

// The link file numbered `number` for `name`: <startupDir><name>.lnk for 1,
// <startupDir><name> (2).lnk for 2 and so on, numbered as memo files are.
// A link goes under the first of these that nothing else holds.
bool FormatNumberedLinkPath(char* out, size_t size, const char* startupDir, const char* name, int number);

// Whether a link's name (without ".lnk") is one of the numbered names of
// `name`.
bool IsNumberedLinkName(const char* linkName, const char* name);

// <memoDir>\<name>.txt: the target of memo `name`'s link.
bool FormatMemoTarget(char* out, size_t size, const char* memoDir, const char* name);

// <folder>MossvanePad.exe: the target of the autostart link for a program
// started in folder, given with its trailing backslash.
bool FormatProgramTarget(char* out, size_t size, const char* folder);

// The link's name: its file name without the ".lnk" ending (any case).
// False (out empty) when the file name has no such ending or does not fit.
bool LinkNameOfFile(char* out, size_t size, const char* fileName);

// A link belongs to a memo when its description is exactly ours and its raw
// target is exactly the memo's file; the link file's own name plays no part.
bool IsMemoLink(const char* description, const char* target, const char* memoTarget);
