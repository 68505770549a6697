#include "memo/notepadwnd.h"

#include <memory>
#include <new>
#include <string>

// The editor's text and selection in UTF-16, for the search.

// Positions in an ANSI edit control of a double-byte code page count bytes
// on Windows, but UTF-16 units under Wine: the last line's start plus its
// length is the text's length in the control's own units.
LRESULT CNotepadWnd::EditLength(HWND edit)
{
    const LRESULT lines = SendMessageA(edit, EM_GETLINECOUNT, 0, 0);
    const LRESULT lastStart = SendMessageA(edit, EM_LINEINDEX, static_cast<WPARAM>(lines > 0 ? lines - 1 : 0), 0);
    const LRESULT lastLength = SendMessageA(edit, EM_LINELENGTH, static_cast<WPARAM>(lastStart), 0);
    if (lastStart < 0 || lastLength < 0) return -1;
    return lastStart + lastLength;
}

namespace {
// Which units this control counts, told without touching the selection or
// the view.
bool EditCountsBytes(HWND edit, const std::u16string& shown)
{
    const LRESULT length = CNotepadWnd::EditLength(edit);
    return length >= 0 && static_cast<size_t>(length) != shown.size();
}

const WCHAR* Units(const std::u16string& text)
{
    return reinterpret_cast<const WCHAR*>(text.data());
}

// The bytes of the first `count` units of `shown` in the ANSI code page.
size_t BytesOf(const std::u16string& shown, size_t count)
{
    if (count == 0) return 0;
    const int bytes = WideCharToMultiByte(CP_ACP, 0, Units(shown), static_cast<int>(count), nullptr, 0, nullptr,
                                          nullptr);
    return bytes > 0 ? static_cast<size_t>(bytes) : 0;
}

// The UTF-16 units of `shown` that its first `bytes` ANSI bytes come from.
size_t UnitsOf(const std::u16string& shown, size_t bytes)
{
    const size_t all = BytesOf(shown, shown.size());
    std::unique_ptr<char[]> ansi(new (std::nothrow) char[all + 1]);
    if (!ansi || bytes == 0) return 0;
    WideCharToMultiByte(CP_ACP, 0, Units(shown), static_cast<int>(shown.size()), ansi.get(), static_cast<int>(all),
                        nullptr, nullptr);
    const int units = MultiByteToWideChar(CP_ACP, 0, ansi.get(), static_cast<int>(bytes < all ? bytes : all),
                                          nullptr, 0);
    return units > 0 ? static_cast<size_t>(units) : 0;
}
}  // namespace

std::u16string CNotepadWnd::ShownCharacters() const
{
    try {
        int length = 0;
        std::unique_ptr<char[]> filling;
        if (IsFilling()) {
            filling = ReadText(0, length);
            if (!filling) return std::u16string();
        }
        const std::wstring wide = WideText(filling.get(), length);
        return std::u16string(wide.begin(), wide.end());
    } catch (const std::bad_alloc&) {
        return std::u16string();
    }
}

void CNotepadWnd::GetSelectedCharacters(const std::u16string& shown, size_t& start, size_t& end) const
{
    DWORD from = 0, to = 0;
    SendMessageA(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    const bool bytes = EditCountsBytes(m_hWnd, shown);
    start = bytes ? UnitsOf(shown, from) : from;
    end = bytes ? UnitsOf(shown, to) : to;
}

void CNotepadWnd::SelectCharacters(const std::u16string& shown, size_t start, size_t end)
{
    const bool bytes = EditCountsBytes(m_hWnd, shown);
    const size_t from = bytes ? BytesOf(shown, start) : start;
    const size_t to = bytes ? BytesOf(shown, end) : end;
    SendMessageA(m_hWnd, EM_SETSEL, from, to);
    SendMessageA(m_hWnd, EM_SCROLLCARET, 0, 0);
}
