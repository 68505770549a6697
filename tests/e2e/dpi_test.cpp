// The memo window at the display scalings users run: the registry's
// LogPixels, which Wine reads at each program start, stands for the
// scaling Windows sets.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/e2e/region_probe.h"

namespace {
const char kDesktopKey[] = "Control Panel\\Desktop";
const int kPin = 204;

// Sets a DWORD of HKCU\Control Panel\Desktop for the programs started
// meanwhile, and puts back what was there.
class ScopedDesktopValue {
public:
    ScopedDesktopValue(const char* name, DWORD value) : m_name(name)
    {
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &m_key,
                            nullptr) != ERROR_SUCCESS)
            return;
        DWORD size = sizeof(m_old), type = 0;
        m_hadOld = RegQueryValueExA(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(&m_old), &size) ==
                       ERROR_SUCCESS && type == REG_DWORD;
        m_ok = RegSetValueExA(m_key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value)) ==
               ERROR_SUCCESS;
    }
    ~ScopedDesktopValue()
    {
        if (!m_key) return;
        if (m_hadOld)
            RegSetValueExA(m_key, m_name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&m_old), sizeof(m_old));
        else
            RegDeleteValueA(m_key, m_name);
        RegCloseKey(m_key);
    }
    bool ok() const { return m_ok; }

private:
    const char* m_name;
    HKEY m_key = nullptr;
    DWORD m_old = 0;
    bool m_hadOld = false;
    bool m_ok = false;
};

int Scaled(int value96, int dpi)
{
    return static_cast<int>(std::lround(value96 * dpi / 96.0));
}

// The distance between the tops of the editor's first two lines.
int EditorLineHeight(const MemoApp& app)
{
    app.TypeText("a\r\nb");
    LRESULT first = SendMessageA(app.Editor(), EM_POSFROMCHAR, 0, 0);
    LRESULT second = SendMessageA(app.Editor(), EM_POSFROMCHAR, 3, 0);
    return static_cast<short>(HIWORD(second)) - static_cast<short>(HIWORD(first));
}

struct Measured {
    RECT client;
    RECT children[9];
    int lineHeight;
    long regionArea[4];
    RECT regionBounds[4];
};

const int kChildIds[9] = {200, 1, 2, 3, 4, 201, 202, 203, kPin};

// The window as the user sees it once it has painted; every measurement
// in pixels.
Measured Measure(MemoApp& app)
{
    Measured m = {};
    GetClientRect(app.Window(), &m.client);
    for (int i = 0; i < 9; ++i) m.children[i] = app.ChildRect(kChildIds[i]);
    for (int i = 0; i < 4; ++i) {
        HWND button = app.Child(i + 1);
        EXPECT_TRUE(WaitUntil([&] { return RegionArea(button, &m.regionBounds[i]) > 0; })) << "button " << i + 1;
        m.regionArea[i] = RegionArea(button, &m.regionBounds[i]);
    }
    m.lineHeight = EditorLineHeight(app);
    return m;
}

Measured MeasureAt(DWORD logPixels, DWORD scalingVer)
{
    ScopedDesktopValue dpi("LogPixels", logPixels);
    ScopedDesktopValue scaling("DpiScalingVer", scalingVer);
    EXPECT_TRUE(dpi.ok() && scaling.ok());
    MemoApp app;
    EXPECT_TRUE(MoveCursorTo(640, 500));
    EXPECT_TRUE(app.Start());
    Measured m = Measure(app);

    RECT window = app.WindowRect(), work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT inside;
    EXPECT_TRUE(IntersectRect(&inside, &window, &work) && EqualRect(&inside, &window))
        << "the window fits the work area at " << logPixels;
    EXPECT_EQ(0u, app.EndFromTray());
    return m;
}

void ExpectNear(int expected, long got, int slack, const std::string& what)
{
    EXPECT_LE(std::abs(expected - got), slack) << what << ": " << got << " for " << expected;
}

void ExpectPicturesAndTextScaled(const Measured& at96, const Measured& m, int dpi);

