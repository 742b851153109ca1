// The preview in one process: host window and saver together, so that the frames can be read
// from the screen (Wine shows no GDI drawing of a child window owned by another process).
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "saver/win32/saver_run.h"
#include "startup/win32/startup.h"
#include "support/win32/screen_shot.h"
#include "support/win32/memory_program.h"
#include "util/win32/text_convert.h"

namespace lurvane::win32 {
namespace {


TEST(Preview, RendersAtTwentyFramesPerSecondInsideTheHostAndEndsWithIt) {
    // Stripes, so that every row shift shows.
    const support::TempPicture picture(L"lurvane-preview-stripes.bmp", 320, 240,
                                       [](int, int y) { return (y / 4) % 2 ? 0xC08040u : 0x204060u; });
    support::MemoryProgram program;
    program.Settings.Write("BackgroundImage", picture.Utf8Path());
    program.Settings.Write("PathPoints", "0,0;4800,0;4800,3540;0,3540");
    program.Settings.Write("WaveAmp", "10");
    program.Settings.Write("Framerate", "80");  // the preview runs at 20 whatever is stored
    program.Settings.Write("RestartSec", "0");

    WNDCLASSW hostClass{};
    hostClass.lpfnWndProc = DefWindowProcW;
    hostClass.hInstance = GetModuleHandleW(nullptr);
    hostClass.lpszClassName = L"LurvaneTestPreviewHost";
    RegisterClassW(&hostClass);
    RECT frame{0, 0, 152, 112};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    HWND host = CreateWindowW(L"LurvaneTestPreviewHost", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 200,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(host, nullptr);
    RECT client{};
    GetClientRect(host, &client);
    MapWindowPoints(host, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);

    std::atomic<int> changes{0};
    std::atomic<bool> childFits{false};
    std::atomic<ULONGLONG> closedAt{0};
    std::thread watcher([&] {
        Sleep(800);
        HWND child = FindWindowExW(host, nullptr, nullptr, kSaverWindowTitle);
        RECT rect{};
        if (child != nullptr && GetWindowRect(child, &rect))
            childFits = rect.left == client.left && rect.top == client.top && rect.right == client.right &&
                        rect.bottom == client.bottom;
        std::vector<uint32_t> last = support::CaptureScreen(client).Pixels;
        for (ULONGLONG end = GetTickCount64() + 2000; GetTickCount64() < end; Sleep(2)) {
            std::vector<uint32_t> now = support::CaptureScreen(client).Pixels;
            if (now != last) ++changes;
            last.swap(now);
        }
        closedAt = GetTickCount64();
        PostMessageW(host, WM_CLOSE, 0, 0);
    });

    SaverRun run(program.Context());
    StartPreview(run, static_cast<long long>(reinterpret_cast<uintptr_t>(host)), Trace());
    const ULONGLONG endedAt = GetTickCount64();
    watcher.join();

    EXPECT_TRUE(childFits.load());
    EXPECT_NEAR(changes.load(), 40, 4) << "frames seen in two seconds";
    EXPECT_LT(endedAt - closedAt.load(), 500u) << "the preview ends when its host goes";
    EXPECT_FALSE(IsWindow(host));
}

}  // namespace
}  // namespace lurvane::win32
