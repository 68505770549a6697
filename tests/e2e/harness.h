#pragma once
// Runs the real MossvanePad.exe in a fresh, empty temporary folder and drives
// it through its window, as a user and the system would.
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

class MemoApp {
public:
    MemoApp();   // makes the folder and copies the program and its hook library in
    ~MemoApp();  // ends the program if it still runs, removes the folder

    const std::string& Dir() const { return m_dir; }
    std::string PathOf(const std::string& relative) const;

    // Files of the program's folder.
    void WriteFile(const std::string& relative, const std::string& content) const;
    std::string ReadFile(const std::string& relative) const;
    bool FileExists(const std::string& relative) const;
    bool FolderExists(const std::string& relative) const;

    // Starts the program in `dir` (default: the folder) and waits until its
    // memo window exists. False if it did not come up in time.
    bool Start(const std::string& dir = "");
    // Starts the program without waiting for its window.
    bool StartProcess(const std::string& dir = "");
    // Waits until the memo window of the started program exists, has
    // finished its start and answers.
    bool WaitForWindow(DWORD timeoutMs = 30000);
    // Starts another copy and waits for it to end; returns its exit code.
    DWORD StartAndWait(const std::string& dir = "", DWORD timeoutMs = 30000);

    // Starts another copy, which pops the hidden window up, and waits until
    // the pop-up's click has made it the foreground window with the editor
    // focused. False if it did not get there in time.
    bool PopUp();
    // Sends the window the show request that a second start sends, and
    // waits as PopUp does: the same pop-up without a process start.
    bool PopUpByRequest();

    HWND Window() const { return m_hWnd; }
    DWORD ProcessId() const { return m_pi.dwProcessId; }
    HANDLE Process() const { return m_pi.hProcess; }
    bool IsRunning() const;

    // Ends the program as a user does, with a left click on its tray icon;
    // returns the exit code, or STILL_ACTIVE if it did not end in time.
    DWORD EndFromTray(DWORD timeoutMs = 30000);
    // The same click, without waiting.
    void ClickTrayIcon() const;
    DWORD WaitForExit(DWORD timeoutMs);
    // Ends the process at once, as a crash or Windows shutting down would.
    void Kill();

    // Child controls of the memo window by control id (IDC_EDIT is 200).
    HWND Child(int id) const { return GetDlgItem(m_hWnd, id); }
    HWND Editor() const { return Child(200); }
    // GetWindowText does not ask a control of another process for its text;
    // WM_GETTEXT does.
    std::string EditorText() const;
    // Waits until the editor shows `text` whole: a memo that fills in piece
    // by piece is all in, and the editor is shown again.
    bool WaitUntilShown(const std::string& text, DWORD timeoutMs = 15000) const;
    // Replaces the editor's whole text as typing does: the editor tells the
    // memo window of the change.
    void TypeText(const std::string& text) const;
    // Sends WM_COMMAND for control `id` as a click on it does; false when the
    // program did not handle it in time (a message box it opened is up).
    bool Command(int id, WORD code = BN_CLICKED) const;
    // The same without waiting, for a command that brings up a message box.
    void PostCommand(int id, WORD code = BN_CLICKED) const;
    // Picks a memo in the memo list as the user does: opens the list (which
    // re-reads the memo folder), selects the entry, and the list notifies.
    // False when the entry is not listed or the switch did not end in time.
    bool PickMemo(const std::string& file) const;
    // The same up to the notice, which the caller gives.
    bool SelectInList(const std::string& file) const;
    // Clicks a check box of the memo window (it toggles and notifies).
    bool ClickCheckBox(int id) const;
    bool IsChecked(int id) const;
    // Brings the memo window to the front and gives child `id` the keyboard
    // focus, as a click on it would; false if the focus did not get there.
    bool FocusChild(int id) const;
    // The keyboard focus of the program's GUI thread.
    HWND FocusWindow() const;
    // The memo window's position and a child's rectangle in its client area.
    RECT WindowRect() const;
    RECT ChildRect(int id) const;
    // Whether the memo window is hidden; waits for it.
    bool WaitHidden(DWORD timeoutMs = 15000) const;
    bool WaitShown(DWORD timeoutMs = 15000) const;
    std::string Memo(const std::string& name) const { return ReadFile("memo\\" + name + ".txt"); }
    std::vector<std::string> MemoFiles() const;
    // The same without the recovery journal, which is no memo: what the
    // memo folder stores.
    std::vector<std::string> StoredMemoFiles() const;
    std::string Ini(const char* section, const char* key) const;

    // A message box of the program's process (dialog class "#32770").
    HWND WaitForMessageBox(DWORD timeoutMs = 15000) const;
    static std::string WindowText(HWND hWnd);
    static std::string MessageBoxText(HWND box);
    static void DismissMessageBox(HWND box);

private:
    bool Launch(const std::string& dir, PROCESS_INFORMATION& pi) const;
    bool WaitPoppedUp() const;

    std::string m_dir;
    PROCESS_INFORMATION m_pi = {};
    HWND m_hWnd = nullptr;
};

// This computer's name, and the name of its journal in the memo folder
// ("~memojournal-<computer>.bin").
std::string ComputerName();
std::string JournalFile();

// Windows of the given process with the given class name (any title).
std::vector<HWND> TopLevelWindowsOf(DWORD processId, const char* className);
// Polls `done` until it is true or the time is up.
template <typename F>
bool WaitUntil(F done, DWORD timeoutMs = 15000)
{
    for (DWORD waited = 0; waited < timeoutMs; waited += 20) {
        if (done()) return true;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(20);
    }
    return done();
}

// A plain window of the test process that takes the activation away from
// the program, as a click on another program does.
void ActivateOtherWindow();

// Real input, as the hardware gives it: the mouse in screen pixels, and key
// presses (each key pressed in order, released in reverse order).
void MoveMouse(int x, int y);
void PressLeftButton();
void ReleaseLeftButton();
void PressKeys(std::initializer_list<BYTE> keys);

// The clipboard's CF_TEXT, or "<none>" when it holds none.
std::string ClipboardText();
// The clipboard's CF_UNICODETEXT, or L"<none>".
std::wstring ClipboardUnicodeText();
// Keeps the clipboard open, so that the program cannot open it.
class ClipboardLock {
public:
    ClipboardLock();
    ~ClipboardLock();
    bool ok() const { return m_bOpen; }

private:
    bool m_bOpen;
};

// Moves the mouse cursor and waits until the system reports it there.
bool MoveCursorTo(int x, int y);

// Wine's Recycle Bin, where its shell moves what is deleted: "...\Trash\",
// whose "files" folder holds the files.
std::string RecycleBinFolder();

// Reads one value of an ini file as the program's settings store does.
std::string IniValue(const std::string& iniPath, const char* section, const char* key);

// A file of that name in the Recycle Bin, where Wine's shell moves what is
// deleted; removed before and after.
class TrashedFile {
public:
    explicit TrashedFile(const std::string& name);
    ~TrashedFile() { Remove(); }
    // Its bytes, or "<not in the trash>".
    std::string Content() const;
    // Moves it back to `target` (a full path), as a restore from the bin.
    bool RestoreTo(const std::string& target) const;

private:
    void Remove() const;
    std::string m_file;
    std::string m_info;
};
