#include "memo/textfeed.h"

#include <new>

#include "memo/memofiles.h"
#include "memo/textpieces.h"

namespace {
// A position past any text: the control takes its end instead.
const WPARAM kTextEnd = 0x7FFFFFFF;
}  // namespace

void CTextFeed::Start(std::unique_ptr<char[]> text, size_t size, bool edited)
{
    m_text = std::move(text);
    m_size = size;
    m_next = 0;
    m_bEdited = edited;
    ++m_generation;
}

void CTextFeed::Stop()
{
    m_text.reset();
    m_size = 0;
    m_next = 0;
}

// It goes at the end whatever was selected meanwhile.
void CTextFeed::PutNextPiece(HWND edit)
{
    if (IsComplete()) return;
    SendMessageA(edit, EM_SETSEL, kTextEnd, kTextEnd);
    size_t end = NextPieceEnd(m_text.get(), m_size, m_next, IsAnsiLeadByte);
    ReplaceEditSelection(edit, m_text.get() + m_next, end - m_next);
    m_next = end;
}

// Counted in characters: the control holds them as such, and each piece
// converts as the whole text does.
bool CTextFeed::EditHoldsAll(HWND edit) const
{
    int expected = MultiByteToWideChar(CP_ACP, 0, m_text.get(), static_cast<int>(m_size), nullptr, 0);
    return GetWindowTextLengthW(edit) == expected;
}

int CTextFeed::PercentDone() const
{
    return m_size == 0 ? 100 : static_cast<int>(static_cast<unsigned long long>(m_next) * 100 / m_size);
}

// Converted here, by its length: Wine's own conversion of a message's text
// reads on past a lead byte that ends it, into whatever follows in memory.
int ReplaceEditSelection(HWND edit, const char* text, size_t size)
{
    int length = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(size), nullptr, 0);
    std::unique_ptr<wchar_t[]> wide(new (std::nothrow) wchar_t[length + 1]);
    if (!wide) return -1;
    MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(size), wide.get(), length);
    wide[length] = L'\0';
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide.get()));
    return length;
}
