#include "bench/memo_files.h"

#include <windows.h>

#include "bench/measure.h"
#include "tests/e2e/harness.h"

namespace {
const char kWords[] = "The quick brown fox jumps over the lazy dog 0123456789.";

void MakeMemoFolder(const MemoApp& app)
{
    CreateDirectoryA(app.PathOf("memo").c_str(), nullptr);
}
}  // namespace

std::string MemoText(const std::string& name, size_t size)
{
    std::string text = name + "\r\n";
    while (text.size() < size) text += std::string(kWords) + "\r\n";
    text.resize(size);
    return text;
}

std::string LongLinesText(const std::string& name, size_t lineBytes, int lines)
{
    std::string line;
    while (line.size() + 2 < lineBytes) line += std::string(kWords) + " ";
    line.resize(lineBytes - 2);
    line += "\r\n";
    std::string text = name + "\r\n";
    for (int i = 0; i < lines; ++i) text += line;
    return text;
}

void WriteSmallMemos(const MemoApp& app, int count)
{
    MakeMemoFolder(app);
    for (int i = 0; i < count; ++i) {
        const std::string name = Format("memo %05d", i);
        app.WriteFile("memo\\" + name + ".txt", name + "\r\n");
    }
}

void WriteLastMemo(const MemoApp& app, const std::string& name, const std::string& text)
{
    MakeMemoFolder(app);
    app.WriteFile("memo\\" + name + ".txt", text);
    app.WriteFile("MossvanePad.ini", "[ReadFile]\r\nPrevFile=" + name + "\r\n");
}

std::string MemoPath(const MemoApp& app, const std::string& name)
{
    return app.PathOf("memo\\" + name + ".txt");
}
