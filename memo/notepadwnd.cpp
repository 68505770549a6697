#include "memo/notepadwnd.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string>

#include "app/basewnd.h"
#include "app/bounded.h"
#include "app/config.h"
#include "app/curdir.h"
#include "app/globals.h"
#include "app/messages.h"
#include "memo/memoname.h"
#include "memo/memostore.h"
#include "memo/syserror.h"
#include "memo/title.h"
#include "startup/links.h"

namespace {
const char kNoMemo[] = "null";
const char kReadCaption[] = "ファイルの読み込みに失敗しました";
const char kShowCaption[] = "テキストの表示に失敗しました";
const char kSaveCaption[] = "ファイルの保存に失敗しました %s";
const char kOpenClipboardCaption[] = "クリップボードを開くのに失敗しました";
const char kCopyCaption[] = "クリップボードへのコピーに失敗しました";
const char kLinkCaption[] = "スタートアップへのショートカットの作成に失敗しました %s";
const char kMoveLinkCaption[] = "スタートアップのショートカットの名前の変更に失敗しました %s";
const char kFontFace[] = "メイリオ";
const int kFontHeight = 21;

// The editor's whole text; owned by the caller, nullptr when it cannot be
// allocated. length receives its size without the NUL.
std::unique_ptr<char[]> ReadEditorText(HWND hWnd, size_t extra, int& length)
{
    int capacity = GetWindowTextLengthA(hWnd) + 1;
    std::unique_ptr<char[]> text(new (std::nothrow) char[capacity + extra]);
    if (!text) return nullptr;
    length = GetWindowTextA(hWnd, text.get(), capacity);
    return text;
}

void ShowSaveFailure(const std::string& name, DWORD error)
{
    char file[kPathSize];
    char caption[kPathSize + sizeof(kSaveCaption)];
    FormatBounded(file, sizeof(file), "%s.txt", name.c_str());
    FormatBounded(caption, sizeof(caption), kSaveCaption, file);
    ShowSystemError(caption, error);
}

// caption: a format for the link's file name, <link>.lnk.
void ShowLinkFailure(const char* captionFormat, const std::string& link, DWORD error)
{
    char file[kPathSize];
    char caption[kPathSize + sizeof(kMoveLinkCaption)];
    FormatBounded(file, sizeof(file), "%s.lnk", link.c_str());
    FormatBounded(caption, sizeof(caption), captionFormat, file);
    ShowSystemError(caption, error);
}

// Opens memo file `file` of the memo folder for reading; on failure the
// handle is INVALID_HANDLE_VALUE and error says why.
HANDLE OpenMemoFile(const char* file, DWORD& error)
{
    char folder[kPathSize];
    FormatMemoFolder(folder, sizeof(folder));
    ScopedCurrentDirectory inMemo(folder);
    if (!inMemo.ok()) {
        error = ERROR_PATH_NOT_FOUND;
        return INVALID_HANDLE_VALUE;
    }
    HANDLE hFile = CreateFileA(file, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    error = hFile == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    return hFile;
}

// A memo that is not there is no error; one that is there but cannot be
// opened (another program holds it, say) is.
bool IsMissingFileError(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME;
}

void MoveCaretToEnd(HWND hWnd)
{
    int length = GetWindowTextLengthA(hWnd);
    SendMessageA(hWnd, EM_SETSEL, length, length);
}

// A movable block holding the editor's whole text and its NUL, for the
// clipboard; the caller owns it. nullptr (last error set) on failure.
HGLOBAL CopyTextToGlobal(HWND hWnd)
{
    int capacity = GetWindowTextLengthA(hWnd) + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, capacity);
    if (!block) return nullptr;
    char* text = static_cast<char*>(GlobalLock(block));
    if (!text) {
        DWORD error = GetLastError();
        GlobalFree(block);
        SetLastError(error);
        return nullptr;
    }
    GetWindowTextA(hWnd, text, capacity);
    GlobalUnlock(block);
    return block;
}
}  // namespace

CNotepadWnd::CNotepadWnd() : m_pszName(new (std::nothrow) char[kMemoNameSize]) {}

CNotepadWnd::~CNotepadWnd()
{
    delete[] m_pszName;
}

LRESULT CNotepadWnd::HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_COMMAND:
        OnCommand(hWnd, LOWORD(wParam));
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(hWnd, wParam);
        break;
    case WM_LBUTTONDOWN:
        SendMessageA(GetParent(hWnd), WM_EDITMOUSE, 0, SW_HIDE);
        break;
    case WM_MOUSELEAVE:
        return OnMouseLeave(hWnd);
    case WM_INITCTRL:
        return OnInitCtrl(hWnd);
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefSubclassProc(hWnd, msg, wParam, lParam);
}

void CNotepadWnd::OnCommand(HWND hWnd, WORD id)
{
    if (id == ID_SELECTALL) SendMessageA(hWnd, EM_SETSEL, 0, GetWindowTextLengthA(hWnd));
    if (id == ID_TIMESTAMP) InsertTimestamp();
}

