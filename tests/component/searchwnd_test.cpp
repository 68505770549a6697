// The search window on a monitor of another scaling.
#include "memo/searchwnd.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/config.h"
#include "app/curdir.h"
#include "app/dpi.h"
#include "app/globals.h"
#include "tests/component/controlhost.h"

namespace {
const int kField = 101;
const int kHitList = 103;

std::string MakeTempFolder()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    std::string name = std::string(temp) + "mossvane-search-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(name.c_str(), nullptr);
    CreateDirectoryA((name + "\\memo").c_str(), nullptr);
    return name;
}

// Opened from a memo window at 144 DPI, or dragged onto such a monitor
// (Wine sends no WM_DPICHANGED: the test does), every control takes its
// place and the font for that DPI; the window takes the suggested
// rectangle, and the DPI it has already changes nothing.
TEST(SearchWindow, FollowsTheDpiOfTheMemoWindowAndOfItsMonitor)
{
    const std::string folder = MakeTempFolder();
    ScopedCurrentDirectory inFolder(folder.c_str());
    std::unique_ptr<CConfig> config(new CConfig);
    g_config = config.get();
    ControlHost host(false);
    std::unique_ptr<CSearchWnd> search(new CSearchWnd);
    ASSERT_TRUE(search->Create(host.Window(), 96));
    HWND hWnd = search->m_hWnd;
    const RECT field96 = {10, 10, 370, 36};
    RECT got = RectIn(hWnd, GetDlgItem(hWnd, kField));
    EXPECT_TRUE(EqualRect(&field96, &got)) << got.left << "," << got.top << " " << got.right << "," << got.bottom;

    RECT over = {100, 100, 700, 500};
    search->Open(over, 144);
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

    DestroyWindow(hWnd);
    search.reset();
    g_config = nullptr;
    RemoveDirectoryA((folder + "\\memo").c_str());
}
}  // namespace
