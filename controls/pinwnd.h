#pragma once
#include "app/subclassbase.h"

// The pin check box: while checked, the memo window stays up.
class CPinWnd final : public CSubClassBase {
public:
    LRESULT HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
};
