#pragma once
#include "app/subclassbase.h"

// Owned by the settings window.
class CShortcutEditWnd final : public CSubClassBase {
public:
    LRESULT HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
};
