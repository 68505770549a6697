#include "app/globals.h"

#include "app/mainfont.h"

LOGFONTA g_mainFont;
LOGFONTA g_ctrlFont;
const char* g_pszFontFace = kMainFontFace;
int g_nFontHeight = kMainFontHeight;

static char s_startupDir[kPathSize];
char* g_szStartupDir = s_startupDir;
CConfig* g_config = nullptr;
int g_nMessageBoxes = 0;
BOOL g_bStartupLink = FALSE;
