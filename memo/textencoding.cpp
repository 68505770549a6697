#include "memo/textencoding.h"

#include <cstring>

namespace {
const char kUtf8Bom[] = "\xEF\xBB\xBF";
const char kUtf16LeBom[] = "\xFF\xFE";
const char kUtf16BeBom[] = "\xFE\xFF";

bool StartsWith(const char* bytes, size_t size, const char* prefix, size_t length)
{
    return size >= length && memcmp(bytes, prefix, length) == 0;
}

size_t BomLength(MemoEncoding encoding)
{
    switch (encoding) {
    case MemoEncoding::Utf8Bom: return 3;
    case MemoEncoding::Utf16Le:
    case MemoEncoding::Utf16Be: return 2;
    default: return 0;
    }
}

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// One character of strict UTF-8 at `at`: no overlong form, no surrogate,
// nothing past U+10FFFF. Its length, or 0 where the bytes there are none.
size_t Utf8Character(const unsigned char* p, size_t left, char32_t& c)
{
    const unsigned char lead = p[0];
    size_t length = lead < 0x80 ? 1 : lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
    if (length == 0 || length > left) return 0;
    if (length == 1) {
        c = lead;
        return 1;
    }
    c = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        c = (c << 6) | (p[i] & 0x3F);
    }
    static const char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[length] || c > 0x10FFFF || IsSurrogate(c)) return 0;
    return length;
}

void PutUtf16(std::u16string& text, char32_t c)
{
    if (c < 0x10000) {
        text.push_back(static_cast<char16_t>(c));
        return;
    }
    c -= 0x10000;
    text.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
    text.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
}

// The decoders only check where `text` is null: telling the encoding of a
// large file takes no second copy of it.
bool DecodeUtf8(const unsigned char* p, size_t size, std::u16string* text)
{
    for (size_t at = 0; at < size;) {
        char32_t c = 0;
        size_t length = Utf8Character(p + at, size - at, c);
        if (length == 0 || c == 0) return false;
        if (text) PutUtf16(*text, c);
        at += length;
    }
    return true;
}

// Every high surrogate followed by a low one, and no low one alone.
bool DecodeUtf16(const unsigned char* p, size_t size, bool bigEndian, std::u16string* text)
{
    if (size % 2 != 0) return false;
    if (text) text->reserve(size / 2);
    bool afterHigh = false;
    for (size_t at = 0; at < size; at += 2) {
        const char16_t unit = bigEndian ? static_cast<char16_t>((p[at] << 8) | p[at + 1])
                                        : static_cast<char16_t>(p[at] | (p[at + 1] << 8));
        if (unit == 0) return false;
        const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        if (low != afterHigh) return false;
        afterHigh = unit >= 0xD800 && unit <= 0xDBFF;
        if (text) text->push_back(unit);
    }
    return !afterHigh;
}

// Both bytes could be Shift-JIS half-width katakana (0xA1-0xDF).
bool ReadsAsKatakana(const unsigned char* p, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        if (p[i] < 0xA1 || p[i] > 0xDF) return false;
    }
    return true;
}

// Characters that a Shift-JIS text read as UTF-8 gives, and that real text
// hardly holds: C1 controls, IPA and modifier letters, combining marks,
// Greek symbols, the blocks between U+A000 and U+ABFF that level-2 kanji
// with a following full-width mark turn into, private use, noncharacters.
bool IsUnlikely(char32_t c)
{
    return (c >= 0x80 && c <= 0x9F) || (c >= 0x250 && c <= 0x36F) || (c >= 0x3CF && c <= 0x3FF) ||
           (c >= 0xA000 && c <= 0xABFF) || (c >= 0xE000 && c <= 0xF8FF) || c == 0xFFFE || c == 0xFFFF;
}

// Valid UTF-8 that holds more than ASCII, and whose characters speak for
// UTF-8: half-width katakana pairs, the usual Shift-JIS text that happens
// to be valid UTF-8, speak for neither, except for the Latin letters
// (U+00C0-U+00FF) they share their bytes with, as in "café".
bool LooksLikeUtf8(const unsigned char* p, size_t size)
{
    bool evidence = false;
    for (size_t at = 0; at < size;) {
        char32_t c = 0;
        size_t length = Utf8Character(p + at, size - at, c);
        if (length == 0 || c == 0) return false;
        if (length > 1) {
            if (c >= 0xC0 && c <= 0xFF) evidence = true;
            else if (IsUnlikely(c)) return false;
            else if (!ReadsAsKatakana(p + at, length)) evidence = true;
        }
        at += length;
    }
    return evidence;
}
}  // namespace

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

MemoEncoding DetectEncoding(const char* bytes, size_t size)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes);
    if (StartsWith(bytes, size, kUtf8Bom, 3)) {
        return DecodeUtf8(p + 3, size - 3, nullptr) ? MemoEncoding::Utf8Bom : MemoEncoding::ShiftJis;
    }
    if (StartsWith(bytes, size, kUtf16LeBom, 2)) {
        return DecodeUtf16(p + 2, size - 2, false, nullptr) ? MemoEncoding::Utf16Le : MemoEncoding::ShiftJis;
    }
    if (StartsWith(bytes, size, kUtf16BeBom, 2)) {
        return DecodeUtf16(p + 2, size - 2, true, nullptr) ? MemoEncoding::Utf16Be : MemoEncoding::ShiftJis;
    }
    return LooksLikeUtf8(p, size) ? MemoEncoding::Utf8 : MemoEncoding::ShiftJis;
}

bool DecodeText(const char* bytes, size_t size, MemoEncoding encoding, std::u16string& text)
{
    text.clear();
    const size_t bom = BomLength(encoding);
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes);
    bool ok = false;
    if (encoding == MemoEncoding::ShiftJis || size < bom) return false;
    switch (encoding) {
    case MemoEncoding::Utf8Bom:
        ok = StartsWith(bytes, size, kUtf8Bom, 3) && DecodeUtf8(p + bom, size - bom, &text);
        break;
    case MemoEncoding::Utf8: ok = DecodeUtf8(p, size, &text); break;
    case MemoEncoding::Utf16Le:
        ok = StartsWith(bytes, size, kUtf16LeBom, 2) && DecodeUtf16(p + bom, size - bom, false, &text);
        break;
    case MemoEncoding::Utf16Be:
        ok = StartsWith(bytes, size, kUtf16BeBom, 2) && DecodeUtf16(p + bom, size - bom, true, &text);
        break;
    default: break;
    }
    if (!ok) text.clear();
    return ok;
}

std::string EncodeText(const std::u16string& text, MemoEncoding encoding)
{
    std::string out;
    if (encoding == MemoEncoding::Utf16Le || encoding == MemoEncoding::Utf16Be) {
        const bool big = encoding == MemoEncoding::Utf16Be;
        out.assign(big ? kUtf16BeBom : kUtf16LeBom, 2);
        out.reserve(2 + 2 * text.size());
        for (char16_t unit : text) {
            out.push_back(static_cast<char>(big ? unit >> 8 : unit & 0xFF));
            out.push_back(static_cast<char>(big ? unit & 0xFF : unit >> 8));
        }
        return out;
    }
    if (encoding == MemoEncoding::Utf8Bom) out.assign(kUtf8Bom, 3);
    out.reserve(out.size() + 3 * text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                          text[i + 1] <= 0xDFFF;
        if (pair) c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        AppendUtf8(out, c);
    }
    return out;
}
