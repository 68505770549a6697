#include "startup/linkrules.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "app/bounded.h"
#include "memo/memoname.h"

const char kMemoLinkDescription[] = "MossvanePad";
const char kAutostartLinkName[] = "MossvanePad";

namespace {
const char kLinkExtension[] = ".lnk";
const size_t kLinkExtensionLength = sizeof(kLinkExtension) - 1;

// '.' is never the trail byte of a double-byte character, so a byte-wise
// test of the last four bytes cannot split one.
bool HasLinkExtension(const char* fileName, size_t length)
{
    if (length < kLinkExtensionLength) return false;
    const char* ending = fileName + length - kLinkExtensionLength;
    for (size_t i = 0; i < kLinkExtensionLength; ++i) {
        char c = ending[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != kLinkExtension[i]) return false;
    }
    return true;
}
}  // namespace

bool FormatLinkPath(char* out, size_t size, const char* startupDir, const char* name)
{
    if (!startupDir[0]) {
        if (size > 0) out[0] = '\0';
        return false;
    }
    return FormatBounded(out, size, "%s%s.lnk", startupDir, name);
}

bool FormatNumberedLinkPath(char* out, size_t size, const char* startupDir, const char* name, int number)
{
    return FormatLinkPath(out, size, startupDir, NumberedMemoName(name, number).c_str());
}

bool IsNumberedLinkName(const char* linkName, const char* name)
{
    if (strcmp(linkName, name) == 0) return true;
    // Only the number is parsed; the name built from it must match. '(' is
    // never the trail byte of a double-byte character.
    const char* digits = strrchr(linkName, '(');
    if (!digits) return false;
    long number = strtol(digits + 1, nullptr, 10);
    return number >= 2 && number <= kLastMemoNumber && NumberedMemoName(name, static_cast<int>(number)) == linkName;
}

bool FormatMemoTarget(char* out, size_t size, const char* memoDir, const char* name)
{
    return FormatBounded(out, size, "%s\\%s.txt", memoDir, name);
}

bool FormatProgramTarget(char* out, size_t size, const char* folder)
{
    return FormatBounded(out, size, "%sMossvanePad.exe", folder);
}

bool LinkNameOfFile(char* out, size_t size, const char* fileName)
{
    size_t length = strlen(fileName);
    if (!HasLinkExtension(fileName, length) || length - kLinkExtensionLength >= size) {
        if (size > 0) out[0] = '\0';
        return false;
    }
    memcpy(out, fileName, length - kLinkExtensionLength);
    out[length - kLinkExtensionLength] = '\0';
    return true;
}

bool IsMemoLink(const char* description, const char* target, const char* memoTarget)
{
    return strcmp(description, kMemoLinkDescription) == 0 && memoTarget[0] && strcmp(target, memoTarget) == 0;
}
