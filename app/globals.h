#pragma once
#include <windows.h>

class CConfig;

extern LOGFONTA g_mainFont;      // font description of the top-level windows
extern LOGFONTA g_ctrlFont;      // font description of the subclassed controls
extern const char* g_pszFontFace;
extern int g_nFontHeight;

extern char* g_szStartupDir;     // 260 bytes; the Startup folder with its trailing backslash
extern CConfig* g_config;
extern int g_nMessageBoxes;      // message boxes of the program up, nested: the window must not hide
extern BOOL g_bStartupLink;      // the current memo has a link in the Startup folder

constexpr int kPathSize = 260;
constexpr int kMemoNameSize = 512;
