#pragma once
// The shown memo's text folded for the search a piece at a time, so that a
// memo of many megabytes is folded over several steps and folded once only
// while it does not change. No windows.h here: a plain rule, tested on its
// own.
#include <cstddef>
#include <string>
#include <vector>

#include "memo/searchfold.h"

class CFoldedText {
public:
    // Starts over on `text`, unless it is the text held already, folded
    // with the same setting of the kana switch.
    void Take(const std::u16string& text, bool kanaAsOne);
    // Folds one more piece; true once the whole text is folded.
    bool FoldPiece();
    // The line around the first place in the text where a word of `query`
    // is, at most `most` units long, in `line`; false where the text does
    // not hold every word or is not folded whole yet.
    bool FindFirstHitLine(const SearchQuery& query, size_t most, std::u16string& line) const;
    size_t KeptBytes() const;

private:
    // Where a piece starts, in the text and in its folded form. Pieces end
    // after a line break, which no mark after it joins, so the pieces folded
    // one after another give the text folded whole.
    struct Piece {
        size_t text = 0;
        size_t folded = 0;
    };

    std::u16string m_text;
    bool m_bKanaAsOne = true;
    std::string m_folded;
    std::vector<Piece> m_pieces;
    size_t m_nFoldedUnits = 0;  // how much of the text is folded
};
