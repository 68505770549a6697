// The program's PNG resources, decoded by GDI+ as the controls decode them.
#include <windows.h>

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <memory>

#include "app/gdiplussession.h"
#include "controls/pngresource.h"

namespace {
using BitmapPtr = std::unique_ptr<Gdiplus::Bitmap>;

const Gdiplus::ARGB kGrey = 0xFF6A6A6A;  // RGB(106,106,106)
const Gdiplus::ARGB kBlue = 0xFF2C84EE;  // RGB(44,132,238)

class Images : public ::testing::Test {
protected:
    GdiplusSession m_gdiplus;
};

Gdiplus::ARGB PixelAt(Gdiplus::Bitmap& image, int x, int y)
{
    Gdiplus::Color colour;
    image.GetPixel(x, y, &colour);
    return colour.GetValue();
}

TEST_F(Images, EveryPictureDecodesToItsSize)
{
    ASSERT_TRUE(m_gdiplus.ok());
    struct Case {
        int id;
        UINT side;
    };
    const Case cases[] = {{100, 50}, {101, 50}, {102, 50}, {103, 50}, {110, 50}, {111, 50}, {112, 50},
                          {113, 50}, {130, 50}, {131, 50}, {132, 50}, {133, 50}, {300, 15}, {310, 15}};
    for (const Case& c : cases) {
        BitmapPtr image(LoadPngResource(c.id, "PNG"));
        ASSERT_TRUE(image) << "resource " << c.id;
        EXPECT_EQ(c.side, image->GetWidth()) << "resource " << c.id;
        EXPECT_EQ(c.side, image->GetHeight()) << "resource " << c.id;
    }
}

TEST_F(Images, MissingResourceGivesNull)
{
    EXPECT_EQ(nullptr, LoadPngResource(104, "PNG"));
    EXPECT_EQ(nullptr, LoadPngResource(100, "GIF"));
}

// Grey and blue faces share every pixel's opacity; each is one flat colour
// wherever it is not fully transparent.
void ExpectSameShapeInGreyAndBlue(int greyId, int blueId, bool smoothEdges)
{
    SCOPED_TRACE(testing::Message() << "faces " << greyId << " and " << blueId);
    BitmapPtr grey(LoadPngResource(greyId, "PNG"));
    BitmapPtr blue(LoadPngResource(blueId, "PNG"));
    ASSERT_TRUE(grey && blue);
    int opaque = 0, edge = 0;
    for (UINT y = 0; y < grey->GetHeight(); ++y) {
        for (UINT x = 0; x < grey->GetWidth(); ++x) {
            Gdiplus::ARGB g = PixelAt(*grey, x, y), b = PixelAt(*blue, x, y);
            ASSERT_EQ(g >> 24, b >> 24) << "opacity differs at " << x << "," << y;
            if ((g >> 24) == 0) continue;
            ASSERT_EQ(kGrey & 0xFFFFFF, g & 0xFFFFFF) << "at " << x << "," << y;
            ASSERT_EQ(kBlue & 0xFFFFFF, b & 0xFFFFFF) << "at " << x << "," << y;
            ((g >> 24) == 0xFF ? opaque : edge)++;
        }
    }
    EXPECT_GT(opaque, 0);
    if (smoothEdges) {
        EXPECT_GT(edge, 0) << "the edges are anti-aliased";
    }
}

TEST_F(Images, HoverFacesAndCheckedPinDifferOnlyInColour)
{
    for (int id = 100; id <= 103; ++id) ExpectSameShapeInGreyAndBlue(id, id + 10, true);
    ExpectSameShapeInGreyAndBlue(300, 310, false);  // drawn on whole pixels
}

// The mask is opaque and is pure white exactly where the face is fully
// transparent; elsewhere it darkens with the face's opacity.
TEST_F(Images, MasksAgreeWithTheirFaces)
{
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(testing::Message() << "button " << i + 1);
        BitmapPtr face(LoadPngResource(100 + i, "PNG"));
        BitmapPtr mask(LoadPngResource(130 + i, "PNG"));
        ASSERT_TRUE(face && mask);
        for (int y = 0; y < 50; ++y) {
            for (int x = 0; x < 50; ++x) {
                Gdiplus::ARGB m = PixelAt(*mask, x, y);
                unsigned alpha = PixelAt(*face, x, y) >> 24;
                unsigned level = m & 0xFF;
                ASSERT_EQ(0xFFu, m >> 24) << "mask not opaque at " << x << "," << y;
                ASSERT_EQ(level * 0x010101u, m & 0xFFFFFF) << "mask not grey at " << x << "," << y;
                ASSERT_EQ(255 - alpha, level) << "at " << x << "," << y;
            }
        }
    }
}
}  // namespace
