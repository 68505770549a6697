#pragma once
#include "app/basewnd.h"
#include "app/dpi.h"
#include "app/shortcutpress.h"
#include "mainwnd/mainfonts.h"
#include "memo/startlook.h"

#include <string>

class CNotepadWnd;
class CButtonWnd;
class CFileList;
class CPinWnd;
class CSettingWnd;
class CSearchWnd;
struct SearchHit;
struct MainLayout;
struct Placement;

// The memo window. Owns every other window object of the program and the
// settings record.
class CMainWnd final : public CBaseWnd {
public:
    CMainWnd();
    ~CMainWnd();

    // False when an allocation of the object graph failed or the settings
    // could not be set up; the program must not go on then.
    bool IsValid() const;
    // Registers, once, the window class that the memo window is made of,
    // carrying the icons of m_nDpi: the DPI the window is made at (tray.cpp).
    bool RegisterWindowClass(HINSTANCE hInstance, const char* className);

    LRESULT HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    void Resize(int width, int height);
    // Re-makes everything that depends on the DPI (fonts, children, pictures,
    // regions) for dpi; the caller sizes the window itself (dpichange.cpp).
    void ApplyDpi(int dpi);
    // The same for a window not yet shown at the DPI where it goes, sized
    // for it as well; the DPI it has already changes nothing.
    void TakeDpi(int dpi);
    void ShowButtons(int show);
    int IsCursorOnButton();
    void UpdateStartupBox();
    void SyncStartupLink(const char* name);
    void ShowSettingWnd();
    // The search window, over the memo window (search.cpp).
    void ShowSearchWnd();
    // With the remembered position on, moves a cursor placement there,
    // unless no monitor shows it (popup.cpp).
    void ApplyStoredPosition(Placement& placement);
    bool FindMemoLink(const char* name, char* linkName);
    DWORD UpdateAutostartLink(bool enabled);

    CNotepadWnd* m_pNotepad;
    CButtonWnd* m_pButtons;  // four, for the command ids 1 to 4
    CFileList* m_pFileList;
    CPinWnd* m_pPin;
    CSettingWnd* m_pSetting;
    CSearchWnd* m_pSearch;
    HWND m_hStartup = nullptr;
    HWND m_hShortcut = nullptr;
    BOOL m_bPinned = FALSE;
    BOOL m_bShortcut = TRUE;
    RECT m_rcWindow = {};      // outer rectangle at start-up; the pop-up takes its size
    BOOL m_bSettingOpen = FALSE;
    BOOL m_bSearchOpen = FALSE;
    BOOL m_bListByKey = FALSE;  // the memo list was dropped down by its key: the editor gets the focus back
    BOOL m_bHiding = FALSE;    // saving and hiding on losing the activation
    UINT m_uTaskbarCreated = 0;  // the shell's message that its taskbar (re)started
    // Where the window went in place of a remembered position that no
    // monitor showed; that position is kept until the window is moved.
    BOOL m_bStandIn = FALSE;
    POINT m_ptStandIn = {};
    BOOL m_bEndSaved = FALSE;  // the memo is safe for the end: stored, or journaled
    // The pop-up's click on its way: the cursor put there for it brings no
    // button bar, which the click would hide again at once.
    BOOL m_bClickPending = FALSE;
    POINT m_ptClick = {};
    // The DPI the window is laid out for; set before the window is made, to
    // the DPI of where it will show.
    int m_nDpi = 96;
    // The DPI of the monitor at a screen point; tests stand in for monitors.
    int (*m_pfnDpiAtPoint)(POINT) = DpiAtPoint;

    // Hands the tooltip the mouse messages, taken from the message loop, of
    // the controls that do not relay them themselves (tooltip.cpp).
    void RelayToTip(const MSG& msg) const;

private:
    // Creation (create.cpp)
    LRESULT OnCreate(HWND hWnd, const CREATESTRUCTA* cs);
    void CreateEditor(HWND hWnd, const CREATESTRUCTA* cs, const MainLayout& layout);
    void CreateButtons(HWND hWnd, const CREATESTRUCTA* cs, const MainLayout& layout);
    void CreateStrip(HWND hWnd, const CREATESTRUCTA* cs, const MainLayout& layout);
    void CreateSettingWnd(HWND hWnd, HINSTANCE hInstance);

