#include "saver/win32/saver_run.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "settings/memory_settings_store.h"
#include "util/memory_file_system.h"
#include "util/win32/system_clock.h"


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

}  // namespace
}  // namespace lurvane::win32
