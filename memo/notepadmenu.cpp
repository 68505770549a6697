#include "memo/notepadwnd.h"

#include "app/messages.h"
#include "app/scopedhandles.h"

// The editor's own context menu: the edit control's standard items, then
// the search, which the control's built-in menu cannot offer.

namespace {
enum MenuId : UINT { kUndo = 1, kCut, kCopy, kPaste, kDelete, kSelectAll };

struct MenuItem {
    UINT id;
    const char* text;
};

const MenuItem kEditItems[] = {
    {kUndo, "元に戻す(&U)"}, {0, nullptr},          {kCut, "切り取り(&T)"},     {kCopy, "コピー(&C)"},
    {kPaste, "貼り付け(&P)"}, {kDelete, "削除(&D)"}, {0, nullptr},             {kSelectAll, "すべて選択(&A)"},
};
const char kSearchItem[] = "検索(&F)...\tCtrl+F";

// Enabled as the control's own menu enables them.
bool IsItemEnabled(HWND edit, UINT id)
{
    const bool readOnly = (GetWindowLongA(edit, GWL_STYLE) & ES_READONLY) != 0;
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const bool selected = start != end;
    switch (id) {
    case kUndo:      return !readOnly && SendMessageA(edit, EM_CANUNDO, 0, 0);
    case kCut:
    case kDelete:    return !readOnly && selected;
    case kCopy:      return selected;
    case kPaste:     return !readOnly && IsClipboardFormatAvailable(CF_TEXT);
    case kSelectAll: {
        const LRESULT length = CNotepadWnd::EditLength(edit);
        return length > 0 && (start != 0 || end < static_cast<DWORD>(length));
    }
    }
    return true;
}

bool IsInClientArea(HWND edit, LPARAM at)
{
    POINT pt = {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    ScreenToClient(edit, &pt);
    RECT client;
    GetClientRect(edit, &client);
    return PtInRect(&client, pt) != FALSE;
}

// At the mouse, or from the keyboard (Shift+F10, the menu key) at the
// caret, kept within the editor.
POINT MenuPoint(HWND edit, LPARAM at)
{
    POINT pt = {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    if (at != -1) return pt;
    RECT client;
    GetClientRect(edit, &client);
    if (!GetCaretPos(&pt)) pt = {client.left, client.top};
    if (pt.x < client.left || pt.x >= client.right) pt.x = client.left;
    if (pt.y < client.top || pt.y >= client.bottom) pt.y = client.top;
    ClientToScreen(edit, &pt);
    return pt;
}
}  // namespace

// A memo still filling in is hidden and has no menu. The scroll bar keeps
// its own.
LRESULT CNotepadWnd::OnContextMenu(HWND hWnd, LPARAM at)
{
    if (IsFilling()) return 0;
    if (at != -1 && !IsInClientArea(hWnd, at)) {
        return DefControlProc(hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWnd), at);
    }
    if (GetFocus() != hWnd) SetFocus(hWnd);
    ScopedMenu menu;
    if (!menu.get()) return 0;
    for (const MenuItem& item : kEditItems) {
        if (!item.text) {
            AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
            continue;
        }
        AppendMenuA(menu.get(), MF_STRING | (IsItemEnabled(hWnd, item.id) ? MF_ENABLED : MF_GRAYED), item.id,
                    item.text);
    }
    AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu.get(), MF_STRING, ID_SEARCH, kSearchItem);
    const POINT pt = MenuPoint(hWnd, at);
    const UINT id = static_cast<UINT>(
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, pt.x, pt.y, 0, hWnd, nullptr));
    RunMenuCommand(hWnd, id);
    return 0;
}

void CNotepadWnd::RunMenuCommand(HWND hWnd, UINT id)
{
    switch (id) {
    case kUndo:      SendMessageA(hWnd, EM_UNDO, 0, 0); break;
    case kCut:       SendMessageA(hWnd, WM_CUT, 0, 0); break;
    case kCopy:      SendMessageA(hWnd, WM_COPY, 0, 0); break;
    case kPaste:     SendMessageA(hWnd, WM_PASTE, 0, 0); break;
    case kDelete:    SendMessageA(hWnd, WM_CLEAR, 0, 0); break;
    case kSelectAll: SendMessageA(hWnd, EM_SETSEL, 0, -1); break;
    case ID_SEARCH:  SendMessageA(GetParent(hWnd), WM_COMMAND, ID_SEARCH, 0); break;
    }
}
