// The saver at 200 % display scaling: what it prints itself grows with the window's DPI.
#include <gtest/gtest.h>

#include "saver_driver.h"
#include "stored_scene.h"

namespace e2e {
namespace {

constexpr DWORD kStartTimeout = 15000;

bool IsNoticeWhite(uint32_t pixel) { return (pixel & 0xFF) > 220 && ((pixel >> 8) & 0xFF) > 220 && (pixel >> 16) > 220; }

// Rows of the shot that hold notice text, as the first and last such row (-1 when none).
std::pair<int, int> NoticeRows(const ScreenShot& shot) {
    int first = -1, last = -1;
    for (int y = 0; y < shot.Height; ++y)
        for (int x = 0; x < shot.Width; ++x)
            if (IsNoticeWhite(shot.At(x, y))) {
                if (first < 0) first = y;
                last = y;
                break;
            }
    return {first, last};
}

class HighDpiRun : public StoredScene {
protected:
    void SetUp() override {
        ASSERT_TRUE(scaling_.Set());
        StoreScene(L"lurvane-e2e-dark.bmp", 320, 240, [](int, int) { return 0x203040u; }, L"0,0;15,0;15,15", L"30");
        // Scaling blends the picture's last row with the background colour: make that dark too.
        StoreSetting(L"MaximizeBackground", L"1");
        StoreSetting(L"ColorBackground", L"0");
    }
    support::DisplayScaling scaling_{192};
};

TEST_F(HighDpiRun, TheManualStartNoticeIsWhollyVisibleAndWhollyErased) {
    SaverProcess saver(L"/m manual");
    ASSERT_NE(WaitForSaverReady(saver.Id(), kStartTimeout), nullptr);
    const ULONGLONG started = GetTickCount64();
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    // Twice the bottom strip of an unscaled screen and more: the whole region a scaled notice may use.
    const RECT bottom{0, height - 120, width, height};

    // On a busy machine the first frame, which brings the notice, can come a moment after the window.
    std::pair<int, int> rows = NoticeRows(CaptureScreen(bottom));
    for (; rows.first < 0 && GetTickCount64() - started < 3000; rows = NoticeRows(CaptureScreen(bottom))) Sleep(50);
    const auto [top, lowest] = rows;
    ASSERT_GE(top, 0) << "the notice is shown";
    const int textRows = lowest - top + 1;
    // 14 points at 192 DPI: capitals about 27 pixels high, where 96 DPI gives about 13.
    EXPECT_GE(textRows, 20) << "the notice's font follows the DPI";
    EXPECT_GE(top, 120 - 60) << "the notice stands inside its scaled strip";
    EXPECT_LT(lowest, 119) << "the notice is not cut off at the bottom";

    while (GetTickCount64() - started < 6500) Sleep(50);
    EXPECT_EQ(NoticeRows(CaptureScreen(bottom)).first, -1) << "no trace of the notice remains";
    PressKey(VK_SPACE);
    EXPECT_TRUE(saver.WaitForExit(2000));
}

}  // namespace
}  // namespace e2e
