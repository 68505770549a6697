#pragma once

// Whether dir holds a sub-folder named exactly "memo" (case-sensitive).
bool HasMemoFolder(const char* dir);
