// End-to-end: hand-edited stored values keep their meaning in a real run, and a saver whose
// path has a blank starts from a command line that does not quote it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "saver_driver.h"
#include "stored_scene.h"

namespace e2e {
namespace {

constexpr DWORD kStartTimeout = 10000;
constexpr uint32_t kPictureColour = 0x3070B0;     // 0x00RRGGBB
constexpr uint32_t kBackgroundColour = 0x00FF00;  // the same as 0x00BBGGRR, stored as 65280

// A point of the screen as fractions of its width and height.
struct Spot {
    double X, Y;
};

bool Near(uint32_t a, uint32_t b) {
    for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 8) return false;
    return true;
}

std::string Hex(uint32_t colour) {
    char text[16];
    std::snprintf(text, sizeof text, "%06X", colour);
    return text;
}

class StoredValueRun : public StoredScene {
protected:
    void SetUp() override {
        // A picture of the screen's own shape in one colour, so that the waves change nothing.
        StoreScene(L"lurvane-e2e-plain.bmp", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                   [](int, int) { return kPictureColour; }, L"0,0;4800,0;4800,3500;0,3500", L"20");
    }
};

TEST_F(StoredValueRun, ASizeBelowTheRangeShowsThePictureAtHalfSizeNotAtTheDefault) {
    StoreSetting(L"MaximizeBackground", L"0");
    StoreSetting(L"ColorBackground", std::to_wstring(kBackgroundColour));
    StoreSetting(L"SizeBackground", L"30");
    SaverProcess saver(L"/s");
    ASSERT_NE(WaitForSaverReady(saver.Id(), kStartTimeout), nullptr);
    ASSERT_TRUE(WaitForPointerHidden(5000)) << "the first frame, which hides the pointer, came";
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    const ScreenShot shot = CaptureScreen(RECT{0, 0, width, height});

    // At 50 % the picture covers the middle quarter of the screen, from a quarter of each side
    // (30 % would leave 0.36 of the width free on each side, 100 % none).
    for (const Spot spot : {Spot{0.28, 0.28}, Spot{0.5, 0.5}, Spot{0.72, 0.72}, Spot{0.28, 0.72}}) {
        const int x = static_cast<int>(spot.X * width), y = static_cast<int>(spot.Y * height);
        EXPECT_TRUE(Near(shot.At(x, y), kPictureColour)) << x << "," << y << ": " << Hex(shot.At(x, y));
    }
    for (const Spot spot : {Spot{0.22, 0.5}, Spot{0.78, 0.5}, Spot{0.5, 0.22}, Spot{0.5, 0.78}, Spot{0.05, 0.05}}) {
        const int x = static_cast<int>(spot.X * width), y = static_cast<int>(spot.Y * height);
        EXPECT_TRUE(Near(shot.At(x, y), kBackgroundColour)) << x << "," << y << ": " << Hex(shot.At(x, y));
    }
    PressKey(VK_SPACE);
    EXPECT_TRUE(saver.WaitForExit(1000));
}

TEST_F(StoredValueRun, AShowFpsOfTwoShowsTheFrameRateLabel) {
    StoreSetting(L"ShowFPS", L"2");
    SaverProcess saver(L"/s");
    HWND window = WaitForSaverReady(saver.Id(), kStartTimeout);
    ASSERT_NE(window, nullptr);
    Sleep(2600);  // the label is written after the first two seconds of frames
    const HWND label = FindWindowExW(window, nullptr, L"STATIC", nullptr);
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(IsWindowVisible(label));
    const std::wstring text = ChildText(window, L"STATIC");
    EXPECT_EQ(text.rfind(L"Framerate:", 0), 0u) << std::string(text.begin(), text.end());
    PressKey(VK_SPACE);
    EXPECT_TRUE(saver.WaitForExit(1000));
}

// A copy of the saver in a folder whose name has a blank, removed afterwards.
class SaverInFolderWithBlank : public ::testing::Test {
protected:
    void SetUp() override {
        ClearStoredSettings();
        folder_ = TempFilePath(L"lurvane e2e folder");
        CreateDirectoryW(folder_.c_str(), nullptr);
        copy_ = folder_ + L"\\lurvane.scr";
        ASSERT_TRUE(CopyFileW(SaverPath().c_str(), copy_.c_str(), FALSE));
    }
    void TearDown() override {
        DeleteFileW(copy_.c_str());
        RemoveDirectoryW(folder_.c_str());
    }
    std::wstring folder_, copy_;
};

TEST_F(SaverInFolderWithBlank, AnUnquotedCommandLineStillRunsFullScreenAndEndsOnAKey) {
    ASSERT_NE(copy_.find(L' '), std::wstring::npos);
    {
        SaverProcess saver(copy_, copy_ + L" /s");
        ASSERT_TRUE(saver.Started());
        HWND window = WaitForSaverReady(saver.Id(), kStartTimeout);
        ASSERT_NE(window, nullptr) << "the switch after the unquoted path was found";
        ExpectCoversTheScreenOnTop(window);
        PressKey(VK_SPACE);
        EXPECT_TRUE(saver.WaitForExit(1000));
    }
    // The quoted form that the Display control panel writes still works from there.
    SaverProcess quoted(copy_, L"\"" + copy_ + L"\" /s");
    ASSERT_NE(WaitForSaverReady(quoted.Id(), kStartTimeout), nullptr);
    PressKey(VK_SPACE);
    EXPECT_TRUE(quoted.WaitForExit(1000));
}

}  // namespace
}  // namespace e2e
