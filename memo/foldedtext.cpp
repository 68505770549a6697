#include "memo/foldedtext.h"

#include <algorithm>

namespace {
// About a millisecond of folding.
const size_t kPieceUnits = 64 * 1024;

bool IsLineBreak(char16_t c) { return c == u'\r' || c == u'\n'; }
}  // namespace

void CFoldedText::Take(const std::u16string& text, bool kanaAsOne)
{
    if (text == m_text && kanaAsOne == m_bKanaAsOne) return;
    m_text = text;
    m_bKanaAsOne = kanaAsOne;
    m_folded.clear();
    m_pieces.clear();
    m_nFoldedUnits = 0;
}

bool CFoldedText::FoldPiece()
{
    const size_t at = m_nFoldedUnits;
    if (at >= m_text.size()) return true;
    size_t end = std::min(at + kPieceUnits, m_text.size());
    while (end < m_text.size() && !IsLineBreak(m_text[end - 1])) ++end;
    m_pieces.push_back({at, m_folded.size()});
    FoldForSearch(m_text.data() + at, end - at, m_bKanaAsOne, m_folded);
    m_nFoldedUnits = end;
    return end == m_text.size();
}

bool CFoldedText::FindFirstHitLine(const SearchQuery& query, size_t most, std::u16string& line) const
{
    if (m_nFoldedUnits < m_text.size() || query.words.empty() || !HasEveryWord(m_folded, query)) return false;
    size_t first = m_folded.size();
    for (const std::string& word : query.words) first = std::min(first, m_folded.find(word));
    // Only the piece that holds it is folded again, to map it back.
    const auto piece = std::upper_bound(m_pieces.begin(), m_pieces.end(), first,
                                        [](size_t at, const Piece& p) { return at < p.folded; }) - 1;
    const size_t end = piece + 1 == m_pieces.end() ? m_text.size() : (piece + 1)->text;
    std::string folded;
    std::vector<uint32_t> origins;
    FoldForSearch(m_text.data() + piece->text, end - piece->text, m_bKanaAsOne, folded, &origins);
    const size_t at = piece->text + origins[first - piece->folded];
    line = LineAround(m_text, {at, at + 1}, most);
    return true;
}

size_t CFoldedText::KeptBytes() const
{
    return m_text.capacity() * sizeof(char16_t) + m_folded.capacity() + m_pieces.capacity() * sizeof(Piece);
}
