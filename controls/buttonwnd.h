#pragma once
#include "app/subclassbase.h"

// One of the four image buttons over the memo.
class CButtonWnd final : public CSubClassBase {
public:
    LRESULT HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
};
