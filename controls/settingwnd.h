#pragma once
#include "app/basewnd.h"
#include "app/shortcutkey.h"

class CShortcutEditWnd;

// Control ids of the settings window. The trackbar and the Done button share
// id 10; only the button's id reaches WM_COMMAND.
#define IDC_TRANSEDIT 2
#define IDC_FIXPOS 5
#define IDC_AUTOSTART 7
#define IDC_TRANSBAR 10
#define IDC_DONE 10
#define IDC_HOTKEY 11

// Room for the handles of the settings window's controls.
constexpr int kMaxSettingControls = 16;

// The settings window: size, transparency, fixed position, autostart and
// the shortcut.
// Created hidden once; Done stores the values in g_config, hides the window
// and has the main window apply them (WM_SETTINGDONE). Closing it cancels.
// From the keyboard: Tab and Shift+Tab go through the controls in reading
// order, Enter is Done and Esc closes.
class CSettingWnd final : public CBaseWnd {
public:
    CSettingWnd();
    ~CSettingWnd();
    bool IsValid() const { return m_pShortcutEdit != nullptr; }

    LRESULT HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    // The font and the controls' places for dpi; the caller sizes the
    // window. The DPI the window has changes nothing.
    void ApplyDpi(int dpi);
    // The message loop's turn for this window's keys (Tab, Enter, Esc):
    // true when the message was handled here.
    bool HandleDialogKey(MSG& msg);
    // The shortcut field takes every key: no accelerator of the program
    // may act on a key meant for it.
    bool TakesEveryKey(HWND hWnd) const { return hWnd && hWnd == m_hHotKey; }

    HWND m_hTransBar = nullptr;
    HWND m_hTransEdit = nullptr;  // the transparency in percent
    HWND m_hWidthEdit = nullptr;
    HWND m_hHeightEdit = nullptr;
    HWND m_hFixPos = nullptr;
    HWND m_hAutoStart = nullptr;
    HWND m_hHotKey = nullptr;     // the shortcut
    HWND m_hMainWnd = nullptr;    // receives WM_SETTINGDONE
    int m_nDpi = 96;              // set before the window is made: the memo window's
    CShortcutEditWnd* m_pShortcutEdit;  // the shortcut field's own handling

private:
    LRESULT OnCreate(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnHScroll(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnDpiChanged(HWND hWnd, WPARAM wParam, const RECT* suggested);
    LRESULT OnNcActivate(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnActivate(HWND hWnd, WPARAM wParam);
    LRESULT OnShowWindow(HWND hWnd, WPARAM wParam, LPARAM lParam);
    void MoveFocus(HWND hWnd, bool back);
    void CreateControls(HWND hWnd);
    HWND AddControl(HWND hWnd, int index, const char* text);
    void ShowStoredSettings();
    // The shortcut's field (settingshortcut.cpp)
    void ShowStoredShortcut();
    bool ReadChosenShortcut(HWND hWnd, ShortcutKey& key);
    bool RefuseShortcut(HWND hWnd, const char* text);
    bool KeepRiskyShortcut(HWND hWnd, const char* text);
    void OnDone(HWND hWnd);
    void OnClose(HWND hWnd);
    void OnDestroy(HWND hWnd);

    HFONT m_hFont = nullptr;  // shared by all the controls
    HWND m_hControls[kMaxSettingControls] = {};  // in the order of the control table
    HWND m_hFocusBack = nullptr;  // the control that had the focus when the window was last left
};
