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

// Inside the box this far from its edges, the markers on its corners are left behind.
constexpr int kClear = 8;

// Where two captures of the preview 0.3 s apart differ.
struct Changes {
    int Inside = 0;   // differing pixels well inside `box`
    int Outside = 0;  // differing pixels well outside it
    POINT Farthest{-1, -1};  // the largest x and y of any differing pixel, preview pixels
};

Changes CompareTwoCaptures(const RECT& preview, const RECT& box) {
    const ScreenShot first = CaptureScreen(preview);
    Sleep(300);
    const ScreenShot second = CaptureScreen(preview);
    Changes changes;
    for (int y = 0; y < first.Height; ++y)
        for (int x = 0; x < first.Width; ++x) {
            if (first.At(x, y) == second.At(x, y)) continue;
            if (x > box.left + kClear && x < box.right - kClear && y > box.top + kClear && y < box.bottom - kClear)
                ++changes.Inside;
            if (x < box.left - 3 || x > box.right + 3 || y < box.top - 3 || y > box.bottom + 3) ++changes.Outside;
            changes.Farthest = {std::max<LONG>(changes.Farthest.x, x), std::max<LONG>(changes.Farthest.y, y)};
        }
    return changes;
}

// Pure white, which the test picture never holds, inside `box`: the hatch's lines.
int WhiteInside(const RECT& preview, const RECT& box) {
    const ScreenShot shot = CaptureScreen(preview);
    int white = 0;
    for (int y = box.top + kClear; y < box.bottom - kClear; ++y)
        for (int x = box.left + kClear; x < box.right - kClear; ++x) white += shot.At(x, y) == 0xFFFFFF ? 1 : 0;
    return white;
}

class LivePreviewRun : public ::testing::Test {
protected:
    void SetUp() override {
        ClearStoredSettings();
        StoreSetting(L"Language", L"2");
        // Rows that all differ, so that every shifted row shows; never pure white.
        picture_ = TempFilePath(L"live waves.bmp");
        ASSERT_TRUE(WriteBmp(picture_, 320, 240, [](int x, int y) {
            return static_cast<unsigned>(((y * 37) % 200) << 16 | ((y * 91) % 200) << 8 | (x * 200 / 320));
        }));
        StoreSetting(L"BackgroundImage", picture_);
        StoreSetting(L"PathPoints", L"1000,1000;3000,1000;3000,2500;1000,2500");
        StoreSetting(L"WaveAmp", L"10");
        StoreSetting(L"WaveFreq", L"40");
    }
    void TearDown() override {
        ClearStoredSettings();
        DeleteFileW(picture_.c_str());
    }

    // The preview's pixels on the screen, and the box of the markers' centres in them.
    static RECT PreviewOnScreen(HWND dialog) {
        RECT client{};
        HWND preview = ControlOf(dialog, IDC_PICTURESCROLLABLE);
        GetClientRect(preview, &client);
        const POINT origin = ViewportOrigin(preview);
        return {origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
    }
    static RECT PathBox(HWND dialog, const RECT& preview) {
        const POINT topLeft = ScreenCentre(ControlOf(dialog, IDC_CMDPATH + 0));
        const POINT bottomRight = ScreenCentre(ControlOf(dialog, IDC_CMDPATH + 2));
        return {topLeft.x - preview.left, topLeft.y - preview.top, bottomRight.x - preview.left,
                bottomRight.y - preview.top};
    }

    std::wstring picture_;
};

// Waits up to `seconds` for two captures that show waves inside the box and nothing else.
Changes WaitForWaves(const RECT& preview, const RECT& box, int seconds) {
    Changes changes;
    for (ULONGLONG end = GetTickCount64() + seconds * 1000ULL; GetTickCount64() < end;) {
        changes = CompareTwoCaptures(preview, box);
        if (changes.Inside > 0) break;
    }
    return changes;
}

TEST_F(LivePreviewRun, WavesMoveOnlyInsideThePathStopWithTheCheckBoxAndFollowADraggedMarker) {
    SaverProcess saver(L"/c");
    HWND dialog = WaitForDialog(saver.Id(), L"Lurvane - settings");
    ASSERT_NE(dialog, nullptr);
    SetForegroundWindow(dialog);
    PointAt(ScreenCentre(ControlOf(dialog, IDC_LABELZOOMFACTOR)));  // away from the preview
    ASSERT_TRUE(WaitUntil([&] { return ControlOf(dialog, IDC_CMDPATH + 3) != nullptr; }));
    const RECT preview = PreviewOnScreen(dialog);
    const RECT box = PathBox(dialog, preview);

    const Changes live = WaitForWaves(preview, box, 20);
    EXPECT_GT(live.Inside, 100) << "the waves move inside the path";
    EXPECT_EQ(live.Outside, 0) << "and nowhere else";
    EXPECT_EQ(WhiteInside(preview, box), 0) << "no hatch over live waves";

    HWND showWaves = ControlOf(dialog, IDC_CHKSHOWWAVES);
    ASSERT_NE(showWaves, nullptr);
    EXPECT_EQ(TextOf(showWaves), L"Show waves");
    EXPECT_EQ(SendMessageW(showWaves, BM_GETCHECK, 0, 0), BST_CHECKED) << "live waves are the default";
    ClickAt(ScreenCentre(showWaves), false);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(showWaves, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }));
    EXPECT_TRUE(WaitUntil([&] { return WhiteInside(preview, box) > 100; })) << "the hatch is back";
    const Changes still = CompareTwoCaptures(preview, box);
    EXPECT_EQ(still.Inside + still.Outside, 0);
    EXPECT_EQ(still.Farthest.x, -1) << "nothing moves without the waves";

    ClickAt(ScreenCentre(showWaves), false);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(showWaves, BM_GETCHECK, 0, 0) == BST_CHECKED; }));
    // Marker 2, the bottom-right corner, goes 50 pixels right and 40 down.
    const POINT corner = ScreenCentre(ControlOf(dialog, IDC_CMDPATH + 2));
    Drag(corner, 50, 40);
    ASSERT_TRUE(WaitUntil([&] { return ScreenCentre(ControlOf(dialog, IDC_CMDPATH + 2)).x != corner.x; }));
    PointAt(ScreenCentre(ControlOf(dialog, IDC_LABELZOOMFACTOR)));
    const POINT moved = ScreenCentre(ControlOf(dialog, IDC_CMDPATH + 2));
    const POINT newCorner{moved.x - preview.left, moved.y - preview.top};
    // The area narrows to a point at the corner: over a few seconds the changes come close to it.
    POINT farthest{-1, -1};
    for (ULONGLONG end = GetTickCount64() + 15000; GetTickCount64() < end;) {
        const Changes after = CompareTwoCaptures(preview, box);
        farthest = {std::max(farthest.x, after.Farthest.x), std::max(farthest.y, after.Farthest.y)};
        if (farthest.x >= newCorner.x - 12 && farthest.y >= newCorner.y - 12) break;
    }
    EXPECT_GE(farthest.x, newCorner.x - 12) << "beyond the old corner at " << box.right;
    EXPECT_GE(farthest.y, newCorner.y - 12) << "beyond the old corner at " << box.bottom;
    EXPECT_LE(farthest.x, newCorner.x + 1);
    EXPECT_LE(farthest.y, newCorner.y + 1);

    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(saver.WaitForExit(10000));
}

}  // namespace
}  // namespace e2e
