#pragma once
#include "app/subclassbase.h"

// The pin check box: a grey pin, blue while checked (the memo window then
// stays up). The check state lives in the control itself.
class CPinWnd final : public CSubClassBase {
public:
    LRESULT HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint(HWND hWnd);
    void Redraw(HWND hWnd);
};
