// The settings window's shortcut field: a hot-key control that shows the
// stored shortcut and gives the one chosen at Done.
#include "controls/settingwnd.h"

#include <commctrl.h>

#include "app/config.h"
#include "app/msgbox.h"
#include "controls/hotkeybits.h"

namespace {
const char kShortcutCaption[] = "ショートカット";

const char* RefusalText(ShortcutProblem problem)
{
    switch (problem) {
    case ShortcutProblem::kNoKey:
        return "ショートカットにするキーを押してください。\n"
               "Ctrl や Alt などだけではショートカットになりません。";
    case ShortcutProblem::kNoModifier:
        return "ショートカットには Ctrl か Alt を組み合わせてください。\n"
               "ほかのキーだけ (Shift との組み合わせも) では、ふだんの入力のたびにメモが開いてしまいます。";
    default:
        return "このキーはショートカットに使えません。別のキーを選んでください。";
    }
}
}  // namespace

void CSettingWnd::ShowStoredShortcut()
{
    SendMessageA(m_hHotKey, HKM_SETHOTKEY, HotKeyFromShortcut(g_config->ShortcutKey), 0);
}

// The field left as it shows the stored shortcut keeps that shortcut whole,
// with the Windows key that the control cannot show. Anything else must be
// usable, or the user is told why not.
bool CSettingWnd::ReadChosenShortcut(HWND hWnd, ShortcutKey& key)
{
    const WORD hotKey = LOWORD(SendMessageA(m_hHotKey, HKM_GETHOTKEY, 0, 0));
    if (hotKey == HotKeyFromShortcut(g_config->ShortcutKey)) {
        key = g_config->ShortcutKey;
        return true;
    }
    key = ShortcutFromHotKey(hotKey);
    const ShortcutProblem problem = CheckShortcutKey(key);
    if (problem == ShortcutProblem::kNone) return true;
    ShowRefusal(hWnd, RefusalText(problem), kShortcutCaption);
    SetFocus(m_hHotKey);
    return false;
}
