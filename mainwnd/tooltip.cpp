#include "mainwnd/mainwnd.h"

#include <commctrl.h>

#include "app/bounded.h"
#include "app/config.h"
#include "app/controlnames.h"
#include "app/messages.h"
#include "controls/buttonwnd.h"
#include "controls/pinwnd.h"
#include "controls/tooltiprelay.h"
#include "memo/filelist.h"

namespace {
void AddTool(HWND tooltip, HWND owner, HWND control)
{
    if (!control) return;
    TOOLINFOA tool = {};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = LPSTR_TEXTCALLBACKA;
    SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}
}  // namespace

// One tooltip for the four buttons, the pin and the Shortcut box, made once
// the window is up (it has no part in the start) and gone with the window,
// its owner. Its font is the window's, for its DPI.
void CMainWnd::CreateTooltip(HWND hWnd)
{
    if (m_hTooltip) return;
    m_hTooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hWnd, nullptr,
                                 InstanceOf(hWnd), nullptr);
    if (!m_hTooltip) return;
    SendMessageA(m_hTooltip, WM_SETFONT, reinterpret_cast<WPARAM>(m_fonts.Tip()), FALSE);
    for (int i = 0; i < 4; ++i) {
        AddTool(m_hTooltip, hWnd, m_pButtons[i].m_hWnd);
        m_pButtons[i].SetTooltip(m_hTooltip);
    }
    AddTool(m_hTooltip, hWnd, m_pPin->m_hWnd);
    m_pPin->SetTooltip(m_hTooltip);
    AddTool(m_hTooltip, hWnd, m_hShortcut);
    // The list and the Startup box for their keys.
    AddTool(m_hTooltip, hWnd, m_pFileList->m_hWnd);
    AddTool(m_hTooltip, hWnd, m_hStartup);
}

// The strip's list and plain check boxes relay nothing themselves: their
// mouse messages reach the tip from the message loop.
void CMainWnd::RelayToTip(const MSG& msg) const
{
    if (msg.hwnd == m_hShortcut || msg.hwnd == m_hStartup || msg.hwnd == m_pFileList->m_hWnd)
        RelayToTooltip(m_hTooltip, msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

// The tip is the control's name (its window text, the accessible name, but
// for the list, whose text is the memo shown) with the key that does the
// same; the Shortcut box's name also says which shortcut it turns on.
LRESULT CMainWnd::OnNotify(HWND hWnd, const NMHDR* header, LPARAM lParam)
{
    if (header->code != TTN_GETDISPINFOA || !(reinterpret_cast<const NMTTDISPINFOA*>(header)->uFlags & TTF_IDISHWND))
        return DefWindowProcA(hWnd, WM_NOTIFY, 0, lParam);
    auto* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
    HWND control = reinterpret_cast<HWND>(header->idFrom);
    const ControlName* entry = FindControlName(GetDlgCtrlID(control));
    char name[128] = "";
    if (entry && entry->name) CopyBounded(name, sizeof(name), entry->name);
    else GetWindowTextA(control, name, sizeof(name));
    char shortcut[64];
    if (control == m_hShortcut && FormatShortcutKey(g_config->ShortcutKey, shortcut, sizeof(shortcut))) {
        const size_t length = lstrlenA(name);
        FormatBounded(name + length, sizeof(name) - length, " %s", shortcut);
    }
    if (entry && entry->key)
        FormatBounded(info->szText, sizeof(info->szText), "%s (%s)", name, entry->key);
    else
        CopyBounded(info->szText, sizeof(info->szText), name);
    info->lpszText = info->szText;
    return 0;
}
