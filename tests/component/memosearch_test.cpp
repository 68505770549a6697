// The search over a temporary memo folder, its files written as another
// program would.
#include "memo/memosearch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/component/controlhost.h"
#include "tests/component/notepad_fixture.h"

namespace {
FILETIME WriteTimeOf(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

void SetWriteTime(const std::string& path, const FILETIME& time)
{
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
}

class MemoSearch : public ::testing::Test {
protected:
    void SetUp() override
    {
        char dir[MAX_PATH] = "";
        GetCurrentDirectoryA(sizeof(dir), dir);
        m_start = dir;
        SetCurrentDirectoryA(m_folder.path().c_str());
    }
    void TearDown() override { SetCurrentDirectoryA(m_start.c_str()); }
    void Write(const std::string& name, const std::string& bytes) const
    {
        WriteBytes(m_folder.path() + "\\memo\\" + name + ".txt", bytes);
    }
    // The hits as "name: line" (ASCII names), searched to the end; those
    // after the shown memo's (a shown text matches in these tests) in the
    // order of their names, as most file systems list them.
    std::vector<std::u16string> Search(const std::u16string& typed, const std::string& shownName = "null",
                                       const std::u16string& shownText = u"")
    {
        m_search.Start(ParseSearchQuery(typed, true), shownName, shownText);
        // Steps without any time each still get the search on.
        for (int steps = 0; !m_search.Step(0); ++steps) {
            if (steps > 10000) return {u"(never done)"};
        }
        std::vector<std::u16string> hits;
        for (const SearchHit& hit : m_search.Hits())
            hits.push_back(std::u16string(hit.name.begin(), hit.name.end()) + u": " + hit.line);
        std::sort(hits.begin() + (shownText.empty() || hits.empty() ? 0 : 1), hits.end());
        return hits;
    }

    TempMemoFolder m_folder;
    std::string m_start;
    CMemoSearch m_search;
};

using Hits = std::vector<std::u16string>;

TEST_F(MemoSearch, FindsEachMemoAsItsFileIsNow)
{
    Write("sjis", "title\r\nline 2\r\n\x81 the USB stick\r\n");
    Write("utf8", "\xEF\xBB\xBF" "utf-8 memo\r\n\xEF\xBC\xB5\xEF\xBC\xB3\xEF\xBC\xA2 in full width");
    Write("utf16", std::string("\xFF\xFE" "u\0s\0b\0", 8));
    Write("other", "nothing here");
    EXPECT_EQ((Hits{u"sjis: \uFFFD the USB stick", u"utf16: usb", u"utf8: ＵＳＢ in full width"}), Search(u"usb"))
        << "the lone lead byte is a character of its own";

    // Rewritten at once at the same size, and with the same time, as a file
    // system that keeps times to 2 seconds shows it.
    const std::string sjis = m_folder.path() + "\\memo\\sjis.txt";
    const FILETIME written = WriteTimeOf(sjis);
    Write("sjis", "title\r\nline 2\r\n\x81 the PEN stick\r\n");
    SetWriteTime(sjis, written);
    DeleteFileA((m_folder.path() + "\\memo\\utf16.txt").c_str());
    Write("new", "a new usb memo");
    EXPECT_EQ((Hits{u"sjis: \uFFFD the PEN stick"}), Search(u"pen"));
    EXPECT_EQ((Hits{u"new: a new usb memo", u"utf8: ＵＳＢ in full width"}), Search(u"usb"));

    // The memo shown is searched as shown, first, and its file not again.
    EXPECT_EQ((Hits{u"UTF8: draft usb", u"new: a new usb memo"}), Search(u"usb", "UTF8", u"draft usb"));
    EXPECT_EQ((Hits{u"null: typed usb", u"new: a new usb memo", u"utf8: ＵＳＢ in full width"}),
              Search(u"usb", "null", u"typed usb"));
}

// Shift-JIS is decoded before matching: the second bytes of 表, ソ and 、
// are '\', '\' and 'A'; a lead byte with no trail byte is one character.
TEST_F(MemoSearch, MatchesDecodedCharactersNotBytes)
{
    Write("bytes", "表ソ、\r\n");
    Write("lone", "\x81 xyz\x81");
    EXPECT_EQ(Hits{}, Search(u"\\"));
    EXPECT_EQ(Hits{}, Search(u"a"));
    EXPECT_EQ((Hits{u"lone: \uFFFD xyz\uFFFD"}), Search(u"xyz"));
    EXPECT_EQ((Hits{u"bytes: 表ソ、"}), Search(u"ソ"));
}
// A memo larger than what is read of it is searched by its start, which
// still reads as the file's encoding where a character straddles the cut.
TEST_F(MemoSearch, SearchesTheStartOfAVeryLargeMemo)
{
    const std::string kanji = "\xE6\x97\xA5\xE6\x9C\xAC";  // UTF-8, no BOM
    std::string text = kanji + " start\r\n";
    text.append(CMemoSearch::kMostBytesOfMemo - 1 - text.size(), 'x');
    Write("large", text + kanji + " tail");
    EXPECT_EQ((Hits{u"large: 日本 start"}), Search(u"日本 start"));
    EXPECT_EQ(Hits{}, Search(u"tail"));
}
}  // namespace
