#include "app/config.h"
#include "controls/settingwnd.h"
#include "mainwnd/mainwnd.h"

// Without a settings window there is nothing to wait for, so the memo
// window does not start staying up.
void CMainWnd::ShowSettingWnd()
{
    if (!m_pSetting->m_hWnd) return;
    m_bSettingOpen = TRUE;
    CenterSettingWndOnMain();
    ShowWindow(m_pSetting->m_hWnd, SW_SHOW);
}

// The settings window has stored its values in g_config already.
LRESULT CMainWnd::OnSettingDone(HWND hWnd, LPARAM alpha)
{
    m_bSettingOpen = FALSE;
    Resize(g_config->Width, g_config->Height);
    SetLayeredWindowAttributes(hWnd, 0, static_cast<BYTE>(alpha & 0xFF), LWA_ALPHA);
    UpdateAutostartLink(g_config->Startup);
    return 0;
}
