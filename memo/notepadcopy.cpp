#include "memo/notepadwnd.h"

#include <algorithm>
#include <cstring>

#include "app/scopedhandles.h"
#include "memo/syserror.h"

// The whole memo copied to the clipboard.

namespace {
const char kOpenClipboardCaption[] = "クリップボードを開くのに失敗しました";
const char kCopyCaption[] = "クリップボードへのコピーに失敗しました";

// A movable block holding `size` bytes, for the clipboard; the caller owns
// it. nullptr (last error set) on failure.
HGLOBAL CopyToGlobal(const void* data, size_t size)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, size);
    if (!block) return nullptr;
    void* target = GlobalLock(block);
    if (!target) {
        DWORD error = GetLastError();
        GlobalFree(block);
        SetLastError(error);
        return nullptr;
    }
    memcpy(target, data, size);
    GlobalUnlock(block);
    return block;
}

// The clipboard's formats of one text, each block owned here until the
// clipboard takes it.
struct ClipboardText {
    HGLOBAL ansi = nullptr;
    HGLOBAL wide = nullptr;
    ~ClipboardText()
    {
        if (ansi) GlobalFree(ansi);
        if (wide) GlobalFree(wide);
    }
};

// Puts one block on the open clipboard; it owns the block once this succeeds.
DWORD HandToClipboard(UINT format, HGLOBAL& block)
{
    if (!SetClipboardData(format, block)) return GetLastError();
    block = nullptr;
    return ERROR_SUCCESS;
}

// Both forms go on the clipboard, or, should one fail, none: a paste never
// gets another text than the one shown. On failure caption tells which
// step failed.
DWORD PutOnClipboard(HWND owner, ClipboardText& text, const char*& caption)
{
    ScopedClipboard clipboard(owner);
    caption = kOpenClipboardCaption;
    if (!clipboard.ok()) return GetLastError();
    caption = kCopyCaption;
    EmptyClipboard();
    DWORD error = HandToClipboard(CF_UNICODETEXT, text.wide);
    if (error == ERROR_SUCCESS) error = HandToClipboard(CF_TEXT, text.ansi);
    if (error != ERROR_SUCCESS) EmptyClipboard();
    return error;
}
}  // namespace

// The clipboard stays untouched unless the whole text is ready to go on it,
// and it is closed again before any message box comes up. The UTF-16 form
// holds every character the editor shows; the ANSI one is for programs that
// read only that.
void CNotepadWnd::CopyToClipboard()
{
    int length = 0;
    std::unique_ptr<char[]> text = ReadText(0, length);
    std::wstring wide = text ? WideText(text.get(), length) : std::wstring();
    ClipboardText blocks;
    if (text) {
        blocks.ansi = CopyToGlobal(text.get(), static_cast<size_t>(length) + 1);
        if (blocks.ansi) blocks.wide = CopyToGlobal(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    } else {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
    if (!blocks.ansi || !blocks.wide) {
        ShowSystemError(kCopyCaption, kLastError);
        return;
    }
    const char* caption = nullptr;
    DWORD error = PutOnClipboard(m_hWnd, blocks, caption);
    if (error != ERROR_SUCCESS) ShowSystemError(caption, error);
}

// While a memo fills in, the editor holds only part of it; the text going
// in came from a file or the journal, in the ANSI code page.
std::wstring CNotepadWnd::WideText(const char* ansi, int length) const
{
    if (IsFilling()) {
        int size = MultiByteToWideChar(CP_ACP, 0, ansi, length, nullptr, 0);
        std::wstring wide(static_cast<size_t>(std::max(size, 0)), L'\0');
        if (size > 0) MultiByteToWideChar(CP_ACP, 0, ansi, length, &wide[0], size);
        return wide;
    }
    std::wstring wide(static_cast<size_t>(GetWindowTextLengthW(m_hWnd)) + 1, L'\0');
    int got = GetWindowTextW(m_hWnd, &wide[0], static_cast<int>(wide.size()));
    wide.resize(static_cast<size_t>(std::max(got, 0)));
    return wide;
}
