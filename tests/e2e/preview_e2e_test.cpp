// End-to-end: the driver plays the Display control panel and hosts "/p" in a small window.
#include <gtest/gtest.h>

#include <string>

#include "preview_host.h"
#include "saver_driver.h"
#include "stored_scene.h"

namespace e2e {
namespace {

uint32_t Stripes(int, int y) { return (y / 6) % 2 ? 0xC08040u : 0x204060u; }

class Preview : public StoredScene {
protected:
    void SetUp() override {
        StoreScene(L"lurvane-e2e-preview.bmp", 640, 480, Stripes, L"0,0;4800,0;4800,3540;0,3540", L"60");
    }
};

TEST_F(Preview, BecomesAChildFillingTheHost) {
    PreviewHost host;
    SaverProcess saver(L"/p " + host.Handle());
    HWND child = host.WaitForChild(10000);
    ASSERT_NE(child, nullptr);
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, host.Window(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 152);
    EXPECT_EQ(rect.bottom, 112);
    EXPECT_TRUE(GetWindowLongW(child, GWL_STYLE) & WS_CHILD);
    // Wine does not show GDI drawing of a child window whose parent belongs to another
    // process, so the frame rate is measured by the Windows-side preview test in one process.
    PreviewHost::Pump(600);
    EXPECT_TRUE(saver.Running());
}

TEST_F(Preview, IgnoresInputAndEndsWhenTheHostGoes) {
    PreviewHost host;
    SaverProcess saver(L"/p " + host.Handle());
    HWND child = host.WaitForChild(10000);
    ASSERT_NE(child, nullptr);
    PreviewHost::Pump(500);
    PostMessageW(child, WM_KEYDOWN, VK_SPACE, 0);
    PostMessageW(child, WM_CHAR, L' ', 0);
    PostMessageW(child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PostMessageW(child, WM_MOUSEMOVE, 0, MAKELPARAM(40, 40));
    PostMessageW(child, WM_MOUSEMOVE, 0, MAKELPARAM(90, 90));
    PreviewHost::Pump(500);
    EXPECT_TRUE(saver.Running());

    const ULONGLONG destroyed = GetTickCount64();
    host.Destroy();
    EXPECT_TRUE(WaitPumping(saver, 500));
    EXPECT_LT(GetTickCount64() - destroyed, 600u);
}

class PreviewWithoutHost : public Preview, public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(PreviewWithoutHost, EndsWithoutCrashing) {
    SaverProcess saver(GetParam());
    ASSERT_TRUE(saver.Started());
    ASSERT_TRUE(WaitPumping(saver, 10000));
    EXPECT_LT(saver.ExitCode(), 0xC0000000u);
    EXPECT_TRUE(VisibleSaverWindows().empty());
}

INSTANTIATE_TEST_SUITE_P(Handles, PreviewWithoutHost, ::testing::Values(L"/p", L"/p 0"));

TEST_F(Preview, TenPreviewsInARowLeaveNothingBehind) {
    for (int i = 0; i < 10; ++i) {
        PreviewHost host;
        SaverProcess saver(L"/p " + host.Handle());
        ASSERT_NE(host.WaitForChild(10000), nullptr) << "preview " << i;
        PreviewHost::Pump(200);
        host.Destroy();
        ASSERT_TRUE(WaitPumping(saver, 2000)) << "preview " << i;
    }
    EXPECT_EQ(FindWindowW(nullptr, L"LurvaneScreenSaver"), nullptr);
}

}  // namespace
}  // namespace e2e
