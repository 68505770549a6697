#include "memo/unstorable.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "memo/memofiles.h"

namespace {
std::wstring ToWide(const std::string& text)
{
    int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    if (length > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

std::string ToAnsi(const wchar_t* text, int length)
{
    int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(size), '\0');
    if (size > 0) WideCharToMultiByte(CP_ACP, 0, text, length, &ansi[0], size, nullptr, nullptr);
    return ansi;
}

bool RoundTrips(const wchar_t* text, int length)
{
    return ToWide(ToAnsi(text, length)) == std::wstring(text, static_cast<size_t>(length));
}
}  // namespace

std::wstring ReadWindowCharacters(HWND hWnd)
{
    int length = GetWindowTextLengthW(hWnd);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    length = GetWindowTextW(hWnd, &text[0], length + 1);
    text.resize(static_cast<size_t>(std::max(length, 0)));
    return text;
}

std::wstring FindUnstorableCharacters(HWND hWnd)
{
    const std::wstring text = ReadWindowCharacters(hWnd);
    const int length = static_cast<int>(text.size());
    if (length == 0) return {};
    // The whole text at once first: nearly always it is all storable.
    if (RoundTrips(text.data(), length)) return {};
    std::wstring found;
    for (int i = 0; i < length;) {
        int count = IS_HIGH_SURROGATE(text[i]) && i + 1 < length && IS_LOW_SURROGATE(text[i + 1]) ? 2 : 1;
        std::wstring character = text.substr(static_cast<size_t>(i), static_cast<size_t>(count));
        if (!RoundTrips(character.data(), count) && found.find(character) == std::wstring::npos) found += character;
        i += count;
    }
    return found;
}

bool ConvertsTo(const char* text, int length, const std::wstring& characters)
{
    // One more than the characters: a text that converts to more fails.
    const int room = static_cast<int>(characters.size()) + 1;
    std::wstring wide(static_cast<size_t>(room), L'\0');
    const int converted = length > 0 ? MultiByteToWideChar(CP_ACP, 0, text, length, &wide[0], room) : 0;
    return converted == room - 1 && wide.compare(0, static_cast<size_t>(converted), characters) == 0;
}

// Piece by piece, so that a memo of any size needs no more memory than a
// piece: Shift-JIS keeps no state from one character to the next, and no
// piece ends between a lead byte and the byte after it.
bool IsHeldExactly(const char* bytes, size_t size)
{
    const size_t kPiece = 1024;
    wchar_t wide[kPiece + 1];
    char back[2 * (kPiece + 1)];
    for (size_t from = 0; from < size;) {
        size_t end = from;
        while (end < size && end - from < kPiece)
            end += IsAnsiLeadByte(static_cast<unsigned char>(bytes[end])) && end + 1 < size ? 2 : 1;
        const int length = static_cast<int>(end - from);
        const int wideLength = MultiByteToWideChar(CP_ACP, 0, bytes + from, length, wide, kPiece + 1);
        const int backLength =
            WideCharToMultiByte(CP_ACP, 0, wide, wideLength, back, sizeof(back), nullptr, nullptr);
        if (backLength != length || memcmp(back, bytes + from, static_cast<size_t>(length)) != 0) return false;
        from = end;
    }
    return true;
}
