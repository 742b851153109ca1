#include "saver/win32/saver_run.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include <vector>

#include "settings/memory_settings_store.h"
#include "support/win32/screen_shot.h"
#include "support/win32/test_files.h"
#include "util/memory_file_system.h"
#include "util/win32/system_clock.h"
#include "util/win32/text_convert.h"

namespace lurvane::win32 {
namespace {

TEST(SaverRun, AKeyPressedWhileTheRunIsPreparedEndsItAtTheFirstFrame) {
    MemorySettingsStore settings;  // no stored settings: the desktop snapshot and its wait
    MemoryFileSystem files;
    Language texts;
    SystemClock clock;
    GdiPlus pictures;
    const ProgramContext context{settings, files, texts, Trace(), clock, pictures};
    SaverRun run(context);
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
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring picture = std::wstring(folder) + L"lurvane-rest-stripes.bmp";
    ASSERT_TRUE(support::WriteBmp(picture, 320, 240, [](int, int y) { return (y / 4) % 2 ? 0xC08040u : 0x204060u; }));
    MemorySettingsStore settings;
    settings.Write("BackgroundImage", Narrow(picture));
    settings.Write("MaximizeBackground", "1");
    settings.Write("PathPoints", "0,0;4800,0;4800,3540;0,3540");
    settings.Write("WaveAmp", "10");
    settings.Write("Framerate", "50");
    settings.Write("RestartSec", "0");
    MemoryFileSystem files;
    Language texts;
    SystemClock clock;
    GdiPlus pictures;
    SaverRun run(ProgramContext{settings, files, texts, Trace(), clock, pictures});
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
    DeleteFileW(picture.c_str());

    EXPECT_GT(running, 5);
    EXPECT_EQ(displayOff, 0) << "no frames while the display is off";
    EXPECT_GT(displayOn, 5) << "the frames come back with the display";
    EXPECT_EQ(locked, 0) << "no frames while the session is locked";
    EXPECT_GT(unlocked, 5);
}

}  // namespace
}  // namespace lurvane::win32
