// End-to-end: the live waves on the settings dialog's picture preview, judged by what the screen
// shows. Every wait is for a change to be seen, with room for a slow machine.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "dialog_driver.h"
#include "resource.h"
#include "saver_driver.h"

namespace e2e {
namespace {

constexpr int kClear = 8;  // this far inside the path's box the corner markers are left behind

// Where two captures of the preview 0.3 s apart differ, in preview pixels.
struct Changes {
    int Inside = 0, Outside = 0;  // well inside and well outside `box`
    POINT Farthest{-1, -1};       // the largest x and y that differ
    int WhiteInside = 0;          // pure white well inside: the hatch, as the picture has none
};

Changes CompareTwoCaptures(const RECT& preview, const RECT& box) {
    const ScreenShot first = CaptureScreen(preview);
    Sleep(300);
    const ScreenShot second = CaptureScreen(preview);
    Changes changes;
    for (int y = 0; y < first.Height; ++y)
        for (int x = 0; x < first.Width; ++x) {
            const bool inside = x > box.left + kClear && x < box.right - kClear && y > box.top + kClear &&
                                y < box.bottom - kClear;
            changes.WhiteInside += inside && second.At(x, y) == 0xFFFFFF ? 1 : 0;
            if (first.At(x, y) == second.At(x, y)) continue;
            changes.Inside += inside ? 1 : 0;
            changes.Outside += x < box.left - 3 || x > box.right + 3 || y < box.top - 3 || y > box.bottom + 3;
            changes.Farthest = {std::max<LONG>(changes.Farthest.x, x), std::max<LONG>(changes.Farthest.y, y)};
        }
    return changes;
}

TEST(LivePreviewRun, WavesMoveOnlyInsideThePathStopWithTheCheckBoxAndFollowADraggedMarker) {
    ClearStoredSettings();
    StoreSetting(L"Language", L"2");
    // Rows that all differ, so that every shifted row shows; never pure white.
    const std::wstring picture = TempFilePath(L"live waves.bmp");
    ASSERT_TRUE(WriteBmp(picture, 320, 240, [](int x, int y) {
        return static_cast<unsigned>(((y * 37) % 200) << 16 | ((y * 91) % 200) << 8 | (x * 200 / 320));
    }));
    StoreSetting(L"BackgroundImage", picture);
    StoreSetting(L"PathPoints", L"1000,1000;3000,1000;3000,2500;1000,2500");
    StoreSetting(L"WaveAmp", L"10");
    StoreSetting(L"WaveFreq", L"40");
    SaverProcess saver(L"/c");
    HWND dialog = OpenSettingsDialog(saver);
    ASSERT_NE(dialog, nullptr);
    const POINT away = ScreenCentre(ControlOf(dialog, IDC_LABELZOOMFACTOR));
    ASSERT_TRUE(WaitUntil([&] { return ControlOf(dialog, IDC_CMDPATH + 3) != nullptr; }));
    const POINT origin = ViewportOrigin(ControlOf(dialog, IDC_PICTURESCROLLABLE));
    RECT preview{};
    GetClientRect(ControlOf(dialog, IDC_PICTURESCROLLABLE), &preview);
    OffsetRect(&preview, origin.x, origin.y);
    const auto corner = [&](int marker) {
        const POINT centre = ScreenCentre(ControlOf(dialog, IDC_CMDPATH + marker));
        return POINT{centre.x - origin.x, centre.y - origin.y};
    };
    const RECT box{corner(0).x, corner(0).y, corner(2).x, corner(2).y};

    Changes live;
    for (ULONGLONG end = GetTickCount64() + 20000; live.Inside == 0 && GetTickCount64() < end;)
        live = CompareTwoCaptures(preview, box);
    EXPECT_GT(live.Inside, 100) << "the waves move inside the path";
    EXPECT_EQ(live.Outside, 0) << "and nowhere else";
    EXPECT_EQ(live.WhiteInside, 0) << "no hatch over live waves";

    HWND showWaves = ControlOf(dialog, IDC_CHKSHOWWAVES);
    ASSERT_NE(showWaves, nullptr);
    EXPECT_EQ(TextOf(showWaves), L"Show waves");
    const auto checked = [&] { return SendMessageW(showWaves, BM_GETCHECK, 0, 0) == BST_CHECKED; };
    EXPECT_TRUE(checked()) << "live waves are the default";
    const auto clickShowWaves = [&] { ClickAt(ScreenCentre(showWaves), false); };
    ASSERT_TRUE(RetryUntil(clickShowWaves, [&] { return !checked(); }));
    EXPECT_TRUE(WaitUntil([&] { return CompareTwoCaptures(preview, box).WhiteInside > 100; })) << "the hatch is back";
    EXPECT_EQ(CompareTwoCaptures(preview, box).Farthest.x, -1) << "nothing moves without the waves";

    ASSERT_TRUE(RetryUntil(clickShowWaves, checked));
    // Marker 2, the bottom-right corner, goes 50 pixels right and 40 down.
    const POINT before = corner(2);
    ASSERT_TRUE(RetryUntil([&] { Drag(ScreenCentre(ControlOf(dialog, IDC_CMDPATH + 2)), 50, 40); },
                           [&] { return corner(2).x != before.x; }));
    PointAt(away);
    const POINT moved = corner(2);
    // The area narrows to a point at the corner: over a few seconds the changes come close to it.
    POINT farthest{-1, -1};
    for (ULONGLONG end = GetTickCount64() + 15000;
         (farthest.x < moved.x - 12 || farthest.y < moved.y - 12) && GetTickCount64() < end;) {
        const Changes after = CompareTwoCaptures(preview, box);
        farthest = {std::max(farthest.x, after.Farthest.x), std::max(farthest.y, after.Farthest.y)};
    }
    EXPECT_GE(farthest.x, moved.x - 12) << "beyond the old corner at " << before.x;
    EXPECT_GE(farthest.y, moved.y - 12) << "beyond the old corner at " << before.y;
    EXPECT_LE(farthest.x, moved.x + 1);
    EXPECT_LE(farthest.y, moved.y + 1);

    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(saver.WaitForExit(10000));
    ClearStoredSettings();
    DeleteFileW(picture.c_str());
}

}  // namespace
}  // namespace e2e
