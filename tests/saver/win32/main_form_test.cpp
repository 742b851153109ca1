#include "saver/win32/main_form.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>


namespace lurvane::win32 {
namespace {

TEST(MainForm, AKeyPressedWhileTheRunIsPreparedEndsItAtTheFirstFrame) {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Brannick\\Lurvane\\Settings");
    MainForm form;
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
    form.StartScreenSaver(false, false);
    form.Run();
    const ULONGLONG took = GetTickCount64() - started;
    finished = true;
    guard.join();
    EXPECT_LT(took, 2000u) << "the run went on although a key was pressed during its start";
}

}  // namespace
}  // namespace lurvane::win32
