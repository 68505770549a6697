// The search window: the hit that Enter opens, and the window on a monitor
// of another scaling.
#include "memo/searchwnd.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/config.h"
#include "app/curdir.h"
#include "app/dpi.h"
#include "app/globals.h"
#include "tests/component/controlhost.h"
#include "tests/component/notepad_fixture.h"

namespace {
const int kField = 101;
const int kHitList = 103;
const char* const kFruitMemos[] = {"fig", "kiwi", "lime"};

void WriteMemo(const std::string& folder, const std::string& name, const std::string& text)
{
    WriteBytes(folder + "\\memo\\" + name + ".txt", text);
}

void TypeQuery(HWND search, const wchar_t* query)
{
    SendMessageW(GetDlgItem(search, kField), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(query));
}

std::wstring RowText(HWND list, int row)
{
    wchar_t text[256] = L"";
    if (SendMessageW(list, LB_GETTEXTLEN, row, 0) < 255)
        SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
    return text;
}

// The row that names memo `name`, -1 for none.
int RowOf(HWND list, const char* name)
{
    const std::wstring wanted(name, name + strlen(name));
    const int rows = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        if (RowText(list, row).find(wanted) != std::wstring::npos) return row;
    }
    return -1;
}

// A search window owned by a hidden test host, in a folder of its own with
// a memo folder, with the settings of that folder; the folder goes with the
// test.
class SearchWindow : public ::testing::Test {
protected:
    SearchWindow() { g_config = m_config.get(); }
    ~SearchWindow() override
    {
        if (m_search->m_hWnd) DestroyWindow(m_search->m_hWnd);
        m_search.reset();
        g_config = nullptr;
    }

    TempMemoFolder m_temp;
    const std::string m_folder = m_temp.path();
    ScopedCurrentDirectory m_inFolder{m_folder.c_str()};
    std::unique_ptr<CConfig> m_config{new CConfig};
    ControlHost m_host{false};
    std::unique_ptr<CSearchWnd> m_search{new CSearchWnd};
};

// A hit chosen in the list, then Enter while the search of what was typed
// since is under way: once that search is done, the hit chosen opens if it
// still is one, and nothing opens where it is not, never another hit.
TEST_F(SearchWindow, EnterDuringASearchOpensTheChosenHitOnceFoundAgainAndNothingElse)
{
    WriteMemo(m_folder, "fig", "fig\r\nfruit salad\r\n");
    WriteMemo(m_folder, "kiwi", "kiwi\r\nfruit bowl\r\n");
    WriteMemo(m_folder, "lime", "lime\r\nfruit bowl\r\n");
    ASSERT_TRUE(m_search->Create(m_host.Window(), 96));
    HWND hWnd = m_search->m_hWnd;
    HWND list = GetDlgItem(hWnd, kHitList);
    RECT over = {100, 100, 500, 400};
    m_search->Open(over, 96);

    std::vector<std::string> expected;
    for (const char* chosen : kFruitMemos) {
        TypeQuery(hWnd, L"fruit");
        ASSERT_TRUE(PumpUntil([&] { return SendMessageW(list, LB_GETCOUNT, 0, 0) == 3; })) << "three hits";
        const int row = RowOf(list, chosen);
        ASSERT_LE(0, row) << chosen;
        SendMessageW(list, LB_SETCURSEL, row, 0);
        TypeQuery(hWnd, L"bowl");
        SendMessageW(hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        ASSERT_TRUE(PumpUntil([&] { return SendMessageW(list, LB_GETCOUNT, 0, 0) == 2; })) << "two hits";
        HandleQueuedMessages();
        if (strcmp(chosen, "fig") != 0) expected.push_back(chosen);
        EXPECT_EQ(expected, m_host.SearchOpened()) << "chosen: " << chosen;
    }
}

// Opened from a memo window at 144 DPI, or dragged onto such a monitor
// (Wine sends no WM_DPICHANGED: the test does), every control takes its
// place and the font for that DPI; the window takes the suggested
// rectangle, and the DPI it has already changes nothing.
TEST_F(SearchWindow, FollowsTheDpiOfTheMemoWindowAndOfItsMonitor)
{
    ASSERT_TRUE(m_search->Create(m_host.Window(), 96));
    HWND hWnd = m_search->m_hWnd;
    const RECT field96 = {10, 10, 370, 36};
    RECT got = RectIn(hWnd, GetDlgItem(hWnd, kField));
    EXPECT_TRUE(EqualRect(&field96, &got)) << got.left << "," << got.top << " " << got.right << "," << got.bottom;

    RECT over = {100, 100, 700, 500};
    m_search->Open(over, 144);
    const RECT field144 = {15, 15, 555, 54};
    got = RectIn(hWnd, GetDlgItem(hWnd, kField));
    EXPECT_TRUE(EqualRect(&field144, &got)) << got.left << "," << got.top << " " << got.right << "," << got.bottom;
    EXPECT_EQ(27, FontHeightOf(GetDlgItem(hWnd, kHitList)));
    // The frame is Wine's at 96 DPI here, so only the width is exact.
    RECT client = {};
    GetClientRect(hWnd, &client);
    EXPECT_EQ(570, client.right);

    RECT suggested = {50, 60, 500, 400};
    EXPECT_EQ(0, SendMessageA(hWnd, WM_DPICHANGED, MAKEWPARAM(120, 120), reinterpret_cast<LPARAM>(&suggested)));
    RECT window = {};
    GetWindowRect(hWnd, &window);
    EXPECT_TRUE(EqualRect(&suggested, &window));
    EXPECT_EQ(23, FontHeightOf(GetDlgItem(hWnd, kField)));
    RECT other = {0, 0, 50, 50};
    SendMessageA(hWnd, WM_DPICHANGED, MAKEWPARAM(120, 120), reinterpret_cast<LPARAM>(&other));
    GetWindowRect(hWnd, &window);
    EXPECT_TRUE(EqualRect(&suggested, &window)) << "the DPI the window has changes nothing";
}
}  // namespace
