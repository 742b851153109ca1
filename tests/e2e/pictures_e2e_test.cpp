// Pictures as cameras and other programs leave them: a photo turned by its EXIF block, a TIFF,
// a PNG with a transparent part over the background colour.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "saver_driver.h"

namespace e2e {
namespace {

constexpr DWORD kStartTimeout = 15000;

// A file the build made, as Wine names it (its Z: drive is the Linux root).
std::wstring BuildData(const char* name) {
    std::wstring path = L"Z:";
    for (const char* c = LURVANE_E2E_DATA; *c != '\0'; ++c) path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    path += L'\\';
    for (const char* c = name; *c != '\0'; ++c) path += static_cast<wchar_t>(*c);
    return path;
}

enum class Hue { Red, Green, Blue, Other };

Hue HueOf(uint32_t rgb) {
    const int r = static_cast<int>(rgb >> 16 & 0xFF), g = static_cast<int>(rgb >> 8 & 0xFF), b = static_cast<int>(rgb & 0xFF);
    if (r > 180 && g < 80 && b < 80) return Hue::Red;
    if (g > 180 && r < 80 && b < 80) return Hue::Green;
    if (b > 180 && r < 80 && g < 80) return Hue::Blue;
    return Hue::Other;
}

struct Expected {
    const char* File;
    Hue TopLeft, BottomLeft, TopRight;  // at a quarter of the screen from the edges
};

class PictureFile : public ::testing::TestWithParam<Expected> {
protected:
    void SetUp() override { ClearStoredSettings(); }
    void TearDown() override { ClearStoredSettings(); }
};

TEST_P(PictureFile, ShowsUprightAndOverTheBackgroundColour) {
    const Expected expected = GetParam();
    StoreSetting(L"BackgroundImage", BuildData(expected.File));
    StoreSetting(L"MaximizeBackground", L"1");
    StoreSetting(L"ColorBackground", L"65280");  // green, 0x00BBGGRR
    StoreSetting(L"PathPoints", L"0,0;15,0;15,15");
    StoreSetting(L"RestartSec", L"0");
    SaverProcess saver(L"/s");
    ASSERT_NE(WaitForSaverReady(saver.Id(), kStartTimeout), nullptr);
    ASSERT_TRUE(WaitForPointerHidden(5000)) << "the first frame, which hides the pointer, came";
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    const ScreenShot shot = CaptureScreen(RECT{0, 0, width, height});
    EXPECT_EQ(HueOf(shot.At(width / 4, height / 4)), expected.TopLeft) << expected.File;
    EXPECT_EQ(HueOf(shot.At(width / 4, height * 3 / 4)), expected.BottomLeft) << expected.File;
    EXPECT_EQ(HueOf(shot.At(width * 3 / 4, height / 4)), expected.TopRight) << expected.File;
    PressKey(VK_SPACE);
    EXPECT_TRUE(saver.WaitForExit(3000));
}

// The photo is stored red | blue with "turn 90 degrees clockwise": upright, red is on top.
INSTANTIATE_TEST_SUITE_P(Kinds, PictureFile,
                         ::testing::Values(Expected{"turned.jpg", Hue::Red, Hue::Blue, Hue::Red},
                                           Expected{"halves.tif", Hue::Red, Hue::Red, Hue::Blue},
                                           Expected{"half-clear.png", Hue::Red, Hue::Red, Hue::Green}),
                         [](const ::testing::TestParamInfo<Expected>& param) {
                             std::string name = param.param.File;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

}  // namespace
}  // namespace e2e
