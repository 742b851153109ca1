#include "imaging/win32/dib_surface.h"

#include <gtest/gtest.h>

#include <utility>

namespace lurvane::win32 {
namespace {

TEST(DibSurface, RowsRunTopDownWithBlueInTheLowestByte) {
    DibSurface surface;
    ASSERT_TRUE(surface.Resize(7, 5));
    surface.Clear();
    SetPixel(surface.Dc(), 0, 0, RGB(0x11, 0x22, 0x33));
    SetPixel(surface.Dc(), 6, 4, RGB(0xAA, 0xBB, 0xCC));
    const SurfaceView view = surface.View();
    ASSERT_EQ(view.Width, 7);
    ASSERT_EQ(view.Height, 5);
    EXPECT_EQ(view.Row(0)[0] & 0xFFFFFFu, 0x112233u);
    EXPECT_EQ(view.Row(4)[6] & 0xFFFFFFu, 0xAABBCCu);
    EXPECT_EQ(view.Row(2)[3] & 0xFFFFFFu, 0u);
}

TEST(DibSurface, PixelsWrittenByTheCoreAreWhatGdiSees) {
    DibSurface surface;
    ASSERT_TRUE(surface.Resize(4, 3));
    surface.Fill(RGB(1, 2, 3));
    surface.View().Row(1)[2] = 0x00405060;
    EXPECT_EQ(GetPixel(surface.Dc(), 2, 1), RGB(0x40, 0x50, 0x60));
    EXPECT_EQ(GetPixel(surface.Dc(), 0, 0), RGB(1, 2, 3));
}

TEST(DibSurface, ResizingToNothingReleasesTheBitmapAndANewSizeWorksAgain) {
    DibSurface surface;
    ASSERT_TRUE(surface.Resize(10, 10));
    ASSERT_TRUE(surface.Resize(0, 0));
    EXPECT_TRUE(surface.Empty());
    EXPECT_EQ(surface.Dc(), nullptr);
    ASSERT_TRUE(surface.Resize(3, 2));
    EXPECT_EQ(surface.Width(), 3);
    EXPECT_FALSE(surface.Empty());
}

TEST(DibSurface, AMoveTakesThePixelsAlongAndLeavesAnEmptySurface) {
    DibSurface first;
    ASSERT_TRUE(first.Resize(4, 3));
    first.Fill(RGB(9, 8, 7));
    DibSurface second(std::move(first));
    EXPECT_TRUE(first.Empty());
    EXPECT_EQ(first.Pixels(), nullptr);
    EXPECT_EQ(first.Width(), 0);
    EXPECT_EQ(first.Dc(), nullptr);
    EXPECT_EQ(GetPixel(second.Dc(), 3, 2), RGB(9, 8, 7));

    DibSurface third;
    ASSERT_TRUE(third.Resize(2, 2));
    third = std::move(second);
    EXPECT_TRUE(second.Empty());
    EXPECT_EQ(third.Width(), 4);
    EXPECT_EQ(third.View().Row(2)[3] & 0xFFFFFFu, 0x090807u);
    // The moved-from surface works as a new one.
    ASSERT_TRUE(second.Resize(1, 1));
    EXPECT_FALSE(second.Empty());
}

}  // namespace
}  // namespace lurvane::win32
