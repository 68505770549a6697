#include "memo/title.h"

#include <cstring>

namespace {
const int kTitleColumns = 20;
const char* const kUrlPrefixes[] = {"http://", "https://", "ftp://"};

bool IsLineBreak(unsigned char c)
{
    return c == '\n' || c == '\r';
}

// Characters a file name cannot hold. Control bytes are among them: a tab
// in the first line would otherwise make every save of the memo fail.
bool IsForbidden(unsigned char c)
{
    return c < 0x20 || strchr("\\/:*?\"<>|", c) != nullptr;
}

// No code page has a trail byte below 0x40; a lead byte before such a byte
// (or before the end of the text) stands alone and is dropped.
bool IsWellFormedPair(const char* text, size_t position)
{
    return static_cast<unsigned char>(text[position + 1]) >= 0x40;
}
}  // namespace

size_t SkipUrlPrefix(const char* text, size_t position)
{
    for (const char* prefix : kUrlPrefixes) {
        size_t length = strlen(prefix);
        if (strncmp(text + position, prefix, length) == 0) return position + length;
    }
    return position;
}

std::string DeriveTitle(const char* text, LeadBytePredicate isLeadByte)
{
    std::string title;
    int columns = 0;
    size_t trailingSpaces = 0;
    size_t i = 0;
    bool prefixTested = false;
    while (columns < kTitleColumns) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\0') break;
        if (IsLineBreak(c) && columns > 0) break;
        if (IsForbidden(c)) {
            ++i;
            prefixTested = false;
            continue;
        }
        if (!prefixTested) {
            size_t next = SkipUrlPrefix(text, i);
            if (next != i) {
                // The character after a prefix is copied without another prefix test.
                i = next;
                prefixTested = true;
                continue;
            }
        }
        prefixTested = false;
        if (isLeadByte(c)) {
            if (IsWellFormedPair(text, i)) {
                title.append(text + i, 2);
                columns += 2;
                trailingSpaces = 0;
                i += 2;
            } else {
                ++i;
            }
            continue;
        }
        title.push_back(static_cast<char>(c));
        ++columns;
        trailingSpaces = c == ' ' ? trailingSpaces + 1 : 0;
        ++i;
    }
    title.resize(title.size() - trailingSpaces);
    return title;
}
