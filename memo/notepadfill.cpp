#include "memo/notepadwnd.h"

#include "app/basewnd.h"
#include "app/bounded.h"
#include "app/config.h"
#include "app/messages.h"

// A long memo going into the editor piece by piece (textpieces.h).

namespace {
const char kFillNote[] = "メモを表示しています… %d%%";
// How often the note tells how far the filling has got.
const DWORD kFillNoteEveryMs = 500;

// Messages sent from other threads and processes (a key's show request,
// a question for the text) are answered at once; anything else waiting
// (input, posted messages, paints) goes first, before the next piece.
// False when anything else waits.
bool AnswerSentMessagesOnly()
{
    DWORD waiting = HIWORD(GetQueueStatus(QS_INPUT | QS_POSTMESSAGE | QS_PAINT | QS_SENDMESSAGE));
    if (waiting & ~QS_SENDMESSAGE) return false;
    MSG msg;
    if (waiting) PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    return true;
}
}  // namespace

// The pieces go into the emptied editor on a timer, so that the first one
// waits until the window is shown and painted.
void CNotepadWnd::StartFilling(std::unique_ptr<char[]> text, size_t size, bool edited)
{
    SetWindowTextA(m_hWnd, "");
    m_feed.Start(std::move(text), size, edited);
    SendMessageA(m_hWnd, EM_SETREADONLY, TRUE, 0);
    ShowWindow(m_hWnd, SW_HIDE);
    ShowFillNote();
    SetTimer(m_hWnd, kFillTimer, USER_TIMER_MINIMUM, nullptr);
}

// Pieces go in one after another while the program has nothing else to do.
// Anything an answered message does may replace or stop the filling.
void CNotepadWnd::OnFillTimer()
{
    const unsigned generation = m_feed.Generation();
    DWORD noteShownAt = GetTickCount();
    while (IsFilling() && m_feed.Generation() == generation) {
        m_feed.PutNextPiece(m_hWnd);
        if (m_feed.IsComplete()) {
            FinishFilling();
            return;
        }
        if (GetTickCount() - noteShownAt >= kFillNoteEveryMs) {
            ShowFillNote();
            noteShownAt = GetTickCount();
        }
        if (!AnswerSentMessagesOnly()) return;
    }
}

// Shown as a memo loaded at once is: the caret at the end, where the last
// piece left it, the view at the top, the focus in the editor if the window
// is the active one. The view is set while the editor is still hidden,
// where moving it paints nothing.
void CNotepadWnd::FinishFilling()
{
    const bool whole = m_feed.EditHoldsAll(m_hWnd);
    const bool restored = m_bFillingRestored;
    if (whole) {
        SendMessageA(m_hWnd, EM_SETMODIFY, m_feed.Edited(), 0);
        SendMessageA(m_hWnd, WM_VSCROLL, SB_TOP, 0);
    }
    StopFilling();
    if (!whole) {
        ShowFillFailure(restored);
        return;
    }
    if (GetActiveWindow() == GetParent(m_hWnd)) SetFocus(m_hWnd);
    PostMessageA(GetParent(m_hWnd), WM_MEMOFILLED, 0, 0);
}

// The editor shows whatever it holds, editable, and the note goes.
void CNotepadWnd::StopFilling()
{
    if (!IsFilling()) return;
    m_bFillingRestored = false;
    KillTimer(m_hWnd, kFillTimer);
    m_feed.Stop();
    if (m_hFillNote) DestroyWindow(m_hFillNote);
    m_hFillNote = nullptr;
    SendMessageA(m_hWnd, EM_SETREADONLY, FALSE, 0);
    ShowWindow(m_hWnd, SW_SHOW);
}

// A static text in the editor's place, in its font, made on first use.
void CNotepadWnd::ShowFillNote()
{
    char note[64];
    FormatBounded(note, sizeof(note), kFillNote, m_feed.PercentDone());
    if (m_hFillNote) {
        SetWindowTextA(m_hFillNote, note);
        return;
    }
    // Its going is no child window being destroyed for the memo window.
    m_hFillNote =
        CreateWindowExA(WS_EX_NOPARENTNOTIFY, "STATIC", note, WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE, 0, 0,
                        0, 0, GetParent(m_hWnd), nullptr, InstanceOf(m_hWnd), nullptr);
    if (!m_hFillNote) return;
    SendMessageA(m_hFillNote, WM_SETFONT, SendMessageA(m_hWnd, WM_GETFONT, 0, 0), FALSE);
    PlaceFillNote();
}

// In the editor's place, as large as it is, also when the window is
// resized, and like it under the button bar, which stays usable.
void CNotepadWnd::PlaceFillNote()
{
    if (!m_hFillNote) return;
    RECT rc;
    GetWindowRect(m_hWnd, &rc);
    MapWindowPoints(nullptr, GetParent(m_hWnd), reinterpret_cast<POINT*>(&rc), 2);
    SetWindowPos(m_hFillNote, m_hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, SWP_NOACTIVATE);
}