// A drag with only the left button down leaves the button bar alone.
void CNotepadWnd::OnMouseMove(HWND hWnd, WPARAM keys)
{
    if (keys == MK_LBUTTON) return;
    TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, hWnd, 0};
    TrackMouseEvent(&track);
    SendMessageA(GetParent(hWnd), WM_EDITMOUSE, 0, SW_SHOW);
}

LRESULT CNotepadWnd::OnMouseLeave(HWND hWnd)
{
    SendMessageA(GetParent(hWnd), WM_EDITMOUSE, 1, SW_HIDE);
    return 0;
}

// The font goes first, so that a long memo is laid out once, in it.
LRESULT CNotepadWnd::OnInitCtrl(HWND hWnd)
{
    // Typing would otherwise stop at 30,000 characters: a longer memo could
    // be shown but not edited.
    SendMessageA(hWnd, EM_SETLIMITTEXT, 0, 0);
    g_ctrlFont.lfHeight = kFontHeight;
    ApplyFont(g_ctrlFont, kFontFace, hWnd);
    CopyBounded(m_pszName, kMemoNameSize, g_config->PrevFile);
    LoadMemo(false, m_pszName);
    SetFocus(hWnd);
    return 0;
}

void CNotepadWnd::LoadMemo(bool clear, const char* name)
{
    SetWindowTextA(m_hWnd, "");
    char file[kPathSize];
    if (clear || IsReservedMemoName(name) || !FormatBounded(file, sizeof(file), "%s.txt", name)) {
        g_config->SetPrevFile(kNoMemo);
        return;
    }
    DWORD openError = ERROR_SUCCESS;
    HANDLE hFile = OpenMemoFile(file, openError);
    bool shown = hFile != INVALID_HANDLE_VALUE && ShowMemoFile(hFile);
    if (hFile != INVALID_HANDLE_VALUE) CloseHandle(hFile);
    if (!shown) {
        g_config->SetPrevFile(kNoMemo);
        if (hFile == INVALID_HANDLE_VALUE && !IsMissingFileError(openError)) ShowSystemError(kReadCaption, openError);
        return;
    }
    if (name != g_config->PrevFile) g_config->SetPrevFile(name);
    SetFocus(m_hWnd);
}

