#include "controls/settingwnd.h"

#include <new>

#include "controls/shortcuteditwnd.h"

CSettingWnd::CSettingWnd() : m_pShortcutEdit(new (std::nothrow) CShortcutEditWnd) {}

CSettingWnd::~CSettingWnd()
{
    delete m_pShortcutEdit;
}

LRESULT CSettingWnd::HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}
