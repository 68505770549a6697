#include "memo/searchfold.h"

#include <algorithm>

#include "memo/textencoding.h"

namespace {
const char32_t kReplacement = 0xFFFD;

// Full-width katakana (and marks) of the half-width ones U+FF61-U+FF9F.
const char16_t kFullWidthOfHalfWidth[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5,
    0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3,
    0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC,
    0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4,
    0x30E6, 0x30E8, 0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C,
};
static_assert(sizeof(kFullWidthOfHalfWidth) / sizeof(kFullWidthOfHalfWidth[0]) == 0xFF9F - 0xFF61 + 1,
              "one full-width character for each half-width one");

const char32_t kVoicedMark = 0x309B;      // as the half-width ﾞ folds when nothing takes it
const char32_t kSemiVoicedMark = 0x309C;  // ﾟ likewise

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsSwitchableKatakana(char32_t c) { return (c >= 0x30A1 && c <= 0x30F6) || c == 0x30FD || c == 0x30FE; }
bool IsSwitchableHiragana(char32_t c) { return (c >= 0x3041 && c <= 0x3096) || c == 0x309D || c == 0x309E; }

bool InRange(char32_t c, char32_t first, char32_t last) { return c >= first && c <= last; }

// Small letters of Latin (Latin-1 and Extended-A), Greek and Cyrillic.
char32_t FoldCase(char32_t c)
{
    if (c < 0x80) return InRange(c, 'A', 'Z') ? c + 0x20 : c;
    if (c < 0x100) {
        if (InRange(c, 0xC0, 0xDE) && c != 0xD7) return c + 0x20;
        return c == 0xB5 ? 0x3BC : c;  // the micro sign is the Greek small mu
    }
    if (c < 0x180) {
        if (c == 0x130) return 'i';
        if (c == 0x178) return 0xFF;
        if (c == 0x17F) return 's';
        if (InRange(c, 0x100, 0x12F) || InRange(c, 0x132, 0x137) || InRange(c, 0x14A, 0x177)) return c | 1;
        if (InRange(c, 0x139, 0x148) || InRange(c, 0x179, 0x17E)) return (c & 1) ? c + 1 : c;
        return c;
    }
    if (InRange(c, 0x386, 0x3CF)) {
        if (c == 0x386) return 0x3AC;
        if (InRange(c, 0x388, 0x38A)) return c + 0x25;
        if (c == 0x38C) return 0x3CC;
        if (InRange(c, 0x38E, 0x38F)) return c + 0x3F;
        if (InRange(c, 0x391, 0x3AB) && c != 0x3A2) return c + 0x20;
        return c == 0x3C2 ? 0x3C3 : c;  // the final sigma is a sigma
    }
    if (InRange(c, 0x400, 0x52F)) {
        if (c < 0x410) return c + 0x50;
        if (c < 0x430) return c + 0x20;
        if (InRange(c, 0x460, 0x481) || InRange(c, 0x48A, 0x4BF) || InRange(c, 0x4D0, 0x52F)) return c | 1;
        if (c == 0x4C0) return 0x4CF;
        if (InRange(c, 0x4C1, 0x4CE)) return (c & 1) ? c + 1 : c;
    }
    return c;
}

// Half-width to full-width katakana, full-width to plain ASCII.
char32_t FoldWidth(char32_t c)
{
    if (InRange(c, 0xFF01, 0xFF5E)) return c - 0xFEE0;
    if (c == 0x3000) return ' ';
    if (InRange(c, 0xFF61, 0xFF9F)) return kFullWidthOfHalfWidth[c - 0xFF61];
    return c;
}

char32_t FoldCharacter(char32_t c, bool kanaAsOne)
{
    c = FoldCase(FoldWidth(c));
    if (kanaAsOne && IsSwitchableKatakana(c)) return c - 0x60;
    return c;
}

// The katakana with the voiced (or semi-voiced) mark of `base`, or 0.
char32_t ComposeKatakana(char32_t base, bool semiVoiced)
{
    const bool kaToDi = InRange(base, 0x30AB, 0x30C1) && (base & 1);  // カ キ ... チ
    const bool tsuToTo = base == 0x30C4 || base == 0x30C6 || base == 0x30C8;
    const bool haToHo = InRange(base, 0x30CF, 0x30DB) && (base - 0x30CF) % 3 == 0;
    if (semiVoiced) return haToHo ? base + 2 : 0;
    if (kaToDi || tsuToTo || haToHo) return base + 1;
    switch (base) {
    case 0x30A6: return 0x30F4;  // ウ
    case 0x30EF: return 0x30F7;  // ワ
    case 0x30F0: return 0x30F8;  // ヰ
    case 0x30F1: return 0x30F9;  // ヱ
    case 0x30F2: return 0x30FA;  // ヲ
    case 0x30FD: return 0x30FE;  // ヽ
    }
    return 0;
}

// The kana `base` (already folded) with a voiced mark, as its own folded
// form, or 0 where it takes none. A voiced kana that has no hiragana (ヷ)
// stays katakana, as it folds on its own, so that the result folds to itself.
char32_t Compose(char32_t base, bool semiVoiced)
{
    if (IsSwitchableKatakana(base)) return ComposeKatakana(base, semiVoiced);
    if (!IsSwitchableHiragana(base)) return 0;
    const char32_t voiced = ComposeKatakana(base + 0x60, semiVoiced);
    return IsSwitchableKatakana(voiced) ? voiced - 0x60 : voiced;
}

bool IsVoicedMark(char32_t c) { return c == 0xFF9E || c == 0x3099; }
bool IsSemiVoicedMark(char32_t c) { return c == 0xFF9F || c == 0x309A; }

size_t Utf8Length(char32_t c) { return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4; }

// One character of UTF-16 at `at`; `units` receives how many it takes.
char32_t ReadCharacter(const char16_t* text, size_t length, size_t at, size_t& units)
{
    const char32_t unit = text[at];
    units = 1;
    if (IsLowSurrogate(unit)) return kReplacement;
    if (!IsHighSurrogate(unit)) return unit;
    if (at + 1 >= length || !IsLowSurrogate(text[at + 1])) return kReplacement;
    units = 2;
    return 0x10000 + ((unit - 0xD800) << 10) + (text[at + 1] - 0xDC00);
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == 0x3000; }
bool IsLineBreak(char16_t c) { return c == u'\r' || c == u'\n'; }
}  // namespace

