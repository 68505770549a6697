#include "app/config.h"
#include "app/dpiscale.h"
#include "controls/settingwnd.h"
#include "mainwnd/layout.h"
#include "mainwnd/mainwnd.h"
#include "memo/notepadwnd.h"
#include "memo/syserror.h"

namespace {
const char kAutostartOnCaption[] = "スタートアップへの登録に失敗しました";
const char kAutostartOffCaption[] = "スタートアップからの削除に失敗しました";
}  // namespace

// Made when first opened, and kept. Without a settings window there is
// nothing to wait for, so the memo window does not start staying up.
void CMainWnd::ShowSettingWnd()
{
    CreateSettingWnd(m_hWnd, InstanceOf(m_hWnd));
    if (!m_pSetting->m_hWnd) return;
    m_bSettingOpen = TRUE;
    // It opens over the memo window, on that window's monitor.
    if (m_pSetting->m_nDpi != m_nDpi) {
        m_pSetting->ApplyDpi(m_nDpi);
        SetWindowPos(m_pSetting->m_hWnd, nullptr, 0, 0, ScaleForDpi(kSettingWndWidth, m_nDpi),
                     ScaleForDpi(kSettingWndHeight, m_nDpi), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    CenterSettingWndOnMain();
    ShowWindow(m_pSetting->m_hWnd, SW_SHOW);
}

// The settings window has stored its values in g_config already, unless it
// was closed without Done: then nothing changed. The new shortcut needs
// nothing here: every key is compared with g_config's. The activation is
// taken back last, since moving the settings window along activates it.
LRESULT CMainWnd::OnSettingDone(HWND hWnd, WPARAM closed, LPARAM alpha)
{
    m_bSettingOpen = FALSE;
    if (!closed) {
        Resize(g_config->Width, g_config->Height);
        SetLayeredWindowAttributes(hWnd, 0, static_cast<BYTE>(alpha & 0xFF), LWA_ALPHA);
        ApplyAutostartSetting();
    }
    TakeBackActivation(hWnd);
    return 0;
}

// However the settings window goes, the memo window is the active one
// again, so that the next click elsewhere hides it and stores the memo; on
// its own, the settings window's hide hands the activation to whatever
// window the system picks. If the user has gone on in another program
// meanwhile (no window of this thread is active), the memo window hides
// now, as that program's activation would have made it. The thread's active
// window tells, not the foreground: a window of the system's own, such as
// Wine's stand-alone tray, may hold the foreground without the user.
void CMainWnd::TakeBackActivation(HWND hWnd)
{
    HWND active = GetActiveWindow();
    if (!active) {
        OnActivate(hWnd, WA_INACTIVE);
        return;
    }
    if (active == hWnd && GetForegroundWindow() == hWnd) return;
    SetForegroundWindow(hWnd);
    SetFocus(m_pNotepad->m_hWnd);
}

// A link that could not be made or removed is told of, and the setting and
// its box go back to what the Startup folder holds.
void CMainWnd::ApplyAutostartSetting()
{
    bool enabled = g_config->Startup;
    DWORD error = UpdateAutostartLink(enabled);
    if (error == ERROR_SUCCESS) return;
    g_config->Startup = !enabled;
    SendMessageA(m_pSetting->m_hAutoStart, BM_SETCHECK, enabled ? BST_UNCHECKED : BST_CHECKED, 0);
    ShowSystemError(enabled ? kAutostartOnCaption : kAutostartOffCaption, error);
}
