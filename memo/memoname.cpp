#include "memo/memoname.h"

#include <cstring>

#include "app/bounded.h"

const char kNoMemoName[] = "null";
const char kMemoFilePattern[] = "*.txt";
const char kMemoFileExtension[] = ".txt";

namespace {
const int kLastNumber = 9999;
const size_t kExtensionLength = sizeof(kMemoFileExtension) - 1;

char FoldCase(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringAsciiCase(const std::string& a, const char* b)
{
    if (a.size() != strlen(b)) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    }
    return true;
}

// The part Windows matches against device names: up to the first dot,
// without trailing spaces.
size_t DeviceStemLength(const std::string& name)
{
    size_t end = name.find('.');
    if (end == std::string::npos) end = name.size();
    while (end > 0 && name[end - 1] == ' ') --end;
    return end;
}

bool IsDeviceName(const std::string& stem)
{
    static const char* const kDevices[] = {"con", "prn", "aux", "nul", "conin$", "conout$"};
    for (const char* device : kDevices) {
        if (EqualsIgnoringAsciiCase(stem, device)) return true;
    }
    if (stem.size() != 4 || stem[3] < '0' || stem[3] > '9') return false;
    std::string port = stem.substr(0, 3);
    return EqualsIgnoringAsciiCase(port, "com") || EqualsIgnoringAsciiCase(port, "lpt");
}
}  // namespace

std::string NumberedMemoName(const std::string& title, int number)
{
    if (number == 1) return title;
    std::string suffix = " (" + std::to_string(number) + ")";
    if (!IsDeviceName(title.substr(0, DeviceStemLength(title)))) return title + suffix;
    std::string name = title;
    return name.insert(DeviceStemLength(title), suffix);
}

bool IsReservedMemoName(const std::string& name)
{
    return EqualsIgnoringAsciiCase(name, kNoMemoName) || IsDeviceName(name.substr(0, DeviceStemLength(name)));
}

bool IsSameMemoName(const std::string& a, const std::string& b, NameFold fold)
{
    return fold(a) == fold(b);
}

std::optional<std::string> ChooseMemoName(const std::string& title, const std::string& current,
                                          const MemoExistsPredicate& exists, NameFold fold)
{
    for (int number = 1; number <= kLastMemoNumber; ++number) {
        std::string name = NumberedMemoName(title, number);
        if (IsReservedMemoName(name)) continue;
        if (IsSameMemoName(name, current, fold) || !exists(name)) return name;
    }
    return std::nullopt;
}

bool FormatMemoFileName(char* out, size_t size, const std::string& name)
{
    if (IsReservedMemoName(name)) {
        if (size > 0) out[0] = '\0';
        return false;
    }
    return FormatBounded(out, size, "%s%s", name.c_str(), kMemoFileExtension);
}

bool IsMemoFileName(const std::string& file)
{
    return file.size() >= kExtensionLength &&
           EqualsIgnoringAsciiCase(file.substr(file.size() - kExtensionLength), kMemoFileExtension) &&
           !IsReservedMemoName(file.substr(0, file.size() - kExtensionLength));
}

std::string MemoNameOfFile(const std::string& file)
{
    return file.substr(0, file.size() - kExtensionLength);
}
