#pragma once
#include "app/basewnd.h"

class CShortcutEditWnd;

// The settings window: size, transparency, fixed position and autostart.
class CSettingWnd final : public CBaseWnd {
public:
    CSettingWnd();
    ~CSettingWnd();
    bool IsValid() const { return m_pShortcutEdit != nullptr; }

    LRESULT HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    HWND m_hMainWnd = nullptr;  // receives WM_SETTINGDONE
    CShortcutEditWnd* m_pShortcutEdit;
};