// Anything short of the whole text shown leaves the editor empty: a save of
// a partly read memo would cut it short on disk.
bool CNotepadWnd::ShowMemoFile(HANDLE hFile)
{
    m_dwRead = 0;
    DWORD high = 0;
    DWORD size = GetFileSize(hFile, &high);
    if (size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
        ShowSystemError(kReadCaption, kLastError);
        return false;
    }
    std::unique_ptr<char[]> text(high == 0 && size != MAXDWORD ? new (std::nothrow) char[size + 1] : nullptr);
    if (!text) {
        ShowSystemError(kReadCaption, ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    if (!ReadFile(hFile, text.get(), size, &m_dwRead, nullptr)) {
        ShowSystemError(kReadCaption, kLastError);
        return false;
    }
    text[m_dwRead] = '\0';
    // A NUL would end the text there, and the next save of an edit would cut
    // the memo short; it shows as a space instead.
    std::replace(text.get(), text.get() + m_dwRead, '\0', ' ');
    if (!SetWindowTextA(m_hWnd, text.get())) {
        ShowSystemError(kShowCaption, kLastError);
        SetWindowTextA(m_hWnd, "");
        return false;
    }
    MoveCaretToEnd(m_hWnd);
    return true;
}

bool CNotepadWnd::SaveMemo()
{
    int length = 0;
    std::unique_ptr<char[]> text = ReadEditorText(m_hWnd, 0, length);
    if (!text) {
        ShowSaveFailure(g_config->PrevFile, ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    if (length <= 0) return true;
    std::string name = DeriveTitle(text.get(), IsAnsiLeadByte);
    // Shown once the start directory is back: the box runs a message loop
    // whose handlers name files relative to it.
    LinkFailure linkFailure;
    DWORD error = SaveInMemoFolder(text.get(), static_cast<DWORD>(length), name, linkFailure);
    if (error != ERROR_SUCCESS) {
        ShowSaveFailure(name, error);
        return false;
    }
    // The memo is stored: a link that failed is told of, and the save stands.
    if (linkFailure.error != ERROR_SUCCESS) ShowLinkFailure(linkFailure.caption, linkFailure.link, linkFailure.error);
    return true;
}

bool CNotepadWnd::IsModified() const
{
    return SendMessageA(m_hWnd, EM_GETMODIFY, 0, 0) != FALSE;
}

// `name` comes in as the title and goes out as the name the memo is stored,
// or was to be stored, under.
DWORD CNotepadWnd::SaveInMemoFolder(const char* text, DWORD length, std::string& name, LinkFailure& linkFailure)
{
    char folder[kPathSize];
    FormatMemoFolder(folder, sizeof(folder));
    // A memo folder deleted while the program runs is made again, so that
    // the memo has somewhere to go.
    if (GetFileAttributesA(folder) == INVALID_FILE_ATTRIBUTES) CreateDirectoryA(folder, nullptr);
    ScopedCurrentDirectory inMemo(folder);
    if (!inMemo.ok()) return ERROR_PATH_NOT_FOUND;
    std::string current = g_config->PrevFile;
    if (IsStoredUnchanged(current)) {
        UpdateStartupLink(current.c_str(), linkFailure);
        return ERROR_SUCCESS;
    }
    std::optional<std::string> chosen = ChooseMemoName(name, current, MemoFileExists, FoldMemoName);
    if (!chosen) return ERROR_FILE_EXISTS;
    name = *chosen;
    DWORD error = StoreMemo(text, length, name, current);
    if (error != ERROR_SUCCESS) return error;
    if (name != current) {
        if (!g_bStartupLink) RemoveMemoLink(current.c_str());
        else linkFailure = {RenameMemoLink(name.c_str(), current.c_str()), kMoveLinkCaption, current};
    }
    g_config->SetPrevFile(name.c_str());
    SendMessageA(m_hWnd, EM_SETMODIFY, FALSE, 0);
    UpdateStartupLink(name.c_str(), linkFailure);
    return ERROR_SUCCESS;
}

// Not written again: the editor cannot give back every byte it was given
// (a NUL, a broken double-byte pair), and the file may have been changed by
// another program since. Runs in the memo folder.
bool CNotepadWnd::IsStoredUnchanged(const std::string& current) const
{
    if (IsModified() || IsReservedMemoName(current)) return false;
    char file[kPathSize];
    if (!FormatBounded(file, sizeof(file), "%s.txt", current.c_str())) return false;
    DWORD attributes = GetFileAttributesA(file);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Runs in the memo folder, as the link operations expect. A link that could
// not be made unchecks the Startup box: the window must not claim a link
// that is not there. The first failure of the save is the one told of.
void CNotepadWnd::UpdateStartupLink(const char* name, LinkFailure& linkFailure)
{
    if (!g_bStartupLink) {
        RemoveMemoLink(name);
        return;
    }
    DWORD error = CreateMemoLink(name);
    if (error == ERROR_SUCCESS) return;
    g_bStartupLink = FALSE;
    CheckDlgButton(GetParent(m_hWnd), IDC_STARTUP, BST_UNCHECKED);
    if (linkFailure.error == ERROR_SUCCESS) linkFailure = {error, kLinkCaption, name};
}

void CNotepadWnd::DeleteMemo()
{
    CopyBounded(m_pszName, kMemoNameSize, g_config->PrevFile);
    char file[kPathSize];
    if (!IsReservedMemoName(m_pszName) && FormatBounded(file, sizeof(file), "%s.txt", m_pszName)) {
        char folder[kPathSize];
        FormatMemoFolder(folder, sizeof(folder));
        ScopedCurrentDirectory inMemo(folder);
        if (inMemo.ok()) DeleteFileA(file);
    }
    LoadMemo(true, kNoMemo);
}

// The clipboard stays untouched unless the whole text is ready to go on it,
// and it is closed again before any message box comes up.
void CNotepadWnd::CopyToClipboard()
{
    HGLOBAL block = CopyTextToGlobal(m_hWnd);
    if (!block) {
        ShowSystemError(kCopyCaption, kLastError);
        return;
    }
    if (!OpenClipboard(m_hWnd)) {
        DWORD error = GetLastError();
        GlobalFree(block);
        ShowSystemError(kOpenClipboardCaption, error);
        return;
    }
    EmptyClipboard();
    if (!SetClipboardData(CF_TEXT, block)) {
        DWORD error = GetLastError();
        GlobalFree(block);
        CloseClipboard();
        ShowSystemError(kCopyCaption, error);
        return;
    }
    CloseClipboard();
}

void CNotepadWnd::InsertTimestamp()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[64];
    FormatBounded(stamp, sizeof(stamp), "\r\n%d/%d/%d %d:%d:%d\r\n", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute, now.wSecond);
    size_t stampLength = strlen(stamp);
    int length = 0;
    std::unique_ptr<char[]> text = ReadEditorText(m_hWnd, stampLength, length);
    if (!text) return;
    memcpy(text.get() + length, stamp, stampLength + 1);
    SetWindowTextA(m_hWnd, text.get());
    // Text set from outside counts as unedited; the stamp is an edit.
    SendMessageA(m_hWnd, EM_SETMODIFY, TRUE, 0);
    MoveCaretToEnd(m_hWnd);
    // A multi-line edit reports no change for text set from outside, and the
    // main window enables the Startup box on a change.
    SendMessageA(GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(m_hWnd), EN_CHANGE),
                 reinterpret_cast<LPARAM>(m_hWnd));
}
