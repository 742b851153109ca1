#include "imaging/win32/screen_capture.h"

#include <gtest/gtest.h>

namespace lurvane::win32 {
namespace {

TEST(ColourFromSetting, TakesPlainColoursAsTheyAreAndSystemColoursFromTheSystem) {
    EXPECT_EQ(ColourFromSetting(0x00336699u), RGB(0x99, 0x66, 0x33));
    EXPECT_EQ(ColourFromSetting(0x8000000Fu), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ColourFromSetting(0x80000005u), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(ColourFromSetting(0x7F123456u), RGB(0x56, 0x34, 0x12)) << "the unused top byte is dropped";
}

}  // namespace
}  // namespace lurvane::win32
