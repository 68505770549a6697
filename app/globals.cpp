#include "app/globals.h"

LOGFONTA g_mainFont;
LOGFONTA g_ctrlFont;
const char* g_pszFontFace = "メイリオ";
int g_nFontHeight = 21;

static char s_startupDir[kPathSize];
char* g_szStartupDir = s_startupDir;
CConfig* g_config = nullptr;
BOOL g_bMessageBox = FALSE;
BOOL g_bStartupLink = FALSE;