void FoldForSearch(const char16_t* text, size_t length, bool kanaAsOne, std::string& folded,
                   std::vector<uint32_t>* origins)
{
    folded.reserve(folded.size() + length);
    char32_t last = 0;       // the last character appended, 0 at the start
    size_t lastOrigin = 0;   // where it came from
    for (size_t at = 0; at < length;) {
        size_t units = 1;
        const char32_t c = ReadCharacter(text, length, at, units);
        const bool voiced = IsVoicedMark(c);
        const char32_t composed = (voiced || IsSemiVoicedMark(c)) ? Compose(last, !voiced) : 0;
        char32_t out;
        size_t origin = at;
        if (composed) {
            // The voiced kana takes the place of the kana before it.
            folded.resize(folded.size() - Utf8Length(last));
            if (origins) origins->resize(origins->size() - Utf8Length(last));
            out = composed;
            origin = lastOrigin;
        } else if (c == 0x3099 || c == 0x309A) {
            out = c == 0x3099 ? kVoicedMark : kSemiVoicedMark;
        } else {
            out = FoldCharacter(c, kanaAsOne);
        }
        AppendUtf8(folded, out);
        if (origins) origins->insert(origins->end(), Utf8Length(out), static_cast<uint32_t>(origin));
        last = out;
        lastOrigin = origin;
        at += units;
    }
    if (origins) origins->push_back(static_cast<uint32_t>(length));
}

