#pragma once
#include <windows.h>

// The raw target, working folder and description of a link file (260-byte
// buffers, emptied first and left empty on any failure), read without
// resolving it: whether a link is ours does not depend on its target still
// existing.
HRESULT ReadLinkAsStored(const char* linkPath, char* path, char* workingDir, char* description);
