#include "app/config.h"
#include "app/globals.h"
#include "mainwnd/mainwnd.h"
#include "memo/filelist.h"
#include "memo/memofiles.h"
#include "memo/notepadwnd.h"
#include "memo/searchfold.h"
#include "memo/searchwnd.h"

#include <new>

// The search window and the hits it opens.

namespace {
bool IsShownMemo(const CNotepadWnd& notepad, const std::string& name)
{
    return FoldMemoName(name) == FoldMemoName(notepad.FileMemo());
}

// None when there is no memory to look for them.
std::vector<TextSpan> PlacesOf(const std::u16string& shown, const SearchQuery& query)
{
    try {
        return FindWords(shown, query);
    } catch (const std::bad_alloc&) {
        return std::vector<TextSpan>();
    }
}
}  // namespace

bool CMainWnd::CreateSearchWnd()
{
    if (!m_pSearch->Create(m_hWnd, m_nDpi)) return false;
    m_pSearch->m_pNotepad = m_pNotepad;
    return true;
}

// While it is open the memo window stays up, as for the settings. A memo
// still filling in cannot be searched as the editor shows it yet, but the
// filling's own text is, so the window opens all the same.
void CMainWnd::ShowSearchWnd()
{
    if (m_bHiding || g_nMessageBoxes > 0 || !CreateSearchWnd()) return;
    // A change made elsewhere is taken in first, so that the memo shown is
    // searched as its file is now, or as a text of its own.
    m_pNotepad->LookElsewhere();
    m_bSearchOpen = TRUE;
    RECT rc;
    GetClientRect(m_hWnd, &rc);
    MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    m_pSearch->Open(rc, m_nDpi);
}

// Esc or the close button: the editor gets the focus back.
LRESULT CMainWnd::OnSearchDone(HWND hWnd)
{
    m_bSearchOpen = FALSE;
    TakeBackActivation(hWnd);
    return 0;
}

// The activation went to another program while the search window was up:
// the search window goes, and the memo window hides and saves as a click
// elsewhere makes it do. The memo window was not the active one, so no
// WM_ACTIVATE of its own tells it.
LRESULT CMainWnd::OnActivateApp(HWND hWnd, BOOL active)
{
    if (!active && m_bSearchOpen) {
        m_bSearchOpen = FALSE;
        m_pSearch->Hide();
        OnActivate(hWnd, WA_INACTIVE);
    }
    return 0;
}

// The memo window is active again first, so that the hide does not hand
// the activation elsewhere.
void CMainWnd::CloseSearchWnd(HWND hWnd)
{
    m_bSearchOpen = FALSE;
    TakeBackActivation(hWnd);
    m_pSearch->Hide();
    if (GetActiveWindow() == hWnd) SetFocus(m_pNotepad->m_hWnd);
}

// A hit in the memo shown is selected in place. Another memo is switched to
// as a pick in the memo list does: the memo shown is saved first, and one
// that could not be saved stays, with the search window up for another try.
// A memo that could not be read has been reported by the load, and one gone
// meanwhile leaves the list as it is searched again.
LRESULT CMainWnd::OnSearchOpen(HWND hWnd, const SearchHit* hit)
{
    if (!hit) return 0;
    if (g_nMessageBoxes > 0) {
        MessageBeep(MB_OK);
        return 0;
    }
    const std::string name = hit->name;
    if (!IsShownMemo(*m_pNotepad, name)) {
        if (!LeaveShownMemo()) {
            // The user went on in another program while the save asked.
            if (!m_bSearchOpen) TakeBackActivation(hWnd);
            return 0;
        }
        ShowChosenMemo(name);
        m_pFileList->Refresh();
        m_pFileList->SelectPrevFile();
        if (!IsShownMemo(*m_pNotepad, name)) {
            m_pSearch->SearchAgain();
            return 0;
        }
    }
    CloseSearchWnd(hWnd);
    m_selectWhenFilled.clear();
    if (m_pNotepad->IsFilling()) m_selectWhenFilled = name;
    else SelectFirstHit();
    return 0;
}

// Only for the memo the search opened, should the user have gone on to
// another meanwhile.
LRESULT CMainWnd::OnMemoFilled()
{
    if (m_selectWhenFilled.empty()) return 0;
    const bool opened = IsShownMemo(*m_pNotepad, m_selectWhenFilled);
    m_selectWhenFilled.clear();
    if (opened) SelectFirstHit();
    return 0;
}

// The first place of the last search in the editor's text, selected and
// scrolled into view.
void CMainWnd::SelectFirstHit()
{
    const std::u16string shown = m_pNotepad->ShownCharacters();
    const std::vector<TextSpan> spans = PlacesOf(shown, m_pSearch->LastQuery());
    if (!spans.empty()) m_pNotepad->SelectCharacters(shown, spans.front().start, spans.front().end);
}

// F3 and Shift+F3: from the selection to the next or the previous place of
// the last search in the memo shown, round past either end. Without a
// search yet, the search window opens; without a place, a beep.
void CMainWnd::FindNextHit(bool back)
{
    if (m_pNotepad->IsFilling()) return;
    if (!m_pSearch->HasQuery()) {
        ShowSearchWnd();
        return;
    }
    const std::u16string shown = m_pNotepad->ShownCharacters();
    const std::vector<TextSpan> spans = PlacesOf(shown, m_pSearch->LastQuery());
    if (spans.empty()) {
        MessageBeep(MB_OK);
        return;
    }
    size_t start = 0, end = 0;
    m_pNotepad->GetSelectedCharacters(shown, start, end);
    const TextSpan* to = back ? &spans.back() : &spans.front();
    if (back) {
        for (auto span = spans.rbegin(); span != spans.rend(); ++span) {
            if (span->end > start) continue;
            to = &*span;
            break;
        }
    } else {
        for (const TextSpan& span : spans) {
            if (span.start < end) continue;
            to = &span;
            break;
        }
    }
    m_pNotepad->SelectCharacters(shown, to->start, to->end);
}