    // Layout, the DPI and the button bar (resize.cpp, dpichange.cpp, buttonbar.cpp)
    void PlaceChildren(int width, int height);
    LRESULT OnDpiChanged(HWND hWnd, WPARAM wParam, const RECT* suggested);
    void CenterSettingWndOnMain();
    LRESULT OnEditMouse(WPARAM leftEditor, LPARAM show);
    bool IsPopupClickPoint(DWORD messagePos) const;
    LRESULT OnMemoMoved();

    // Hiding, the pop-up and the settings result (activation.cpp, popup.cpp, settings.cpp)
    LRESULT OnActivate(HWND hWnd, WORD state);
    LRESULT OnNcActivate(HWND hWnd, WPARAM wParam, LPARAM lParam);
    bool IsShowRequest(WPARAM key, LPARAM flags);
    LRESULT OnShowMemo(HWND hWnd, WPARAM key, LPARAM flags);
    void PlacePopup(Placement& placement);
    void ClickIntoEditor(HWND hWnd, POINT restoreCursor);
    LRESULT OnSettingDone(HWND hWnd, WPARAM closed, LPARAM alpha);
    void TakeBackActivation(HWND hWnd);
    void ApplyAutostartSetting();

    // The search (search.cpp)
    bool CreateSearchWnd();
    LRESULT OnSearchOpen(HWND hWnd, const SearchHit* hit);
    LRESULT OnSearchDone(HWND hWnd);
    LRESULT OnActivateApp(HWND hWnd, BOOL active);
    LRESULT OnMemoFilled();
    void CloseSearchWnd(HWND hWnd);
    void SelectFirstHit();
    void FindNextHit(bool back);

    // Commands (commands.cpp)
    LRESULT OnCommand(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool RefuseBehindMessageBox(WORD id, WORD code);
    void NewMemo();
    void DeleteCurrentMemo();
    void SwitchToSelectedMemo();
    // Saves the memo shown before another is shown; false, and the list back
    // to what the editor holds, where it could not be saved.
    bool LeaveShownMemo();
    void ShowChosenMemo(const std::string& name);
    void OnPinClicked(HWND hWnd);
    bool OnStripKey(WORD id);
    void ToggleCheckBox(HWND box, WORD id);
    void ReturnFromListToEditor();
    void RepaintButton(int id);

    // Ending (ending.cpp, tray.cpp)
    LRESULT OnDestroy(HWND hWnd);
    LRESULT OnQueryEndSession(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnEndSession(HWND hWnd, BOOL ending);
    LRESULT OnTrayNotify(HWND hWnd, LPARAM mouseMsg);
    LRESULT OnTaskbarCreated(HWND hWnd);
    LRESULT OnParentNotify(HWND hWnd, WORD event);
    void EndProgram(HWND hWnd);
    bool SaveBeforeEnd(HWND hWnd);
    void SaveBeforeWindowsGo(HWND hWnd);
    void AddTrayIcon(HWND hWnd, HINSTANCE hInstance);

    // Names and tips (tooltip.cpp)
    void CreateTooltip(HWND hWnd);
    LRESULT OnNotify(HWND hWnd, const NMHDR* header, LPARAM lParam);
    void ApplyWindowIcons(int dpi);
    void RemoveTrayIcon(HWND hWnd);
    void StorePosition(HWND hWnd);

    CMainFonts m_fonts;
    CStartLook m_startLook;  // the memo folder, looked into while the window is made
    HICON m_hIcons[2] = {};  // big, small: the window's own, at its DPI
    HICON m_hClassIcons[2] = {};  // big, small: its class's, at m_nClassIconDpi
    int m_nClassIconDpi = 0;
    HWND m_hTooltip = nullptr;
    CForwardedModifiers m_forwardedMods;
    // A memo opened from the search that is still filling in: its first hit
    // is selected once it is all in.
    std::string m_selectWhenFilled;
};

// The outer size of a captioned window with a client area of width x height
// in 96-DPI units, at dpi.
RECT OuterWindowRect(int width, int height, int dpi);
