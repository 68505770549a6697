#include "memo/notepadwnd.h"

#include <memory>
#include <string>

#include "app/bounded.h"
#include "app/config.h"
#include "app/globals.h"
#include "app/messages.h"
#include "app/msgbox.h"
#include "memo/memoname.h"

// The memo's file changed or went elsewhere: another program, or a sync tool
// for another computer. The editor follows what it finds, and no write of
// this program goes over a change it has not shown.

namespace {
const char kElsewhereCaption[] = "メモが別の場所で変更されました";
const char kKeptAsNew[] = "「%s」は、ここで編集している間に別のプログラムか別のコンピューターで書き換えられました。"
                          "\r\n\r\n書き換えられた文章は「%s」に、ここで入力した文章は新しいメモ「%s」に"
                          "保存してあります。";
const char kKeptBesideDelete[] = "「%s」は、ここで編集している間に別のプログラムか別のコンピューターで"
                                 "書き換えられていたので、削除せずに残しました。削除したのは、ここで入力した"
                                 "文章です。";
const char kNotDeleted[] = "「%s」は別のプログラムか別のコンピューターで書き換えられていたので、削除しませんでした。"
                           "\r\n\r\n書き換えられた文章を表示しています。削除するには、もう一度削除してください。";

std::string FileOf(const std::string& name)
{
    char file[kPathSize];
    if (!FormatMemoFileName(file, sizeof(file), name)) CopyBounded(file, sizeof(file), name.c_str());
    return file;
}
}  // namespace

// Not behind a message box: a load or save is on its way there. While the
// window shows, the look comes again and again, edits or not, so that a
// change made elsewhere is shown before the user types over it.
void CNotepadWnd::LookElsewhere()
{
    if (g_nMessageBoxes == 0) Reconcile();
    SetTimer(m_hWnd, kLookTimer, kLookEveryMs, nullptr);
}

void CNotepadWnd::OnLookTimer()
{
    if (!IsWindowVisible(GetParent(m_hWnd))) {
        KillTimer(m_hWnd, kLookTimer);
        return;
    }
    if (g_nMessageBoxes == 0) Reconcile();
}

ShownAction CNotepadWnd::Reconcile()
{
    const ShownAction action = DecideShownAction(m_store.Look(), IsModified());
    if (action == ShownAction::ShowNew) ShowNewText();
    else if (action == ShownAction::KeepAsNew) m_store.Detach();
    else if (action == ShownAction::StoreAgain) m_store.MarkGone();
    else if (action == ShownAction::Leave) LeaveMemo();
    return action;
}

// Quietly: the caret and the first line shown stay where they were, as far
// as the new text reaches. A file that cannot be read now leaves the text
// shown as it is, unedited, so that no save writes it.
void CNotepadWnd::ShowNewText()
{
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const LRESULT top = SendMessageA(m_hWnd, EM_GETFIRSTVISIBLELINE, 0, 0);
    const std::string name = g_config->PrevFile;
    std::unique_ptr<char[]> text;
    DWORD size = 0;
    bool missing = false;
    if (m_store.Read(name, text, size, missing) != ERROR_SUCCESS) {
        if (missing) LeaveMemo();
        return;
    }
    StopFilling();
    m_dwRead = size;
    if (!ShowRead(name.c_str(), std::move(text)) || IsFilling()) return;
    SendMessageA(m_hWnd, EM_SETSEL, start, end);
    const LRESULT now = SendMessageA(m_hWnd, EM_GETFIRSTVISIBLELINE, 0, 0);
    SendMessageA(m_hWnd, EM_LINESCROLL, 0, top - now);
}

// The memo window lists the memos anew and sets the Startup box by what
// the editor holds now.
void CNotepadWnd::LeaveMemo()
{
    LoadMemo(true, kNoMemoName);
    PostMessageA(GetParent(m_hWnd), WM_MEMOMOVED, 0, 0);
}

void CNotepadWnd::TellKeptAsNew(const std::string& left, const std::string& stored, bool deleted)
{
    const std::string file = FileOf(left);
    std::string text(sizeof(kKeptAsNew) + 3 * kPathSize, '\0');
    if (deleted) FormatBounded(&text[0], text.size(), kKeptBesideDelete, file.c_str());
    else FormatBounded(&text[0], text.size(), kKeptAsNew, file.c_str(), file.c_str(), FileOf(stored).c_str());
    ShowMessageBox(text.c_str(), kElsewhereCaption);
    PostMessageA(GetParent(m_hWnd), WM_MEMOMOVED, 0, 0);
}

void CNotepadWnd::TellNotDeleted()
{
    std::string text(sizeof(kNotDeleted) + kPathSize, '\0');
    FormatBounded(&text[0], text.size(), kNotDeleted, FileOf(g_config->PrevFile).c_str());
    ShowMessageBox(text.c_str(), kElsewhereCaption);
}
