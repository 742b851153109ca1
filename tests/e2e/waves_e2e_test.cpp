// End-to-end: a real run shows the stored picture and moves waves inside the stored path only.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "saver_driver.h"
#include "stored_scene.h"

namespace e2e {
namespace {

constexpr DWORD kStartTimeout = 10000;

// Horizontal stripes, so that every row shift shows; never pure white.
uint32_t Stripes(int x, int y) { return ((y / 6) % 2 ? 0xC08040u : 0x204060u) + static_cast<uint32_t>(x / 16); }

// A path over the lower half of the displayed picture, in twips of the dialog's preview.
const wchar_t kLowerHalfPath[] = L"0,1867;4800,1867;4800,3540;0,3540";

int DifferingPixels(const ScreenShot& a, const ScreenShot& b, const RECT& area) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) count += a.At(x, y) != b.At(x, y);
    return count;
}

int Brightness(uint32_t pixel) { return static_cast<int>((pixel & 0xFF) + ((pixel >> 8) & 0xFF) + ((pixel >> 16) & 0xFF)); }

class WaveRun : public StoredScene {
protected:
    void SetUp() override {
        StoreScene(L"lurvane-e2e-stripes.bmp", 1024, 768, Stripes, kLowerHalfPath, L"30");
        StoreSetting(L"MaximizeBackground", L"1");
    }
};

TEST_F(WaveRun, WavesMoveInsideThePathAndNothingMovesOutsideIt) {
    SaverProcess saver(L"/s");
    ASSERT_NE(WaitForSaverReady(saver.Id(), kStartTimeout), nullptr);
    ASSERT_TRUE(WaitForPointerHidden(5000)) << "the first frame, which hides the pointer, came";
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const ScreenShot first = CaptureScreen(screen);
    Sleep(200);
    const ScreenShot second = CaptureScreen(screen);

    const RECT inside{100, screen.bottom * 6 / 10, screen.right - 100, screen.bottom * 9 / 10};
    const RECT outside{0, 0, screen.right, screen.bottom * 45 / 100};
    EXPECT_GT(DifferingPixels(first, second, inside), 1000);
    EXPECT_EQ(DifferingPixels(first, second, outside), 0);

    // Outside the path the picture stands as stored (stretched to a screen of its own size).
    for (int y : {10, 100, 250})
        for (int x : {5, 500, 1000}) {
            const uint32_t expected = Stripes(x * 1024 / screen.right, y * 768 / screen.bottom);
            EXPECT_NEAR(Brightness(first.At(x, y)), Brightness(expected), 12) << x << "," << y;
        }
    PressKey(VK_SPACE);
    EXPECT_TRUE(saver.WaitForExit(1000));
}

// Pixels of the white notice text (anti-aliased, so nearly white counts).
int WhitePixels(const ScreenShot& shot) {
    int count = 0;
    for (uint32_t pixel : shot.Pixels) count += Brightness(pixel) > 3 * 220;
    return count;
}

TEST_F(WaveRun, AManualStartIgnoresKeysDuringItsNoticeAndEndsOnAKeyAfterwards) {
    SaverProcess saver(L"/m manual");
    ASSERT_NE(WaitForSaverReady(saver.Id(), kStartTimeout), nullptr);
    const ULONGLONG started = GetTickCount64();
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const RECT strip{0, height - 30, GetSystemMetrics(SM_CXSCREEN), height};

    // On a busy machine the first frame, which brings the notice, can come a moment after the window.
    ScreenShot noticeEarly = CaptureScreen(strip);
    while (WhitePixels(noticeEarly) <= 100 && GetTickCount64() - started < 3000) noticeEarly = CaptureScreen(strip);
    EXPECT_GT(WhitePixels(noticeEarly), 100) << "the notice text is shown";
    PressKey(VK_SPACE);
    Sleep(1300);
    EXPECT_TRUE(saver.Running());
    const ScreenShot noticeLater = CaptureScreen(strip);
    EXPECT_GT(DifferingPixels(noticeEarly, noticeLater, RECT{0, 0, noticeEarly.Width, noticeEarly.Height}), 0)
        << "the countdown changes";
    ClickMouse();
    Sleep(500);
    EXPECT_TRUE(saver.Running());

    while (GetTickCount64() - started < 6500) Sleep(50);
    EXPECT_EQ(WhitePixels(CaptureScreen(strip)), 0) << "the notice is gone";
    EXPECT_TRUE(saver.Running());
    PressKey(VK_SPACE);
    EXPECT_TRUE(saver.WaitForExit(1000));
}

