#include "memo/searchwnd.h"

#include <algorithm>
#include <new>

#include "app/bounded.h"
#include "app/config.h"
#include "app/globals.h"
#include "app/messages.h"
#include "memo/memoname.h"
#include "memo/notepadwnd.h"

// The search as the user types, and the list of its hits.

namespace {
const char kSearching[] = "検索中…";
const char kNoHit[] = "見つかりません";
const char kHitCount[] = "%u 件";
const char kMoreHits[] = "… ほか %u 件";
const char16_t kNeverStored[] = u"(保存前のメモ)";
const char16_t kTitleSeparator[] = u" \u2014 ";
// Each step of the search is short enough for typing to feel immediate.
const DWORD kSliceMs = 25;

std::u16string WindowCharacters(HWND hWnd)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hWnd)) + 1, L'\0');
    const int got = GetWindowTextW(hWnd, &text[0], static_cast<int>(text.size()));
    return std::u16string(text.begin(), text.begin() + (got > 0 ? got : 0));
}

std::u16string Widen(const std::string& ansi)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    if (length <= 0) return std::u16string();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &wide[0], length);
    return std::u16string(wide.begin(), wide.end());
}

// "<title> — <the line around the first hit>", on one row.
std::u16string RowOf(const SearchHit& hit)
{
    std::u16string row = hit.name == kNoMemoName ? kNeverStored : Widen(hit.name);
    row += kTitleSeparator;
    for (char16_t c : hit.line) row += (c == u'\t' || c == u'\r' || c == u'\n') ? u' ' : c;
    return row;
}

void AddRow(HWND list, const std::u16string& row)
{
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
}

// Input, posted messages, paints or messages of other threads wait: the
// search gives them their turn.
bool AnythingWaiting()
{
    return HIWORD(GetQueueStatus(QS_INPUT | QS_POSTMESSAGE | QS_PAINT | QS_SENDMESSAGE)) != 0;
}
}  // namespace

// Each change of the query gives up the search under way. The memo shown
// is searched as the editor shows it now.
void CSearchWnd::StartSearch()
{
    m_bOpenWhenDone = false;  // what was typed since is what Enter is to open
    const bool kanaAsOne = SendMessageA(m_hKanaBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
    try {
        const SearchQuery query = ParseSearchQuery(WindowCharacters(m_hField), kanaAsOne);
        const std::string shownName = m_pNotepad ? m_pNotepad->FileMemo() : std::string(g_config->PrevFile);
        m_search.Start(query, shownName, m_pNotepad ? m_pNotepad->ShownCharacters() : std::u16string());
        m_bSearching = !query.words.empty();
    } catch (const std::bad_alloc&) {
        m_bSearching = false;
    }
    if (m_bSearching) {
        SetWindowTextA(m_hStatus, kSearching);
    } else {
        m_hits.clear();
        SendMessageW(m_hList, LB_RESETCONTENT, 0, 0);
        SetWindowTextA(m_hStatus, "");
    }
    StartStepping();
}

// The steps run on a timer, whose messages come only once nothing else
// waits, and go on while nothing does.
void CSearchWnd::StartStepping()
{
    if (m_bStepping) return;
    m_bStepping = SetTimer(m_hWnd, kStepTimer, USER_TIMER_MINIMUM, nullptr) != 0;
}

void CSearchWnd::OnStepTimer()
{
    bool done = false;
    do {
        done = m_search.Step(kSliceMs);
    } while (!done && !AnythingWaiting());
    if (!done) return;
    KillTimer(m_hWnd, kStepTimer);
    m_bStepping = false;
    if (!m_bSearching) return;
    m_bSearching = false;
    ShowHits();
    if (!m_bOpenWhenDone) return;
    m_bOpenWhenDone = false;
    OpenHit(m_bOpenChosen, m_openName);
}

void CSearchWnd::ShowHits()
{
    SendMessageW(m_hList, WM_SETREDRAW, FALSE, 0);
    SendMessageW(m_hList, LB_RESETCONTENT, 0, 0);
    char status[64] = "";
    try {
        m_hits = m_search.Hits();
        for (const SearchHit& hit : m_hits) AddRow(m_hList, RowOf(hit));
        // The search lists so many; the last row says how many more memos
        // have every word.
        const size_t more = m_search.MoreHits();
        if (more > 0) {
            char row[64];
            FormatBounded(row, sizeof(row), kMoreHits, static_cast<unsigned>(more));
            AddRow(m_hList, Widen(row));
        }
        if (m_hits.empty()) CopyBounded(status, sizeof(status), kNoHit);
        else FormatBounded(status, sizeof(status), kHitCount, static_cast<unsigned>(m_hits.size() + more));
    } catch (const std::bad_alloc&) {
        m_hits.clear();
        SendMessageW(m_hList, LB_RESETCONTENT, 0, 0);
    }
    SendMessageW(m_hList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_hList, nullptr, TRUE);
    SetWindowTextA(m_hStatus, status);
}

// Enter right after typing opens a hit of what was typed: once the search
// under way is done, which goes on in its steps meanwhile. The hit chosen is
// the one the user saw, should that search list the hits anew.
void CSearchWnd::OpenSelected()
{
    const LRESULT row = SendMessageW(m_hList, LB_GETCURSEL, 0, 0);
    const bool chosen = row >= 0 && static_cast<size_t>(row) < m_hits.size();
    if (row != LB_ERR && !chosen) {
        MessageBeep(MB_OK);  // the row that counts the hits not listed
        return;
    }
    try {
        const std::string name = chosen ? m_hits[static_cast<size_t>(row)].name : std::string();
        if (!m_bSearching) {
            OpenHit(chosen, name);
            return;
        }
        m_openName = name;
        m_bOpenChosen = chosen;
        m_bOpenWhenDone = true;
        StartStepping();
    } catch (const std::bad_alloc&) {
        MessageBeep(MB_OK);
    }
}

// The memo window opens the hit, and hides this window once it is shown;
// the hit is a copy, since what the memo window does may come back here.
// Gone from the hits, it opens nothing. This window takes no input while the
// memo window saves and opens, whose questions may come.
void CSearchWnd::OpenHit(bool chosen, const std::string& name)
{
    try {
        auto hit = m_hits.begin();
        if (chosen)
            hit = std::find_if(m_hits.begin(), m_hits.end(), [&](const SearchHit& h) { return h.name == name; });
        if (hit == m_hits.end()) {
            MessageBeep(MB_OK);
            return;
        }
        const SearchHit copy = *hit;
        EnableWindow(m_hWnd, FALSE);
        SendMessageA(m_hMainWnd, WM_SEARCHOPEN, 0, reinterpret_cast<LPARAM>(&copy));
        EnableWindow(m_hWnd, TRUE);
        if (IsWindowVisible(m_hWnd) && GetActiveWindow() == m_hWnd) SetFocus(m_hList);
    } catch (const std::bad_alloc&) {
        MessageBeep(MB_OK);
    }
}
