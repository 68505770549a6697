// The memo window's children: where they sit and the floating button bar.
#include <gtest/gtest.h>

#include <string>

#include "app/mainfont.h"
#include "tests/e2e/harness.h"

namespace {
const int kEdit = 200;
const int kFileList = 201;
const int kStartup = 202;
const int kShortcut = 203;
const int kPin = 204;

struct Child {
    int id;
    const char* className;
    DWORD style;
    RECT rect;
};

std::string ClassOf(HWND hWnd)
{
    char name[64] = "";
    GetClassNameA(hWnd, name, sizeof(name));
    return name;
}

// Whether `above` comes before `below` among the siblings, top first.
bool IsAbove(HWND above, HWND below)
{
    for (HWND next = GetWindow(above, GW_HWNDNEXT); next; next = GetWindow(next, GW_HWNDNEXT)) {
        if (next == below) return true;
    }
    return false;
}

void ExpectChildren(const MemoApp& app, int width, int height)
{
    const int eh = height - 25;
    const int x0 = (width - 218) / 5;
    const DWORD button = 0x5400000B;
    const Child children[] = {
        {200, "Edit", 0x54201044, {0, 0, width, eh}},
        {1, "Button", button, {x0, eh - 60, x0 + 50, eh - 10}},
        {2, "Button", button, {2 * x0 + 50, eh - 60, 2 * x0 + 100, eh - 10}},
        {3, "Button", button, {3 * x0 + 100, eh - 60, 3 * x0 + 150, eh - 10}},
        {4, "Button", button, {4 * x0 + 150, eh - 60, 4 * x0 + 200, eh - 10}},
        {201, "ComboBox", 0x50000803 | WS_DISABLED, {0, eh, 210, height}},  // the memo folder starts empty
        {202, "Button", 0x50000083 | WS_DISABLED, {220, eh, 295, height}},  // the editor starts empty
        {203, "Button", 0x50000003, {295, eh, 380, height}},
        {204, "Button", 0x50000003, {width - 20, height - 20, width - 4, height - 4}},
    };
    for (const Child& c : children) {
        SCOPED_TRACE("control id " + std::to_string(c.id));
        HWND hWnd = app.Child(c.id);
        ASSERT_NE(nullptr, hWnd);
        EXPECT_STRCASEEQ(c.className, ClassOf(hWnd).c_str());
        EXPECT_EQ(c.style, static_cast<DWORD>(GetWindowLongA(hWnd, GWL_STYLE))) << std::hex << c.style;
        RECT rc = app.ChildRect(c.id);
        EXPECT_EQ(c.rect.left, rc.left);
        EXPECT_EQ(c.rect.top, rc.top);
        EXPECT_EQ(c.rect.right, rc.right);
        // A drop-down list sizes its closed height after its font.
        if (c.id != kFileList) {
            EXPECT_EQ(c.rect.bottom, rc.bottom);
        }
    }
    for (int id = 1; id <= 4; ++id) EXPECT_TRUE(IsAbove(app.Child(id), app.Editor())) << "button " << id;
    EXPECT_EQ("Startup", MemoApp::WindowText(app.Child(202)));
    EXPECT_EQ("Shortcut", MemoApp::WindowText(app.Child(203)));
    EXPECT_TRUE(app.IsChecked(203)) << "the shortcut starts enabled";
    EXPECT_FALSE(app.IsChecked(kPin)) << "every start is unpinned";
}

TEST(MemoLayout, ChildrenSitWhereTheConfiguredSizePutsThem)
{
    struct Case {
        const char* ini;
        int width;
        int height;
    };
    const Case cases[] = {
        {"", 400, 225},
        {"[Window]\r\nWidth=500\r\n", 500, 225},
        {"[Window]\r\nWidth=200\r\nHeight=300\r\n", 200, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        MemoApp app;
        app.WriteFile("MossvanePad.ini", c.ini);
        ASSERT_TRUE(app.Start());
        ExpectChildren(app, c.width, c.height);
        ASSERT_EQ(0u, app.EndFromTray());
    }
}

// A font of this process made as the program makes the strip's, from the
// same face and cell height, at the test bench's 96 DPI and through the same
// face replacement of the prefix. The control's own font cannot be used: a
// font handle means nothing in another process, and Wine answers WM_GETFONT
// from another process with none.
class StripFont {
public:
    StripFont() : m_hDC(CreateCompatibleDC(nullptr))
    {
        LOGFONTA font = {};
        font.lfHeight = kMainFontHeight;
        lstrcpynA(font.lfFaceName, kMainFontFace, LF_FACESIZE);
        m_hFont = CreateFontIndirectA(&font);
        if (m_hDC && m_hFont) m_hOld = SelectObject(m_hDC, m_hFont);
    }
    ~StripFont()
    {
        if (m_hOld) SelectObject(m_hDC, m_hOld);
        if (m_hFont) DeleteObject(m_hFont);
        if (m_hDC) DeleteDC(m_hDC);
    }
    bool ok() const { return m_hOld != nullptr; }
    SIZE Extent(const std::string& text) const
    {
        SIZE size = {};
        GetTextExtentPoint32A(m_hDC, text.c_str(), static_cast<int>(text.size()), &size);
        return size;
    }

private:
    HDC m_hDC;
    HFONT m_hFont = nullptr;
    HGDIOBJ m_hOld = nullptr;
};

// A check box draws its 13-pixel box, half a "0" of its font, then its
// caption, and cuts what does not fit: a wider font or a narrower box cuts
// the caption's last letters.
TEST(MemoLayout, CheckBoxCaptionsAreWhole)
{
    const int kBoxSize = 13;
    MemoApp app;
    ASSERT_TRUE(app.Start());
    StripFont font;
    ASSERT_TRUE(font.ok());
    for (int id : {kStartup, kShortcut}) {
        HWND hBox = app.Child(id);
        const std::string caption = MemoApp::WindowText(hBox);
        SCOPED_TRACE(caption);
        const SIZE text = font.Extent(caption);
        const RECT rc = app.ChildRect(id);
        EXPECT_LE(kBoxSize + font.Extent("0").cx / 2 + text.cx, rc.right - rc.left);
        EXPECT_LE(text.cy, rc.bottom - rc.top);
    }
    ASSERT_EQ(0u, app.EndFromTray());
}

bool BarShown(const MemoApp& app)
{
    for (int id = 1; id <= 4; ++id) {
        if (!IsWindowVisible(app.Child(id))) return false;
    }
    return true;
}

bool BarHidden(const MemoApp& app)
{
    for (int id = 1; id <= 4; ++id) {
        if (IsWindowVisible(app.Child(id))) return false;
    }
    return true;
}

POINT CentreOf(HWND hWnd)
{
    RECT rc;
    GetWindowRect(hWnd, &rc);
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

TEST(MemoLayout, ButtonBarFollowsTheMouseOverTheEditor)
{
    MemoApp app;
    ASSERT_TRUE(MoveCursorTo(640, 500));
    ASSERT_TRUE(app.Start());
    RECT edit;
    GetWindowRect(app.Editor(), &edit);
    const POINT text = {edit.left + 30, edit.top + 30};

    MoveMouse(text.x, text.y);
    PressLeftButton();
    EXPECT_TRUE(WaitUntil([&] { return BarHidden(app); })) << "a left press in the editor hides the bar";
    ReleaseLeftButton();

    MoveMouse(text.x + 5, text.y + 5);
    EXPECT_TRUE(WaitUntil([&] { return BarShown(app); })) << "a move over the editor shows it";

    POINT onButton = CentreOf(app.Child(2));
    MoveMouse(onButton.x, onButton.y);
    EXPECT_FALSE(WaitUntil([&] { return !BarShown(app); }, 1500)) << "leaving the editor for a button keeps it";

    MoveMouse(text.x, text.y);
    POINT onList = CentreOf(app.Child(kFileList));
    MoveMouse(onList.x, onList.y);
    EXPECT_TRUE(WaitUntil([&] { return BarHidden(app); })) << "leaving for the strip hides it";

    MoveMouse(text.x, text.y);
    ASSERT_TRUE(WaitUntil([&] { return BarShown(app); }));
    RECT window = app.WindowRect();
    MoveMouse(window.left - 40 > 0 ? window.left - 40 : window.right + 40, text.y);
    EXPECT_TRUE(WaitUntil([&] { return BarHidden(app); })) << "leaving the window hides it";
    ASSERT_EQ(0u, app.EndFromTray());
}
}  // namespace
