#pragma once
#include "app/basewnd.h"

class CNotepadWnd;
class CButtonWnd;
class CFileList;
class CPinWnd;
class CSettingWnd;

// The memo window. Owns every other window object of the program and the
// settings record.
class CMainWnd final : public CBaseWnd {
public:
    CMainWnd();
    ~CMainWnd();

    // False when an allocation of the object graph failed or the settings
    // could not be set up; the program must not go on then.
    bool IsValid() const;

    LRESULT HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT SetFont(HINSTANCE hInstance, const char* face, HWND hWnd) override;

    void Resize(int width, int height);
    void ShowButtons(int show);
    int IsCursorOnButton();
    void UpdateStartupBox();
    void SyncStartupLink(const char* name);
    void ShowSettingWnd();
    bool FindMemoLink(const char* name, char* linkName);
    void UpdateAutostartLink(bool enabled);

    CNotepadWnd* m_pNotepad;
    CButtonWnd* m_pButtons;  // four, for the command ids 1 to 4
    CFileList* m_pFileList;
    CPinWnd* m_pPin;
    CSettingWnd* m_pSetting;
    HWND m_hStartup = nullptr;
    HWND m_hShortcut = nullptr;
    BOOL m_bPinned = FALSE;
    BOOL m_bShortcut = TRUE;
    RECT m_rcWindow = {};      // outer rectangle at start-up; the pop-up takes its size
    BOOL m_bSettingOpen = FALSE;

private:
    LRESULT OnCreate(HWND hWnd, const CREATESTRUCTA* cs);
    LRESULT OnDestroy(HWND hWnd);
    LRESULT OnShowMemo(HWND hWnd, WPARAM key, LPARAM force);
    LRESULT OnTrayNotify(HWND hWnd, LPARAM mouseMsg);
    LRESULT OnEndSession(HWND hWnd, BOOL ending);

    void AddTrayIcon(HWND hWnd, HINSTANCE hInstance);
    void RemoveTrayIcon(HWND hWnd);
    void StorePosition(HWND hWnd);
};

// The outer size of a captioned window with a client area of width x height.
RECT OuterWindowRect(int width, int height);
