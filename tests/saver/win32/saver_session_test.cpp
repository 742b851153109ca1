#include "saver/win32/saver_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "imaging/win32/dib_surface.h"
#include "support/win32/memory_program.h"

namespace lurvane::win32 {
namespace {

class ListedMonitors final : public MonitorList {
public:
    explicit ListedMonitors(std::vector<MonitorArea> monitors) : monitors_(std::move(monitors)) {}
    std::vector<MonitorArea> Monitors() const override { return monitors_; }

private:
    std::vector<MonitorArea> monitors_;
};

BOOL CALLBACK CollectSaverWindow(HWND window, LPARAM found) {
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) && std::wstring(title) == kSaverWindowTitle)
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

// What a window shows, as it paints itself (its monitor may lie off the screen we can read).
uint32_t PaintedPixelAt(HWND window, int x, int y) {
    RECT client{};
    GetClientRect(window, &client);
    DibSurface copy;
    if (!copy.Resize(client.right, client.bottom)) return 0xFFFFFFFF;
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(copy.Dc()), PRF_CLIENT);
    return copy.View().Row(y)[x] & 0xFFFFFF;
}

bool LabelShown(HWND window) {
    HWND label = FindWindowExW(window, nullptr, L"STATIC", nullptr);
    return label != nullptr && IsWindowVisible(label);
}

// Three monitors of different sizes around the primary, one of them left of it and higher:
// each gets a window over exactly its own area, showing the picture fitted to it; only the
// primary shows the frame-rate label; closing any window ends every run.
TEST(SaverSession, EveryMonitorGetsItsOwnRunAndAnyOfThemEndsAll) {
    // Left half red, right half blue: a fitted picture puts the border at each window's middle.
    const support::TempPicture picture(L"lurvane-session-halves.bmp", 200, 100,
                                       [](int x, int) { return x < 100 ? 0xFF0000u : 0x0000FFu; });
    ASSERT_FALSE(picture.Path().empty());
    support::MemoryProgram program;
    program.Settings.Write("BackgroundImage", picture.Utf8Path());
    program.Settings.Write("MaximizeBackground", "1");
    program.Settings.Write("PathPoints", "0,0;15,0;15,15");
    program.Settings.Write("ShowFPS", "1");
    program.Settings.Write("RestartSec", "0");
    const ProgramContext context = program.Context();
    const std::vector<MonitorArea> monitors = {
        {-400, -120, 400, 300, false}, {0, 0, 640, 480, true}, {640, 60, 384, 600, false}};
    SaverSession session(context, ListedMonitors(monitors));
    ASSERT_TRUE(session.Load());

    std::vector<HWND> windows;
    std::vector<RECT> places;
    std::vector<uint32_t> leftPixels, rightPixels;
    std::vector<bool> labels;
    std::thread watcher([&] {
        Sleep(1500);
        EnumWindows(&CollectSaverWindow, reinterpret_cast<LPARAM>(&windows));
        for (HWND window : windows) {
            RECT place{};
            GetWindowRect(window, &place);
            places.push_back(place);
            const int width = place.right - place.left, height = place.bottom - place.top;
            leftPixels.push_back(PaintedPixelAt(window, width / 4, height / 2));
            rightPixels.push_back(PaintedPixelAt(window, width * 3 / 4, height / 2));
            labels.push_back(LabelShown(window));
        }
        for (size_t i = 0; i < windows.size(); ++i)
            if (places[i].left < 0) PostMessageW(windows[i], WM_CLOSE, 0, 0);  // the left monitor's window
    });
    session.Start(false);
    const ULONGLONG started = GetTickCount64();
    session.Run();
    const ULONGLONG ran = GetTickCount64() - started;
    watcher.join();

    ASSERT_EQ(windows.size(), 3u);
    int primaries = 0;
    for (size_t i = 0; i < windows.size(); ++i) {
        const RECT& place = places[i];
        const auto found = std::find_if(monitors.begin(), monitors.end(), [&place](const MonitorArea& m) {
            return m.Left == place.left && m.Top == place.top && m.Width == place.right - place.left &&
                   m.Height == place.bottom - place.top;
        });
        ASSERT_NE(found, monitors.end()) << "a window over " << place.left << "," << place.top;
        EXPECT_EQ(leftPixels[i], 0xFF0000u) << "the picture fitted to the monitor at " << found->Left;
        EXPECT_EQ(rightPixels[i], 0x0000FFu) << "the picture fitted to the monitor at " << found->Left;
        EXPECT_EQ(labels[i], found->Primary) << "the label only on the primary";
        primaries += found->Primary;
    }
    EXPECT_EQ(primaries, 1);
    EXPECT_LT(ran, 4000u) << "closing one monitor's window ended the runs";
    std::vector<HWND> left;
    EnumWindows(&CollectSaverWindow, reinterpret_cast<LPARAM>(&left));
    EXPECT_TRUE(left.empty());
}

}  // namespace
}  // namespace lurvane::win32
