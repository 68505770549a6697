#include "mainwnd/mainwnd.h"

#include <new>

#include "app/config.h"
#include "app/dpi.h"
#include "app/dpiscale.h"
#include "app/globals.h"
#include "app/messages.h"
#include "controls/buttonwnd.h"
#include "controls/pinwnd.h"
#include "controls/settingwnd.h"
#include "memo/filelist.h"
#include "memo/notepadwnd.h"
#include "memo/searchwnd.h"
#include "startup/startupdir.h"

namespace {
int SystemMajorVersion()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!GetVersionExA(&version)) return 0;
    return static_cast<int>(version.dwMajorVersion);
}

void ChooseSystemDefaults()
{
    int major = SystemMajorVersion();
    if (major == 5) {
        g_pszFontFace = "ＭＳ Ｐゴシック";
        g_nFontHeight = 18;
    }
    InitStartupDir(major);
}
}  // namespace

CMainWnd::CMainWnd()
    : m_pNotepad(new (std::nothrow) CNotepadWnd),
      m_pButtons(new (std::nothrow) CButtonWnd[4]),
      m_pFileList(new (std::nothrow) CFileList),
      m_pPin(new (std::nothrow) CPinWnd),
      m_pSetting(new (std::nothrow) CSettingWnd),
      m_pSearch(new (std::nothrow) CSearchWnd)
{
    g_config = new (std::nothrow) CConfig;
    ChooseSystemDefaults();
    m_startLook.Start();
}

CMainWnd::~CMainWnd()
{
    delete m_pNotepad;
    delete[] m_pButtons;
    delete m_pFileList;
    delete m_pPin;
    delete m_pSetting;
    delete m_pSearch;
    delete g_config;
    g_config = nullptr;
    for (HICON icon : m_hIcons) {
        if (icon) DestroyIcon(icon);
    }
    for (HICON icon : m_hClassIcons) {
        if (icon) DestroyIcon(icon);
    }
}

bool CMainWnd::IsValid() const
{
    return m_pNotepad && m_pNotepad->IsValid() && m_pButtons && m_pFileList && m_pPin && m_pSetting &&
           m_pSetting->IsValid() && m_pSearch && g_config && g_config->IsValid();
}

LRESULT CMainWnd::HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == m_uTaskbarCreated && msg != 0) return OnTaskbarCreated(hWnd);
    switch (msg) {
    case WM_CREATE:          return OnCreate(hWnd, reinterpret_cast<CREATESTRUCTA*>(lParam));
    case WM_DESTROY:         return OnDestroy(hWnd);
    case WM_ACTIVATE:        return OnActivate(hWnd, LOWORD(wParam));
    case WM_ACTIVATEAPP:     return OnActivateApp(hWnd, static_cast<BOOL>(wParam));
    case WM_NCACTIVATE:      return OnNcActivate(hWnd, wParam, lParam);
    case WM_COMMAND:         return OnCommand(hWnd, msg, wParam, lParam);
    case WM_CLOSE:           EndProgram(hWnd); return 0;
    case WM_PARENTNOTIFY:    return OnParentNotify(hWnd, LOWORD(wParam));
    case WM_QUERYENDSESSION: return OnQueryEndSession(hWnd, msg, wParam, lParam);
    case WM_ENDSESSION:      return OnEndSession(hWnd, static_cast<BOOL>(wParam));
    case WM_SHOWMEMO:        return OnShowMemo(hWnd, wParam, lParam);
    case WM_DPICHANGED:      return OnDpiChanged(hWnd, wParam, reinterpret_cast<const RECT*>(lParam));
    case WM_EDITMOUSE:       return OnEditMouse(wParam, lParam);
    case WM_MEMOMOVED:       return OnMemoMoved();
    case WM_SETTINGDONE:     return OnSettingDone(hWnd, wParam, lParam);
    case WM_SEARCHOPEN:      return OnSearchOpen(hWnd, reinterpret_cast<const SearchHit*>(lParam));
    case WM_SEARCHDONE:      return OnSearchDone(hWnd);
    case WM_MEMOFILLED:      return OnMemoFilled();
    case WM_TRAYNOTIFY:      return OnTrayNotify(hWnd, lParam);
    case WM_NOTIFY:          return OnNotify(hWnd, reinterpret_cast<const NMHDR*>(lParam), lParam);
    case WM_STARTED:
        AddTrayIcon(hWnd, InstanceOf(hWnd));
        // Told of only when the user changes the setting; at start the link
        // is simply tried again.
        UpdateAutostartLink(g_config->Startup);
        CreateTooltip(hWnd);
        return 0;
    case WM_SETCURSOR:
        if (!m_pNotepad->IsFilling()) break;
        // The window works, and a memo is still on its way in. The editor,
        // which brings up the button bar, is hidden meanwhile.
        ShowButtons(SW_SHOW);
        SetCursor(LoadCursorA(nullptr, IDC_APPSTARTING));
        return TRUE;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

RECT OuterWindowRect(int width, int height, int dpi)
{
    return OuterRectForDpi(ScaleForDpi(width, dpi), ScaleForDpi(height, dpi), WS_VISIBLE | WS_CAPTION, 0, dpi);
}
