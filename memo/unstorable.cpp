#include "memo/unstorable.h"

#include <new>

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

std::wstring FindUnstorableCharacters(HWND hWnd)
{
    int length = GetWindowTextLengthW(hWnd);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    length = GetWindowTextW(hWnd, &text[0], length + 1);
    text.resize(static_cast<size_t>(length));
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
