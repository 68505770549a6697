#pragma once
#include "app/basewnd.h"

#include <string>
#include <vector>

#include "memo/memosearch.h"

class CNotepadWnd;

#define SEARCH_WINDOW_CLASS "SearchWnd"

// The search window: a field, the kana box and the list of the memos that
// have what is typed, searched anew as the user types. Made hidden once,
// owned by the memo window, which it asks to open a hit (WM_SEARCHOPEN) and
// tells when it is closed (WM_SEARCHDONE). From the keyboard: Down goes
// from the field to the list, Enter opens the hit selected (or the first),
// Esc closes.
class CSearchWnd final : public CBaseWnd {
public:
    CSearchWnd();
    ~CSearchWnd();

    LRESULT HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Makes the window, hidden, owned by the memo window `owner`, at dpi.
    // A window made already serves; false when it could not be made.
    bool Create(HWND owner, int dpi);
    // Shows it over the memo window's client area `over` (in screen
    // coordinates), at dpi, with the focus in the field and its text
    // selected; a query left in the field is searched again in the memos as
    // they are now.
    void Open(const RECT& over, int dpi);
    void Hide();
    // Searches again for what the field holds, in the memos as they are now.
    void SearchAgain() { StartSearch(); }
    bool IsOpen() const { return m_hWnd && IsWindowVisible(m_hWnd); }
    // Whether hWnd is this window or one of its controls.
    bool Contains(HWND hWnd) const;
    // The message loop's turn for this window's keys: true when handled.
    // `wide`: the message was taken with the Unicode calls.
    bool HandleDialogKey(MSG& msg, bool wide);
    // Whether the last search had anything to look for (F3 needs one).
    bool HasQuery() const { return !m_search.LastQuery().words.empty(); }
    const SearchQuery& LastQuery() const { return m_search.LastQuery(); }

    CNotepadWnd* m_pNotepad = nullptr;  // the memo shown, searched as it shows

private:
    LRESULT OnCreate(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(HWND hWnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnActivate(HWND hWnd, WPARAM wParam);
    LRESULT OnDpiChanged(HWND hWnd, WPARAM wParam, const RECT* suggested);
    void ApplyDpi(int dpi);
    HWND AddControl(HWND hWnd, int index);
    // The search and its hits (searchhits.cpp)
    static const UINT_PTR kStepTimer = 1;
    void StartSearch();
    void StartStepping();
    void OnStepTimer();
    void ShowHits();
    void OpenSelected();
    // Opens the hit of memo `name`, or the first one where none was chosen.
    void OpenHit(bool chosen, const std::string& name);
    void Close();

    CMemoSearch m_search;
    std::vector<SearchHit> m_hits;  // the hits the list shows
    HWND m_hMainWnd = nullptr;
    HWND m_hField = nullptr;
    HWND m_hKanaBox = nullptr;
    HWND m_hList = nullptr;
    HWND m_hStatus = nullptr;
    HWND m_hFocusBack = nullptr;  // the control that had the focus when the window was last left
    HFONT m_hFont = nullptr;
    int m_nDpi = 96;
    bool m_bStepping = false;     // the step timer runs
    bool m_bSearching = false;    // a search with words is under way: the list follows when it ends
    bool m_bOpenWhenDone = false; // Enter came during that search: OpenHit once it ends
    bool m_bOpenChosen = false;   // for OpenHit: a hit was chosen, that of m_openName
    std::string m_openName;
};
