#pragma once
#include <windows.h>

// Exports of MossvaneHook.dll, imported by their decorated names.
void WINAPI sethook();
void WINAPI freehook();
