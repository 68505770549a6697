#include "memo/notepadwnd.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string>

#include "app/basewnd.h"
#include "app/bounded.h"
#include "app/config.h"
#include "app/globals.h"
#include "app/messages.h"
#include "app/msgbox.h"
#include "app/scopedhandles.h"
#include "memo/memoname.h"
#include "memo/memofiles.h"
#include "memo/startlook.h"
#include "memo/syserror.h"
#include "memo/textencoding.h"
#include "memo/textpieces.h"
#include "memo/title.h"
#include "memo/unstorable.h"

namespace {
const char kReadCaption[] = "ファイルの読み込みに失敗しました";
const char kShowCaption[] = "テキストの表示に失敗しました";
const char kSaveCaption[] = "ファイルの保存に失敗しました %s";
const char kKeptInJournal[] = "\r\n\r\n入力した文章は復元用の記録に残しました。次に MossvanePad を起動すると、"
                              "そのままエディタに戻ります。";
const char kKeptNowhere[] = "\r\n\r\n入力した文章は復元用の記録にも残せませんでした。"
                            "失わないように、MossvanePad は終了せずに開いたままにします。";
const char kDeleteCaption[] = "メモの削除に失敗しました";
const char kNoRecycleBinCaption[] = "ごみ箱に移せません";
const char kNoRecycleBinText[] = "このメモのフォルダーにはごみ箱がありません。削除すると、メモは元に戻せなくなります。"
                                 "\r\n\r\n完全に削除しますか?";
const char kRestoreKeptIn[] = "\r\n\r\n前回保存されなかった文章は表示できませんでしたが、消さずに次のファイルに残してあります。"
                              "次に MossvanePad を起動すると、もう一度表示します:\r\n";
const char kUnstorableCaption[] = "保存できない文字があります";
const char kUnstorableBefore[] = "次の文字はメモのファイル (Shift-JIS) に保存できません:\r\n\r\n";
const char kUnstorableAfter[] = "\r\n\r\nこのまま保存すると、これらは「?」などの別の文字に置き換わります。"
                                "このまま保存しますか?\r\n\r\n"
                                "「いいえ」を選ぶと保存せずにウィンドウを開いたままにします。文章を直してください。";
const char kUnstorableDelete[] = "\r\n\r\nこのまま削除すると、ごみ箱に移すファイルではこれらが「?」などの別の文字に"
                                 "置き換わります。このまま削除しますか?\r\n\r\n"
                                 "「いいえ」を選ぶと削除せずにそのままにします。";
const char kUnheldCaption[] = "Shift-JIS として読めないバイトがあります";
const char kUnheldText[] = "このメモのファイルには、Shift-JIS として読めないバイト (別の文字コードの文字、"
                           "壊れた文字) があります。エディタはそれらを「・」などの別の文字で表示しています。"
                           "\r\n\r\n保存すると、編集していない部分も表示どおりに書き換わり、元のバイトには戻せません。"
                           "このまま保存しますか?\r\n\r\n"
                           "「いいえ」を選ぶと保存せずにウィンドウを開いたままにします。ファイルは今のまま残ります。";
const char kUnheldDelete[] = "このメモのファイルには、Shift-JIS として読めないバイト (別の文字コードの文字、"
                             "壊れた文字) があります。エディタはそれらを「・」などの別の文字で表示しています。"
                             "\r\n\r\n削除すると、ごみ箱に移すファイルでは編集していない部分も表示どおりに"
                             "書き換わり、元のバイトには戻せません。このまま削除しますか?\r\n\r\n"
                             "「いいえ」を選ぶと削除せずにそのままにします。";

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

std::string SaveCaption(const std::string& name)
{
    char file[kPathSize];
    char caption[kPathSize + sizeof(kSaveCaption)];
    if (!FormatMemoFileName(file, sizeof(file), name)) CopyBounded(file, sizeof(file), name.c_str());
    FormatBounded(caption, sizeof(caption), kSaveCaption, file);
    return caption;
}

// caption: a format for the link's file name, <link>.lnk.
void ShowLinkFailure(const char* captionFormat, const std::string& link, DWORD error)
{
    char file[kPathSize];
    char caption[kPathSize + 128];
    FormatBounded(file, sizeof(file), "%s.lnk", link.c_str());
    FormatBounded(caption, sizeof(caption), captionFormat, file);
    ShowSystemError(caption, error);
}

std::wstring Widen(const char* ansi)
{
    int length = MultiByteToWideChar(CP_ACP, 0, ansi, -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(std::max(length, 1)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi, -1, &wide[0], length);
    wide.resize(wide.size() - 1);
    return wide;
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
    case WM_LBUTTONDBLCLK:
        SendMessageA(GetParent(hWnd), WM_EDITMOUSE, 0, SW_HIDE);
        if (GetMessageExtraInfo() == POPUP_CLICK_INFO) return OnPopupClick(hWnd, wParam, lParam);
        break;
    case WM_MOUSELEAVE:
        return OnMouseLeave(hWnd);
    case WM_TIMER:
        if (wParam == kFillTimer) OnFillTimer();
        else if (wParam == kJournalTimer) OnJournalTimer();
        else if (wParam == kLookTimer) OnLookTimer();
        else break;
        return 0;
    case WM_INITCTRL:
        return OnInitCtrl(hWnd, reinterpret_cast<CStartLook*>(lParam));
    case WM_CONTEXTMENU:
        return OnContextMenu(hWnd, lParam);
    case WM_SIZE:
        PlaceFillNote();
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefControlProc(hWnd, msg, wParam, lParam);
}

// Neither selects nor stamps a text that is not all in yet.
void CNotepadWnd::OnCommand(HWND hWnd, WORD id)
{
    if (IsFilling()) return;
    if (id == ID_SELECTALL) SendMessageA(hWnd, EM_SETSEL, 0, GetWindowTextLengthA(hWnd));
    if (id == ID_TIMESTAMP) InsertTimestamp();
}

// The pop-up's click only puts the caret: the shortcut's Shift would make it
// select from the old caret, and its Ctrl a word. The editor reads them from
// the click's flags or from the key state, so it sees neither for this click.
// A second pop-up within the double-click time is a plain click as well.
LRESULT CNotepadWnd::OnPopupClick(HWND hWnd, WPARAM keys, LPARAM at)
{
    const WPARAM plainKeys = keys & ~(MK_SHIFT | MK_CONTROL);
    BYTE held[256];
    if (!GetKeyboardState(held)) return DefControlProc(hWnd, WM_LBUTTONDOWN, plainKeys, at);
    BYTE plain[256];
    memcpy(plain, held, sizeof(plain));
    for (int vk : {VK_SHIFT, VK_LSHIFT, VK_RSHIFT, VK_CONTROL, VK_LCONTROL, VK_RCONTROL}) plain[vk] &= 0x7F;
    // The key state is changed, and put back, only when it holds one of them.
    if (memcmp(plain, held, sizeof(plain)) == 0) return DefControlProc(hWnd, WM_LBUTTONDOWN, plainKeys, at);
    SetKeyboardState(plain);
    const LRESULT result = DefControlProc(hWnd, WM_LBUTTONDOWN, plainKeys, at);
    SetKeyboardState(held);
    return result;
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

// The memo window has given the editor its font for the DPI already, so
// that a long memo is laid out once, in it. Text a previous run journaled
// but never stored comes back in place of the last memo.
LRESULT CNotepadWnd::OnInitCtrl(HWND hWnd, CStartLook* look)
{
    // Typing would otherwise stop at 30,000 characters: a longer memo could
    // be shown but not edited.
    SendMessageA(hWnd, EM_SETLIMITTEXT, 0, 0);
    // Without the start's look each leftover is looked for by its name.
    const bool leftovers = !look || look->MayHoldLeftovers();
    if (leftovers) m_store.RecoverInterruptedRename();
    if (!RestoreFromJournal(leftovers)) {
        CopyBounded(m_pszName, kMemoNameSize, g_config->PrevFile);
        LoadMemo(false, m_pszName);
    }
    if (!IsFilling()) SetFocus(hWnd);
    return 0;
}

void CNotepadWnd::LoadMemo(bool clear, const char* name)
{
    StopFilling();
    m_dwRead = 0;
    // The text shown replaces the last one whole; emptying the editor first
    // cost as much as showing a short memo.
    if (clear) {
        SetWindowTextA(m_hWnd, "");
        g_config->SetPrevFile(kNoMemoName);
        m_store.Forget();
        return;
    }
    std::unique_ptr<char[]> text;
    bool missing = false;
    DWORD error = m_store.Read(name, text, m_dwRead, missing);
    if (error != ERROR_SUCCESS) {
        SetWindowTextA(m_hWnd, "");
        g_config->SetPrevFile(kNoMemoName);
        if (!missing) ShowSystemError(kReadCaption, error);
        return;
    }
    if (ShowRead(name, std::move(text)) && !IsFilling()) SetFocus(m_hWnd);
}

// The m_dwRead bytes read of memo `name` replace the editor's text; false
// when they could not be shown (a message box has said why).
bool CNotepadWnd::ShowRead(const char* name, std::unique_ptr<char[]> text)
{
    DWORD error = ERROR_SUCCESS;
    if (m_store.Encoding() != MemoEncoding::ShiftJis) {
        error = ShowDecoded(text.get(), m_dwRead);
    } else {
        // A NUL would end the text there, and the next save of an edit would
        // cut the memo short; it shows as a space instead.
        std::replace(text.get(), text.get() + m_dwRead, '\0', ' ');
        error = ShowText(std::move(text), m_dwRead, false);
    }
    if (error != ERROR_SUCCESS) {
        g_config->SetPrevFile(kNoMemoName);
        ShowSystemError(kShowCaption, error);
        return false;
    }
    if (name != g_config->PrevFile) g_config->SetPrevFile(name);
    return true;
}

// Anything short of the whole text shown leaves the editor empty: a save of
// a partly shown memo would cut it short on disk. The caller tells of the
// error once the memo it was showing is settled. `edited`: the text counts
// as typed, not as stored.
DWORD CNotepadWnd::ShowText(std::unique_ptr<char[]> text, size_t size, bool edited)
{
    if (IsSlowToShow(text.get(), size)) {
        StartFilling(std::move(text), size, edited);
        return ERROR_SUCCESS;
    }
    if (!PutText(text.get(), size)) {
        SetWindowTextA(m_hWnd, "");
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    SendMessageA(m_hWnd, EM_SETMODIFY, edited, 0);
    return ERROR_SUCCESS;
}

// The text replaces the editor's whole text as a replaced selection, which
// leaves the caret at its end: Wine's control takes it so in half the time
// that WM_SETTEXT and moving the caret after it take. False when the control
// could not take all of it.
bool CNotepadWnd::PutText(const char* text, size_t size)
{
    m_bPuttingText = true;
    SendMessageA(m_hWnd, EM_SETSEL, 0, -1);
    int put = ReplaceEditSelection(m_hWnd, text, size);
    m_bPuttingText = false;
    return put >= 0 && GetWindowTextLengthW(m_hWnd) == put;
}

// Put in at once: only a text that the ANSI code page cannot hold comes
// this way.
DWORD CNotepadWnd::ShowCharacters(const std::wstring& characters, bool edited)
{
    m_bPuttingText = true;
    SendMessageW(m_hWnd, EM_SETSEL, 0, -1);
    SendMessageW(m_hWnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(characters.c_str()));
    m_bPuttingText = false;
    if (static_cast<size_t>(GetWindowTextLengthW(m_hWnd)) != characters.size()) {
        SetWindowTextA(m_hWnd, "");
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    SendMessageA(m_hWnd, EM_SETMODIFY, edited, 0);
    return ERROR_SUCCESS;
}

// A file too large for the copies it takes is told of, and shows nothing.
DWORD CNotepadWnd::ShowDecoded(const char* bytes, size_t size)
{
    try {
        std::u16string decoded;
        if (!DecodeText(bytes, size, m_store.Encoding(), decoded)) return ERROR_INVALID_DATA;
        // wchar_t is UTF-16 on Windows.
        return ShowCharacters(std::wstring(decoded.begin(), decoded.end()), false);
    } catch (const std::bad_alloc&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
}

bool CNotepadWnd::FileBytes(const char* text, int length, std::string& file, const char*& bytes, DWORD& size) const
{
    bytes = text;
    size = static_cast<DWORD>(length);
    if (!m_store.StoresCharacters()) return true;
    try {
        file = m_store.EncodeCharacters(WideText(text, length));
    } catch (const std::bad_alloc&) {
        return false;
    }
    bytes = file.data();
    size = static_cast<DWORD>(file.size());
    return true;
}

// A journaled text that cannot be shown stays in its journal, for the next
// start, and the user is told where it is.
void CNotepadWnd::ShowRestoreFailure(DWORD error)
{
    std::string text = GetSystemErrorText(error);
    std::string journal = m_store.KeepJournal();
    if (!journal.empty()) text += kRestoreKeptIn + journal;
    ShowMessageBox(text.c_str(), kShowCaption);
}

// The control could not take the whole text: as when it cannot take it at
// once, the editor is emptied and holds no memo, without a Startup mark.
// A restored text keeps its journal.
void CNotepadWnd::ShowFillFailure(bool restored)
{
    SetWindowTextA(m_hWnd, "");
    g_config->SetPrevFile(kNoMemoName);
    m_store.MarkStartup(false);
    HWND parent = GetParent(m_hWnd);
    CheckDlgButton(parent, IDC_STARTUP, BST_UNCHECKED);
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(m_hWnd), EN_CHANGE), reinterpret_cast<LPARAM>(m_hWnd));
    if (restored) ShowRestoreFailure(ERROR_NOT_ENOUGH_MEMORY);
    else ShowSystemError(kShowCaption, ERROR_NOT_ENOUGH_MEMORY);
}

// The whole text, from the editor or, while it fills, from what is going
// in; `extra` bytes more are allocated. length receives its size without
// the NUL.
std::unique_ptr<char[]> CNotepadWnd::ReadText(size_t extra, int& length) const
{
    if (!IsFilling()) return ReadEditorText(m_hWnd, extra, length);
    std::unique_ptr<char[]> text(new (std::nothrow) char[m_feed.Size() + 1 + extra]);
    if (!text) return nullptr;
    memcpy(text.get(), m_feed.Text(), m_feed.Size() + 1);
    length = static_cast<int>(m_feed.Size());
    return text;
}

void CNotepadWnd::MoveCaretToEnd()
{
    int length = GetWindowTextLengthA(m_hWnd);
    SendMessageA(m_hWnd, EM_SETSEL, length, length);
}

bool CNotepadWnd::SaveMemo()
{
    m_bKeptForEditing = false;
    // The questions come before the text is read, so that what is stored is
    // what the editor shows once the user answered, with anything typed while
    // a question was up.
    if (IsModified() && !ConfirmRewrite(kUnstorableAfter, kUnheldText)) {
        m_bKeptForEditing = true;
        return false;
    }
    // Nothing written goes over a change made elsewhere.
    Reconcile();
    int length = 0;
    std::unique_ptr<char[]> text = ReadText(0, length);
    if (!text) {
        ShowSaveFailure(g_config->PrevFile, ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    if (length <= 0) {
        m_store.RemoveJournal();
        return true;
    }
    const std::string left = m_store.DetachedFrom();
    std::string name = DeriveTitle(text.get(), IsAnsiLeadByte);
    // Shown once the start directory is back: the box runs a message loop
    // whose handlers name files relative to it.
    LinkFailure linkFailure;
    bool linkDropped = false;
    std::string file;
    const char* bytes = nullptr;
    DWORD size = 0;
    if (!FileBytes(text.get(), length, file, bytes, size)) {
        ShowSaveFailure(g_config->PrevFile, ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    DWORD error = m_store.Store(bytes, size, IsModified(), name, linkFailure, linkDropped);
    if (linkDropped) CheckDlgButton(GetParent(m_hWnd), IDC_STARTUP, BST_UNCHECKED);
    if (error != ERROR_SUCCESS) {
        ShowSaveFailure(name, error);
        return false;
    }
    SendMessageA(m_hWnd, EM_SETMODIFY, FALSE, 0);
    if (!left.empty()) TellKeptAsNew(left, name, false);
    // The memo is stored: a link that failed is told of, and the save stands.
    if (linkFailure.error != ERROR_SUCCESS) ShowLinkFailure(linkFailure.caption, linkFailure.link, linkFailure.error);
    return true;
}

bool CNotepadWnd::SaveBeforeEnd()
{
    m_bEnding = true;
    m_bJournaledAtEnd = false;
    bool saved = SaveMemo();
    m_bEnding = false;
    return saved || m_bJournaledAtEnd;
}

// At the end of the program the text goes into the journal before the box
// says so; the next start brings it back.
void CNotepadWnd::ShowSaveFailure(const std::string& name, DWORD error)
{
    std::string caption = SaveCaption(name);
    if (!m_bEnding) {
        ShowSystemError(caption.c_str(), error);
        return;
    }
    m_bJournaledAtEnd = JournalNow() == ERROR_SUCCESS;
    const char* note = m_bJournaledAtEnd ? kKeptInJournal : kKeptNowhere;
    ShowMessageBox((GetSystemErrorText(error) + note).c_str(), caption.c_str());
    // What was typed while the box was up goes into the journal too.
    if (m_bJournaledAtEnd) JournalNow();
}

// Text still filling in came from a file or the journal as a save stores
// it, and a memo file in a Unicode encoding holds every character: the
// memo file can hold all of it. Bytes of the memo's file that the
// editor shows as other characters are asked about all the same.
bool CNotepadWnd::ConfirmRewrite(const char* unstorableAfter, const char* unheldText)
{
    if (!IsFilling() && !m_store.StoresCharacters() && !ConfirmUnstorable(unstorableAfter)) return false;
    return !m_store.HoldsUnheldBytes() || AskYesDefaultNo(unheldText, kUnheldCaption);
}

// The question comes before anything is stored; without an answer of yes
// nothing is.
bool CNotepadWnd::ConfirmUnstorable(const char* after)
{
    std::wstring found = FindUnstorableCharacters(m_hWnd);
    if (found.empty()) return true;
    std::wstring listed;
    for (wchar_t c : found) {
        if (!listed.empty() && !IS_LOW_SURROGATE(c)) listed += L"  ";
        listed += c;
    }
    std::wstring text = Widen(kUnstorableBefore) + listed + Widen(after);
    return AskYesDefaultNo(text.c_str(), Widen(kUnstorableCaption).c_str());
}

bool CNotepadWnd::IsModified() const
{
    if (IsFilling()) return m_feed.Edited();
    return SendMessageA(m_hWnd, EM_GETMODIFY, 0, 0) != FALSE;
}

bool CNotepadWnd::HasText() const
{
    if (IsFilling()) return m_feed.Size() > 0;
    return GetWindowTextLengthA(m_hWnd) != 0;
}

// The questions come before the text is read, so that what goes to the
// Recycle Bin is what the editor shows once the user answered. Text typed
// while the shell had a question of its own up is no part of what went: it
// stays, as a memo not stored yet. A file changed elsewhere is never what
// goes: unedited here, its new text is shown instead; edited here, the text
// shown goes beside it.
bool CNotepadWnd::DeleteMemo()
{
    bool forGood = !m_store.CanRecycle(HasText());
    if (forGood && !AskYesDefaultNo(kNoRecycleBinText, kNoRecycleBinCaption)) return false;
    if (!forGood && IsModified() && !ConfirmRewrite(kUnstorableDelete, kUnheldDelete)) return false;
    // After the questions: a change made elsewhere while one was up is
    // neither deleted nor written over.
    const ShownAction found = Reconcile();
    if (found == ShownAction::ShowNew) {
        TellNotDeleted();
        return false;
    }
    if (found == ShownAction::Leave) return true;
    const std::string left = m_store.DetachedFrom();
    int length = 0;
    std::unique_ptr<char[]> text = ReadText(0, length);
    if (!text) {
        ShowSystemError(kDeleteCaption, ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    std::string file;
    const char* bytes = nullptr;
    DWORD size = 0;
    if (!FileBytes(text.get(), length, file, bytes, size)) {
        ShowSystemError(kDeleteCaption, ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    DWORD error = m_store.Delete(text.get(), static_cast<DWORD>(length), m_store.StoresCharacters() ? &file : nullptr,
                                 IsModified(), forGood);
    if (error != ERROR_SUCCESS) {
        // The text may have been stored on the way, and a link that could
        // not be made then took the mark back.
        CheckDlgButton(GetParent(m_hWnd), IDC_STARTUP, IsMarkedStartup() ? BST_CHECKED : BST_UNCHECKED);
        if (error != ERROR_CANCELLED) ShowSystemError(kDeleteCaption, error);
        return false;
    }
    if (!left.empty()) TellKeptAsNew(left, "", true);
    if (IsFilling() || IsShowing(text.get(), length)) {
        LoadMemo(true, kNoMemoName);
        return true;
    }
    g_config->SetPrevFile(kNoMemoName);
    SendMessageA(m_hWnd, EM_SETMODIFY, TRUE, 0);
    NoteEdit();
    return true;
}

bool CNotepadWnd::IsShowing(const char* text, int length) const
{
    int now = 0;
    std::unique_ptr<char[]> shown = ReadEditorText(m_hWnd, 0, now);
    return !shown || (now == length && memcmp(shown.get(), text, static_cast<size_t>(length)) == 0);
}

// The stamp goes in as typed text does: every other character stays as it
// is (the editor holds characters the ANSI text could not), and a long memo
// is not laid out again.
void CNotepadWnd::InsertTimestamp()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[64];
    FormatBounded(stamp, sizeof(stamp), "\r\n%d/%d/%d %d:%d:%d\r\n", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute, now.wSecond);
    MoveCaretToEnd();
    SendMessageA(m_hWnd, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(stamp));
    SendMessageA(m_hWnd, EM_SETMODIFY, TRUE, 0);
}
