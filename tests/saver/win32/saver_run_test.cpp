#include "saver/win32/saver_run.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include <vector>

#include "support/win32/memory_program.h"
#include "support/win32/screen_shot.h"

namespace lurvane::win32 {
namespace {

TEST(SaverRun, AKeyPressedWhileTheRunIsPreparedEndsItAtTheFirstFrame) {
    support::MemoryProgram program;  // no stored settings: the desktop snapshot and its wait
    SaverRun run(program.Context());
    MainForm& form = run.Form();
    ASSERT_TRUE(form.Load());
    form.ShowFullScreen();
    // Queued now, dispatched while the start waits for the desktop to repaint.
    PostMessageW(form.Window(), WM_KEYDOWN, VK_SPACE, 0);

    std::atomic<bool> finished{false};
    HWND window = form.Window();
    std::thread guard([&] {
        for (int waited = 0; waited < 4000 && !finished; waited += 50) Sleep(50);
        if (!finished) PostMessageW(window, WM_CLOSE, 0, 0);  // ends a run that ignored the key
    });
    const ULONGLONG started = GetTickCount64();
    run.StartScreenSaver(false, false);
    run.Run();
    const ULONGLONG took = GetTickCount64() - started;
    finished = true;
    guard.join();
    EXPECT_LT(took, 2000u) << "the run went on although a key was pressed during its start";
}

// The display-state notice as Windows sends it: 0 off, 1 on.
LRESULT SendDisplayState(HWND window, DWORD state) {
    std::vector<BYTE> bytes(sizeof(POWERBROADCAST_SETTING) + sizeof state);
    auto* setting = reinterpret_cast<POWERBROADCAST_SETTING*>(bytes.data());
    setting->PowerSetting = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
    setting->DataLength = sizeof state;
    std::memcpy(setting->Data, &state, sizeof state);
    return SendMessageW(window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(setting));
}

TEST(SaverRun, RestsWhileTheDisplayIsOffOrTheSessionLockedAndGoesOnAfterwards) {
    const support::TempPicture picture(L"lurvane-rest-stripes.bmp", 320, 240,
                                       [](int, int y) { return (y / 4) % 2 ? 0xC08040u : 0x204060u; });
    ASSERT_FALSE(picture.Path().empty());
    support::MemoryProgram program;
    program.Settings.Write("BackgroundImage", picture.Utf8Path());
    program.Settings.Write("MaximizeBackground", "1");
    program.Settings.Write("PathPoints", "0,0;4800,0;4800,3540;0,3540");
    program.Settings.Write("WaveAmp", "10");
    program.Settings.Write("Framerate", "50");
    program.Settings.Write("RestartSec", "0");
    SaverRun run(program.Context());
    ASSERT_TRUE(run.Form().Load());
    run.Form().ShowFullScreen();
    HWND window = run.Form().Window();

    // Screen changes seen in a stretch of time: the waves change the screen at every frame.
    const RECT area{0, 0, 200, 200};
    auto changesWithin = [&area](DWORD milliseconds) {
        int changes = 0;
        std::vector<uint32_t> last = support::CaptureScreen(area).Pixels;
        for (const ULONGLONG end = GetTickCount64() + milliseconds; GetTickCount64() < end; Sleep(5)) {
            std::vector<uint32_t> now = support::CaptureScreen(area).Pixels;
            if (now != last) ++changes;
            last.swap(now);
        }
        return changes;
    };
    int running = 0, displayOff = 0, displayOn = 0, locked = 0, unlocked = 0;
    std::thread watcher([&] {
        Sleep(700);
        running = changesWithin(500);
        SendDisplayState(window, 0);
        Sleep(100);  // a frame under way when the notice came may still show
        displayOff = changesWithin(500);
        SendDisplayState(window, 1);
        displayOn = changesWithin(500);
        SendMessageW(window, WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0);
        Sleep(100);
        locked = changesWithin(500);
        SendMessageW(window, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
        unlocked = changesWithin(500);
        PostMessageW(window, WM_CLOSE, 0, 0);
    });
    run.StartScreenSaver(false, false);
    run.Run();
    watcher.join();

    EXPECT_GT(running, 5);
    EXPECT_EQ(displayOff, 0) << "no frames while the display is off";
    EXPECT_GT(displayOn, 5) << "the frames come back with the display";
    EXPECT_EQ(locked, 0) << "no frames while the session is locked";
    EXPECT_GT(unlocked, 5);
}

// A loop that sleeps as long as the timer says until a frame is due wakes a few times, rather
// than spinning through the last fraction of a millisecond before each frame.
TEST(AnimationTimer, SleepingAsLongAsItSaysReachesEachFrameWithoutSpinning) {
    AnimationTimer timer;
    timer.Start(20);
    for (int frame = 0; frame < 5; ++frame) {
        int wakes = 0;
        while (!timer.TakeDue()) {
            Sleep(timer.MillisecondsUntilDue());
            ++wakes;
        }
        EXPECT_LE(wakes, 4) << "frame " << frame;
    }
}

TEST(SaverRun, TheScreenShowsWhatTheWholePictureWavedGivesAfterFramesAndPaints) {
    // Each row of its own colour, each column too, so that a row from the wrong source shows.
    const support::TempPicture picture(L"lurvane-screen-rows.bmp", 640, 480, [](int x, int y) {
        return static_cast<uint32_t>(((y * 37) & 0xFF) << 16 | ((y / 7) & 0xFF) << 8 | (x & 0xFF));
    });
    ASSERT_FALSE(picture.Path().empty());
    support::MemoryProgram program;
    program.Settings.Write("BackgroundImage", picture.Utf8Path());
    program.Settings.Write("MaximizeBackground", "1");
    // A star, so that rows cross the path in one run or two.
    program.Settings.Write("PathPoints", support::PathAroundCentreTwips(10, 1700, 1700, 700.0 / 1700));
    program.Settings.Write("WaveAmp", "12");
    program.Settings.Write("ShowFPS", "0");
    program.Settings.Write("RestartSec", "0");
    SaverRun run(program.Context());
    ASSERT_TRUE(run.Form().Load());
    run.Form().ShowFullScreen();
    run.StartScreenSaver(false, false);
    HWND window = run.Form().Window();
    RECT onScreen{};
    GetWindowRect(window, &onScreen);

    // What the screen shows against what the window paints, which recomposes every wave row.
    auto differing = [&] {
        const support::ScreenShot screen = support::CaptureScreen(onScreen);
        const support::ScreenShot painted = support::CaptureClient(window);
        int count = 0;
        for (int y = 0; y < screen.Height; ++y)
            for (int x = 0; x < screen.Width; ++x) count += screen.At(x, y) != painted.At(x, y);
        return count;
    };
    for (int frame = 1; frame <= 40 && run.Form().Alive(); ++frame) {
        run.OnAnimationTimer();
        if (frame % 8 == 0) {
            EXPECT_EQ(differing(), 0) << "frame " << frame;
        }
        if (frame == 20) {
            // Something else draws over the window; the paint that follows restores all of it,
            // whatever the frames left the window's device context clipped to.
            HDC other = GetDCEx(window, nullptr, DCX_CACHE);
            PatBlt(other, 0, 0, onScreen.right - onScreen.left, onScreen.bottom - onScreen.top, BLACKNESS);
            ReleaseDC(window, other);
            RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        }
    }
    run.Form().Unload();
}

}  // namespace
}  // namespace lurvane::win32