void ExpectScaled(const Measured& at96, const Measured& m, int dpi)
{
    ExpectNear(Scaled(400, dpi), m.client.right, 0, "client width");
    ExpectNear(Scaled(225, dpi), m.client.bottom, 0, "client height");
    for (int i = 0; i < 9; ++i) {
        const RECT& a = at96.children[i];
        const RECT& b = m.children[i];
        const std::string what = "child " + std::to_string(kChildIds[i]);
        ExpectNear(Scaled(a.left, dpi), b.left, 1, what + " left");
        ExpectNear(Scaled(a.top, dpi), b.top, 1, what + " top");
        ExpectNear(Scaled(a.right, dpi), b.right, 1, what + " right");
        // A drop-down list takes its closed height from its font.
        if (kChildIds[i] != 201) ExpectNear(Scaled(a.bottom, dpi), b.bottom, 1, what + " bottom");
    }
    for (int i = 0; i < 4; ++i) {
        const RECT& button = m.children[1 + i];
        const RECT own = {0, 0, button.right - button.left, button.bottom - button.top};
        RECT outside;
        EXPECT_FALSE(SubtractRect(&outside, &m.regionBounds[i], &own)) << "button " << i + 1 << ": the cut lies in it";
    }
    ExpectPicturesAndTextScaled(at96, m, dpi);
}

// What the program draws at the DPI, which Wine passes to another process
// as the program made it: the editor's lines and the buttons' regions.
void ExpectPicturesAndTextScaled(const Measured& at96, const Measured& m, int dpi)
{
    ExpectNear(Scaled(at96.lineHeight, dpi), m.lineHeight, 2, "line height");
    // The outline's anti-aliased edge is about a pixel wide at every scale,
    // a larger share of a smaller picture: the areas agree within that.
    for (int i = 0; i < 4; ++i) {
        const double expected = at96.regionArea[i] * (dpi / 96.0) * (dpi / 96.0);
        EXPECT_NEAR(expected, m.regionArea[i], expected * 0.12) << "region of button " << i + 1;
    }
}

// With Wine honouring the manifest, a program not declared aware would be
// shrunk and stretched; declared aware, it lays itself out. A Wine session
// started at another DPI hands its rectangles to other processes at that
// DPI's scale, so the layout is checked in proportion to the client area,
// and the lines and regions, which no one rescales, in pixels.
TEST(MemoDpi, TheManifestDeclaresTheAwarenessThatWineHonours)
{
#ifndef _WIN64
    // 32-bit Wine 8 honours no awareness under DpiScalingVer 1, declared or
    // asked for: a probe with this manifest read GetProcessDpiAwarenessInternal
    // 0, SetProcessDpiAwarenessContext failed, and its windows were scaled
    // by Wine while GetDpiForWindow gave 144. Only wine64 can show this.
    GTEST_SKIP() << "32-bit Wine 8 does not honour a declared DPI awareness";
#endif
    const Measured at96 = MeasureAt(96, 0);
    const Measured m = MeasureAt(144, 1);
    const double seen = m.client.right / 400.0;
    ExpectNear(static_cast<int>(std::lround(225 * seen)), m.client.bottom, 1, "client height");
    for (int i = 0; i < 9; ++i) {
        const std::string what = "child " + std::to_string(kChildIds[i]);
        ExpectNear(static_cast<int>(std::lround(at96.children[i].left * seen)), m.children[i].left, 1, what);
        ExpectNear(static_cast<int>(std::lround(at96.children[i].top * seen)), m.children[i].top, 1, what);
        ExpectNear(static_cast<int>(std::lround(at96.children[i].right * seen)), m.children[i].right, 1, what);
    }
    ExpectPicturesAndTextScaled(at96, m, 144);
}

TEST(MemoDpi, LayoutFontsAndRegionsScaleWithTheDisplay)
{
    const Measured at96 = MeasureAt(96, 0);
    // Today's window at 96 DPI, pixel for pixel.
    EXPECT_EQ(400, at96.client.right);
    EXPECT_EQ(225, at96.client.bottom);
    EXPECT_EQ((RECT{36, 140, 86, 190}).left, at96.children[1].left);
    EXPECT_EQ(140, at96.children[1].top);
    EXPECT_EQ(190, at96.children[1].bottom);
    EXPECT_EQ(380, at96.children[8].left);
    EXPECT_EQ(1152, at96.regionArea[0]);
    EXPECT_EQ(21, at96.lineHeight);
    for (int dpi : {120, 144, 192}) {
        SCOPED_TRACE("LogPixels " + std::to_string(dpi));
        ExpectScaled(at96, MeasureAt(dpi, 0), dpi);
    }
}
}  // namespace
