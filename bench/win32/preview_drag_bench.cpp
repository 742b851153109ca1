// The path editor under a drag: the settings dialog over a 4000 x 3000 picture with a 20-point
// path, one marker dragged in a circle by mouse messages, each move timed until the dialog has
// nothing left to paint; at zoom 1 and at zoom 4, and the picture's redraw for a zoom step and
// a scroll step; and one frame of the live waves on the preview, at zoom 1 and at zoom 4. Prints figures, checks nothing. The DPI is the prefix's: set LogPixels to 192
// under HKCU\Control Panel\Desktop before it runs to measure 200 % scaling.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "dialog/win32/settings_dialog.h"
#include "resource.h"
#include "support/win32/memory_program.h"
#include "util/win32/dpi.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void Report(const char* what, std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    std::printf("%-28s n=%3zu  median %6.2f ms  p95 %6.2f ms  max %6.2f ms\n", what, n, values[n / 2],
                values[std::min(n - 1, n * 95 / 100)], values.back());
}

// One marker dragged around a circle of `radius` pixels, each move timed with its painting.
std::vector<double> DragInACircle(HWND marker, int radius) {
    RECT place{};
    GetClientRect(marker, &place);
    const POINT centre{place.right / 2, place.bottom / 2};
    SendMessageW(marker, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
    std::vector<double> times;
    for (int i = 0; i < 300; ++i) {
        const double angle = 2 * 3.14159265358979 * i / 100;
        // The marker follows, so the pointer's place inside it is the offset from its centre.
        const auto x = static_cast<int>(centre.x + radius * std::cos(angle) - radius * std::cos(angle - 0.0628));
        const auto y = static_cast<int>(centre.y + radius * std::sin(angle) - radius * std::sin(angle - 0.0628));
        const auto start = Clock::now();
        SendMessageW(marker, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
        UpdateWindow(GetParent(marker));
        PumpMessages();
        times.push_back(MillisecondsSince(start));
    }
    SendMessageW(marker, WM_LBUTTONUP, 0, MAKELPARAM(centre.x, centre.y));
    PumpMessages();
    return times;
}

// One tick of the preview's timer (plot and live waves) until the dialog has nothing left to paint.
std::vector<double> PreviewFrames(lurvane::win32::SettingsDialog& dialog) {
    std::vector<double> times;
    for (int i = 0; i < 200; ++i) {
        const auto start = Clock::now();
        dialog.OnPreviewTimer();
        UpdateWindow(dialog.Window());
        times.push_back(MillisecondsSince(start));
        PumpMessages();
    }
    return times;
}

}  // namespace

int main() {
    support::MemoryProgram program;
    support::TempPicture picture(L"lurvane_drag_bench.bmp", 4000, 3000, [](int x, int y) {
        return static_cast<unsigned>((x * 255 / 4000) << 16 | (y * 255 / 3000) << 8 | ((x / 100 + y / 100) % 2) * 200);
    });
    std::string path;
    for (int i = 0; i < 20; ++i) {
        const double angle = 2 * 3.14159265358979 * i / 20;
        path += (i ? ";" : "") + std::to_string(static_cast<int>(2400 + 1800 * std::cos(angle))) + "," +
                std::to_string(static_cast<int>(1770 + 1300 * std::sin(angle)));
    }
    program.Settings.Write("BackgroundImage", picture.Utf8Path());
    program.Settings.Write("PathPoints", path);
    const lurvane::win32::ProgramContext context = program.Context();
    lurvane::win32::SettingsDialog dialog(context, {});
    if (!dialog.Create(nullptr)) {
        std::printf("the dialog could not be made\n");
        return 1;
    }
    ShowWindow(dialog.Window(), SW_SHOW);
    PumpMessages();
    std::printf("DPI %u, 20-point path on a 4000 x 3000 picture\n", lurvane::win32::WindowDpi(dialog.Window()));

    HWND marker = dialog.Control(IDC_CMDPATH + 5);
    Report("drag a marker, zoom 1", DragInACircle(marker, 40));
    Report("one preview frame, zoom 1", PreviewFrames(dialog));

    HWND zoomIn = dialog.Control(IDC_CMDBTNZOOMUP);
    std::vector<double> zooms;
    for (int i = 0; i < 6; ++i) {
        const auto start = Clock::now();
        SendMessageW(dialog.Window(), WM_COMMAND, MAKEWPARAM(IDC_CMDBTNZOOMUP, BN_CLICKED),
                     reinterpret_cast<LPARAM>(zoomIn));
        PumpMessages();
        zooms.push_back(MillisecondsSince(start));
    }
    Report("zoom in one step", zooms);
    std::vector<double> scrolls;
    HWND across = dialog.Control(IDC_HSCROLLPREVIEW);
    for (int i = 0; i < 8; ++i) {
        const auto start = Clock::now();
        SendMessageW(GetParent(across), WM_HSCROLL, SB_LINERIGHT, reinterpret_cast<LPARAM>(across));
        PumpMessages();
        scrolls.push_back(MillisecondsSince(start));
    }
    Report("scroll one step, zoom 4", scrolls);
    // The last scroll step shows the right edge, where marker 0 of the ellipse lies.
    Report("drag a marker, zoom 4", DragInACircle(dialog.Control(IDC_CMDPATH + 0), 40));
    Report("one preview frame, zoom 4", PreviewFrames(dialog));
    return 0;
}
