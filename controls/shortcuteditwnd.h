#pragma once
#include "app/subclassbase.h"

// Owned by the settings window. No control is bound to it; one that were
// would behave exactly as without it.
class CShortcutEditWnd final : public CSubClassBase {
public:
    LRESULT HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
};