SearchQuery ParseSearchQuery(const std::u16string& typed, bool kanaAsOne)
{
    SearchQuery query;
    query.kanaAsOne = kanaAsOne;
    for (size_t at = 0; at < typed.size();) {
        if (IsBlank(typed[at])) {
            ++at;
            continue;
        }
        size_t end = at;
        while (end < typed.size() && !IsBlank(typed[end])) ++end;
        std::string word;
        FoldForSearch(typed.data() + at, end - at, kanaAsOne, word);
        query.words.push_back(std::move(word));
        at = end;
    }
    return query;
}

bool HasEveryWord(const std::string& folded, const SearchQuery& query)
{
    for (const std::string& word : query.words) {
        if (folded.find(word) == std::string::npos) return false;
    }
    return true;
}

std::vector<TextSpan> FindWords(const std::u16string& text, const SearchQuery& query)
{
    std::string folded;
    std::vector<uint32_t> origins;
    FoldForSearch(text.data(), text.size(), query.kanaAsOne, folded, &origins);
    // Byte ranges of the folded text; UTF-8 matches only start on a character.
    std::vector<std::pair<size_t, size_t>> found;
    for (const std::string& word : query.words) {
        for (size_t at = folded.find(word); at != std::string::npos; at = folded.find(word, at + 1))
            found.emplace_back(at, at + word.size());
    }
    // The earliest first, the longest of those that start together.
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : a.second > b.second;
    });
    std::vector<TextSpan> spans;
    size_t taken = 0;
    for (const auto& range : found) {
        if (range.first < taken) continue;
        TextSpan span;
        span.start = origins[range.first];
        span.end = origins[range.second];
        spans.push_back(span);
        taken = range.second;
    }
    return spans;
}

std::u16string LineAround(const std::u16string& text, TextSpan span, size_t most)
{
    const size_t at = std::min(span.start, text.size());
    size_t start = at;
    while (start > 0 && !IsLineBreak(text[start - 1])) --start;
    size_t end = at;
    while (end < text.size() && !IsLineBreak(text[end])) ++end;
    if (end - start > most) {
        // A little of what comes before the hit, the rest after it.
        start = std::max(start, at > most / 4 ? at - most / 4 : 0);
        end = std::min(end, start + most);
        if (start < end && IsLowSurrogate(text[start])) ++start;
        if (start < end && IsHighSurrogate(text[end - 1])) --end;
    }
    return text.substr(start, end - start);
}

size_t EndOfWholeRun(const char* bytes, size_t size, size_t from, bool (*isLeadByte)(unsigned char))
{
    for (size_t at = from; at < size; ++at) {
        if (!isLeadByte(static_cast<unsigned char>(bytes[at]))) continue;
        if (at + 1 >= size) return at;
        const unsigned char trail = static_cast<unsigned char>(bytes[at + 1]);
        if (!InRange(trail, 0x40, 0x7E) && !InRange(trail, 0x80, 0xFC)) return at;
        ++at;
    }
    return size;
}

size_t CutAtWholeCharacter(const char* bytes, size_t size)
{
    const auto byte = [bytes](size_t at) { return static_cast<unsigned char>(bytes[at]); };
    if (size >= 2 && ((byte(0) == 0xFF && byte(1) == 0xFE) || (byte(0) == 0xFE && byte(1) == 0xFF))) {
        size &= ~static_cast<size_t>(1);
        if (size < 4) return size;
        const bool bigEndian = byte(0) == 0xFE;
        const char32_t unit = bigEndian ? (byte(size - 2) << 8) | byte(size - 1) : byte(size - 2) | (byte(size - 1) << 8);
        return IsHighSurrogate(unit) ? size - 2 : size;
    }
    // Back over the continuation bytes of the last character, and its lead
    // byte where they are fewer than it announces.
    size_t start = size;
    while (start > 0 && size - start < 3 && (byte(start - 1) & 0xC0) == 0x80) --start;
    if (start == 0 || byte(start - 1) < 0xC0) return size;
    const unsigned char lead = byte(start - 1);
    const size_t length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    return size - start + 1 >= length ? size : start - 1;
}
