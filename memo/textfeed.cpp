#include "memo/textfeed.h"

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

// The piece is cut out in place: the byte after it is set to NUL for the
// call and put back. It goes at the end whatever was selected meanwhile.
void CTextFeed::PutNextPiece(HWND edit)
{
    if (IsComplete()) return;
    SendMessageA(edit, EM_SETSEL, kTextEnd, kTextEnd);
    size_t end = NextPieceEnd(m_text.get(), m_size, m_next, IsAnsiLeadByte);
    char kept = m_text[end];
    m_text[end] = '\0';
    SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(m_text.get() + m_next));
    m_text[end] = kept;
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
