// The saver's own frame on a real full-screen window, present included: a SaverRun over a
// striped picture and an elliptic path, driven frame after frame through the same call the
// frame timer makes. Prints figures, checks nothing. The frame size is the desktop's: run it in
// a Wine session whose desktop has the size to measure (LURVANE_WINE_DESKTOP=1920x1080).
// Arguments: the number of frames (500), and the band gap to try instead of the saver's own.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "saver/win32/saver_run.h"
#include "support/win32/memory_program.h"

namespace {

constexpr int kWarmUpFrames = 20;

struct Summary {
    double Min = 0, Median = 0, Mean = 0, P95 = 0, Max = 0;
};

Summary Summarise(std::vector<double> values) {
    Summary summary;
    if (values.empty()) return summary;
    std::sort(values.begin(), values.end());
    double sum = 0;
    for (double value : values) sum += value;
    const size_t n = values.size();
    summary.Min = values.front();
    summary.Max = values.back();
    summary.Median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    summary.Mean = sum / static_cast<double>(n);
    summary.P95 = values[std::min(n - 1, static_cast<size_t>(std::ceil(0.95 * static_cast<double>(n))) - 1)];
    return summary;
}

// An ellipse filling most of the settings preview, as marker corners in twips.
std::string EllipsePathTwips() {
    std::string text;
    for (int i = 0; i < 64; ++i) {
        const double angle = 2 * 3.14159265358979 * i / 64;
        const int x = static_cast<int>(2400 + 2200 * std::cos(angle));
        const int y = static_cast<int>(1770 + 1600 * std::sin(angle));
        text += (i ? ";" : "") + std::to_string(x) + "," + std::to_string(y);
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace lurvane;
    using namespace lurvane::win32;
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 500;

    const support::TempPicture picture(L"lurvane-frame-bench.bmp", 1920, 1080, [](int x, int y) {
        return ((y / 6) % 2 ? 0xC08040u : 0x204060u) + static_cast<uint32_t>(x / 16);
    });
    if (picture.Path().empty()) {
        std::fprintf(stderr, "frame_present_bench: cannot write the picture\n");
        return 1;
    }
    support::MemoryProgram program;
    program.Settings.Write("BackgroundImage", picture.Utf8Path());
    program.Settings.Write("MaximizeBackground", "1");
    program.Settings.Write("PathPoints", EllipsePathTwips());
    program.Settings.Write("Framerate", "100");
    program.Settings.Write("RestartSec", "0");
    SaverRun run(program.Context());
    if (argc > 2) run.SetBandGap(std::atoi(argv[2]));
    if (!run.Form().Load()) {
        std::fprintf(stderr, "frame_present_bench: no saver window (error %lu)\n", GetLastError());
        return 1;
    }
    run.Form().ShowFullScreen();
    run.StartScreenSaver(false, false);

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    const double msPerTick = 1000.0 / static_cast<double>(frequency.QuadPart);
    auto now = [] {
        LARGE_INTEGER counter;
        QueryPerformanceCounter(&counter);
        return counter.QuadPart;
    };

    // The process's CPU time, in seconds: on a busy machine a steadier figure than the clock.
    auto cpuSeconds = [] {
        FILETIME created, exited, kernel, user;
        GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
        auto seconds = [](const FILETIME& time) {
            return static_cast<double>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e7;
        };
        return seconds(kernel) + seconds(user);
    };
    double cpuAtStart = 0;
    std::vector<double> frameMs;
    for (int frame = -kWarmUpFrames; frame < frames && run.Form().Alive(); ++frame) {
        if (frame == 0) cpuAtStart = cpuSeconds();
        const LONGLONG start = now();
        run.OnAnimationTimer();
        if (frame >= 0) frameMs.push_back(static_cast<double>(now() - start) * msPerTick);
    }

    const double cpuPerFrame = frameMs.empty() ? 0 : (cpuSeconds() - cpuAtStart) * 1000 / static_cast<double>(frameMs.size());
    const BoundingBox box = run.Engine().Bounds();
    const Summary s = Summarise(frameMs);
    std::printf("frame_present_bench: %zu frames (after %d warm-up), screen %d x %d, wave area %d x %d\n",
                frameMs.size(), kWarmUpFrames, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                box.Width(), box.Height());
    std::printf("%-22s %8s %8s %8s %8s %8s   (ms)\n", "", "min", "median", "mean", "p95", "max");
    std::printf("%-22s %8.3f %8.3f %8.3f %8.3f %8.3f\n", "whole frame", s.Min, s.Median, s.Mean, s.P95, s.Max);
    const auto over = std::count_if(frameMs.begin(), frameMs.end(), [](double ms) { return ms > 2.0; });
    std::printf("whole frames over 2 ms: %d of %zu\n", static_cast<int>(over), frameMs.size());
    std::printf("process CPU per frame: %.3f ms\n", cpuPerFrame);
    std::fflush(stdout);

    run.Form().Unload();
    return frameMs.size() == static_cast<size_t>(frames) ? 0 : 1;
}