class FrameRate : public WaveRun, public ::testing::WithParamInterface<int> {};

TEST_P(FrameRate, TheLabelShowsTheMeasuredRateCloseToTheSetting) {
    const int framerate = GetParam();
    StoreSetting(L"ShowFPS", L"1");
    StoreSetting(L"Framerate", std::to_wstring(framerate));
    SaverProcess saver(L"/s");
    HWND window = WaitForSaverReady(saver.Id(), kStartTimeout);
    ASSERT_NE(window, nullptr);
    Sleep(4600);  // two full windows of two seconds
    const std::wstring label = ChildText(window, L"STATIC");
    ASSERT_EQ(label.rfind(L"Framerate:", 0), 0u) << std::string(label.begin(), label.end());
    ASSERT_GE(label.size(), 13u);
    EXPECT_EQ(label.substr(label.size() - 3), L"fps");
    const double measured = std::wcstod(label.c_str() + 10, nullptr);
    const double expected = 1000.0 / std::round(1000.0 / framerate);
    EXPECT_NEAR(measured, expected, expected * 0.05) << std::string(label.begin(), label.end());
    PressKey(VK_SPACE);
    EXPECT_TRUE(saver.WaitForExit(1000));
}

INSTANTIATE_TEST_SUITE_P(Settings, FrameRate, ::testing::Values(10, 25, 60, 100));

TEST_F(WaveRun, RandomBackgroundsFadeDownAndUpToTheNextPicture) {
    const std::wstring folder = DocumentsFolder() + L"\\Lurvane Pictures";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring picture = folder + L"\\K\u00fcste.bmp";
    const std::wstring profile = folder + L"\\K\u00fcste.rpp";
    ASSERT_TRUE(WriteBmp(picture, 320, 240, [](int, int) { return 0xE0C080u; }));
    ASSERT_TRUE(WriteBytes(profile, "[Path]\r\nPoints=0,1867;4800,1867;4800,3540;0,3540\r\n[Wave]\r\nAmp=3\r\n"));
    StoreSetting(L"BackgroundImage", L"");
    StoreSetting(L"RandomizeBackground", L"1");
    StoreSetting(L"RestartSec", L"2");

    SaverProcess saver(L"/s");
    ASSERT_NE(WaitForSaverReady(saver.Id(), kStartTimeout), nullptr);
    // Watch one pixel outside the path: the picture, a fade down to nearly black, the next picture.
    const RECT probe{500, 100, 501, 101};
    const int pictureBrightness = Brightness(0xE0C080u);
    bool sawPicture = false, sawDark = false, sawNextPicture = false;
    for (ULONGLONG end = GetTickCount64() + 8000; GetTickCount64() < end && !sawNextPicture; Sleep(5)) {
        const int now = Brightness(CaptureScreen(probe).At(0, 0));
        const bool isPicture = std::abs(now - pictureBrightness) < 20;
        if (!sawPicture) sawPicture = isPicture;
        else if (!sawDark) sawDark = now < pictureBrightness / 4;
        else sawNextPicture = isPicture;
    }
    EXPECT_TRUE(sawPicture) << "the random picture is shown";
    EXPECT_TRUE(sawDark) << "a fade down";
    EXPECT_TRUE(sawNextPicture) << "and up to the next picture";
    EXPECT_TRUE(saver.Running());
    PressKey(VK_SPACE);
    EXPECT_TRUE(saver.WaitForExit(1000));
    DeleteFileW(picture.c_str());
    DeleteFileW(profile.c_str());
}

}  // namespace
}  // namespace e2e
