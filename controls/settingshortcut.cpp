// The settings window's shortcut field: a hot-key control that shows the
// stored shortcut and gives the one chosen at Done.
#include "controls/settingwnd.h"

#include <commctrl.h>

#include "app/bounded.h"
#include "app/config.h"
#include "app/msgbox.h"
#include "controls/hotkeybits.h"
#include "controls/shortcuteditwnd.h"

namespace {
const char kShortcutCaption[] = "ショートカット";
// Any id of the range an application may use: the registration is undone
// at once.
const int kTrialHotKeyId = 0x4D56;

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

// %s: the shortcut's name.
const char* RiskText(ShortcutRisk risk)
{
    switch (risk) {
    case ShortcutRisk::kEditingKey:
        return "%s は、ほかのプログラムでコピー、貼り付け、切り取り、元に戻す、やり直し、すべて選択、"
               "保存、印刷に使うキーです。\n"
               "ショートカットにすると、そのプログラムが操作を行ったうえでメモが開いてしまいます。\n"
               "別のキーを選んでください。";
    case ShortcutRisk::kSystemKey:
        return "%s は Windows が自分で使うキーです。\n"
               "ショートカットにすると、Windows の操作と重なるか、メモが開きません。\n"
               "別のキーを選んでください。";
    case ShortcutRisk::kAltGrLetter:
        return "%s は、一部のキーボードでは文字を入力するキーです。\n"
               "ドイツ語、ポーランド語、フランス語などのキーボードでは AltGr (Ctrl+Alt) で @ や { などを"
               "入力するため、その文字を入力するたびにメモが開きます。\n\n"
               "このショートカットを使いますか?";
    default:
        return "";
    }
}

const char kOwnedText[] = "%s は、Windows かほかのプログラムがすでにショートカットとして使っています。\n"
                          "このままでは、押してもメモが開かないことがあります。\n\n"
                          "このショートカットを使いますか?";

// Windows says no to a registration of a key it or another program holds;
// the trial is released at once, as the program's own shortcut is a hook.
bool IsOwnedElsewhere(HWND hWnd, ShortcutKey key)
{
    if (RegisterHotKey(hWnd, kTrialHotKeyId, HotKeyCallModifiers(key), key.vk)) {
        UnregisterHotKey(hWnd, kTrialHotKeyId);
        return false;
    }
    return GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED;
}

struct ShortcutMessage {
    ShortcutMessage(const char* format, ShortcutKey key)
    {
        char name[64];
        FormatShortcutKey(key, name, sizeof(name));
        FormatBounded(text, sizeof(text), format, name);
    }
    char text[640];
};
}  // namespace

// A shortcut with the Windows key, which the control cannot show, is shown
// whole by the field itself for as long as it is left alone.
void CSettingWnd::ShowStoredShortcut()
{
    const ShortcutKey stored = g_config->ShortcutKey;
    SendMessageA(m_hHotKey, HKM_SETHOTKEY, HotKeyFromShortcut(stored), 0);
    char whole[64] = "";
    if (stored.mods & kShortcutWin) FormatShortcutKey(stored, whole, sizeof(whole));
    m_pShortcutEdit->ShowWhole(whole, HotKeyFromShortcut(stored));
}

// The field left as it shows the stored shortcut keeps that shortcut whole,
// with the Windows key that the control cannot show. Anything else must be
// usable and leave typing alone, or the user is told why not; a risk that
// the user may take is asked about.
bool CSettingWnd::ReadChosenShortcut(HWND hWnd, ShortcutKey& key)
{
    const WORD hotKey = LOWORD(SendMessageA(m_hHotKey, HKM_GETHOTKEY, 0, 0));
    if (hotKey == HotKeyFromShortcut(g_config->ShortcutKey)) {
        key = g_config->ShortcutKey;
        return true;
    }
    key = ShortcutFromHotKey(hotKey);
    const ShortcutProblem problem = CheckShortcutKey(key);
    if (problem != ShortcutProblem::kNone) return RefuseShortcut(hWnd, RefusalText(problem));
    const ShortcutRisk risk = JudgeShortcutForTyping(key);
    if (risk == ShortcutRisk::kEditingKey || risk == ShortcutRisk::kSystemKey)
        return RefuseShortcut(hWnd, ShortcutMessage(RiskText(risk), key).text);
    if (risk == ShortcutRisk::kAltGrLetter && !KeepRiskyShortcut(hWnd, ShortcutMessage(RiskText(risk), key).text))
        return false;
    if (IsOwnedElsewhere(hWnd, key) && !KeepRiskyShortcut(hWnd, ShortcutMessage(kOwnedText, key).text))
        return false;
    return true;
}

bool CSettingWnd::RefuseShortcut(HWND hWnd, const char* text)
{
    ShowRefusal(hWnd, text, kShortcutCaption);
    SetFocus(m_hHotKey);
    return false;
}

bool CSettingWnd::KeepRiskyShortcut(HWND hWnd, const char* text)
{
    if (AskRefusalYesDefaultNo(hWnd, text, kShortcutCaption)) return true;
    SetFocus(m_hHotKey);
    return false;
}
