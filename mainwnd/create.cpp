#include "app/config.h"
#include "app/controlnames.h"
#include "app/dpiscale.h"
#include "app/messages.h"
#include "controls/buttonwnd.h"
#include "controls/pinwnd.h"
#include "controls/settingwnd.h"
#include "mainwnd/layout.h"
#include "mainwnd/mainwnd.h"
#include "memo/filelist.h"
#include "memo/notepadwnd.h"

namespace {
const char kSettingClass[] = "SettingWnd";
const DWORD kEditStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                         ES_WANTRETURN;
const DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_OWNERDRAW;
const DWORD kListStyle = WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_DISABLENOSCROLL;
const DWORD kCheckBoxStyle = WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX;

HWND CreateChild(HWND parent, HINSTANCE hInstance, const char* className, const char* text, DWORD style,
                 const ChildBox& box, int id, void* param = nullptr)
{
    return CreateWindowExA(0, className, text, style, box.x, box.y, box.width, box.height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), hInstance, param);
}

// The window text of a control that paints a picture: never painted, it is
// the name that screen readers announce.
const char* NameOf(int id)
{
    const ControlName* entry = FindControlName(id);
    return entry ? entry->name : nullptr;
}

void SendFont(HWND control, HFONT font)
{
    if (control && font) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void SendInitCtrl(HWND control, CStartLook* look)
{
    SendMessageA(control, WM_INITCTRL, 0, reinterpret_cast<LPARAM>(look));
}
}  // namespace

LRESULT CMainWnd::OnCreate(HWND hWnd, const CREATESTRUCTA* cs)
{
    // Set before CreateWindowExA returns, so that the link look-ups made
    // below already have their owner window.
    m_hWnd = hWnd;
    // No control exists yet: each takes its font as it is made.
    if (m_fonts.Make(m_nDpi)) m_fonts.Apply(nullptr, nullptr, nullptr, nullptr, nullptr);
    const MainLayout layout = ScaleLayout(ComputeMainLayout(g_config->Width, g_config->Height), m_nDpi);
    SetLayeredWindowAttributes(hWnd, 0, static_cast<BYTE>(g_config->Alpha), LWA_ALPHA);
    CreateEditor(hWnd, cs, layout);
    CreateButtons(hWnd, cs, layout);
    CreateStrip(hWnd, cs, layout);
    if (m_nClassIconDpi != m_nDpi) ApplyWindowIcons(m_nDpi);
    SyncStartupLink(g_config->PrevFile);
    // The tray icon, a call into the shell's process, and the program's own
    // Startup link, which nothing on the window shows, wait until the window
    // is up and answers; the settings window is made when first opened.
    PostMessageA(hWnd, WM_STARTED, 0, 0);
    return 0;
}

void CMainWnd::CreateEditor(HWND hWnd, const CREATESTRUCTA* cs, const MainLayout& layout)
{
    m_pNotepad->Attach(
        CreateChild(hWnd, cs->hInstance, "EDIT", "MossvanePad", kEditStyle, layout.edit, IDC_EDIT, m_pNotepad));
    // Before the memo comes in, so that it is laid out once, in its font.
    SendFont(m_pNotepad->m_hWnd, m_fonts.Editor());
    SendInitCtrl(m_pNotepad->m_hWnd, &m_startLook);
}

// The buttons go above the editor in the z-order: the bar floats over the
// text, and both clip each other. A new child goes below its siblings, so
// one move of the editor, once the four are made, does it.
void CMainWnd::CreateButtons(HWND hWnd, const CREATESTRUCTA* cs, const MainLayout& layout)
{
    for (int i = 0; i < 4; ++i) {
        CButtonWnd& button = m_pButtons[i];
        button.Attach(CreateChild(hWnd, cs->hInstance, "BUTTON", NameOf(IDC_NEWMEMO + i), kButtonStyle,
                                  layout.buttons[i], IDC_NEWMEMO + i));
        button.SetDpi(m_nDpi);
        SendInitCtrl(button.m_hWnd, &m_startLook);
    }
    SetWindowPos(m_pNotepad->m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CMainWnd::CreateStrip(HWND hWnd, const CREATESTRUCTA* cs, const MainLayout& layout)
{
    HINSTANCE hInstance = cs->hInstance;
    m_pFileList->Attach(CreateChild(hWnd, hInstance, "COMBOBOX", nullptr, kListStyle, layout.list, IDC_FILELIST));
    SendFont(m_pFileList->m_hWnd, m_fonts.List());
    SendInitCtrl(m_pFileList->m_hWnd, &m_startLook);

    m_hStartup = CreateChild(hWnd, hInstance, "BUTTON", "Startup", kCheckBoxStyle | BS_BITMAP, layout.startup,
                             IDC_STARTUP);
    SendFont(m_hStartup, m_fonts.Boxes());
    UpdateStartupBox();

    m_hShortcut = CreateChild(hWnd, hInstance, "BUTTON", "Shortcut", kCheckBoxStyle, layout.shortcut, IDC_SHORTCUT);
    SendFont(m_hShortcut, m_fonts.Boxes());
    if (m_bShortcut) SendMessageA(m_hShortcut, BM_SETCHECK, BST_CHECKED, 0);

    m_pPin->Attach(CreateChild(hWnd, hInstance, "BUTTON", NameOf(IDC_PIN), kCheckBoxStyle, layout.pin, IDC_PIN));
    m_pPin->SetDpi(m_nDpi);
}

void CMainWnd::CreateSettingWnd(HWND hWnd, HINSTANCE hInstance)
{
    if (m_pSetting->m_hWnd || !RegisterBaseClass(hInstance, kSettingClass)) return;
    RECT rc;
    GetWindowRect(hWnd, &rc);
    LayoutPoint at = CenterSettingWnd(rc.left, rc.top, rc.right, rc.bottom, m_nDpi);
    m_pSetting->m_nDpi = m_nDpi;
    m_pSetting->m_hWnd = CreateWindowExA(WS_EX_TOPMOST, kSettingClass, nullptr, 0, at.x, at.y,
                                         ScaleForDpi(kSettingWndWidth, m_nDpi),
                                         ScaleForDpi(kSettingWndHeight, m_nDpi), nullptr, nullptr, hInstance,
                                         m_pSetting);
    m_pSetting->m_hMainWnd = hWnd;
}
