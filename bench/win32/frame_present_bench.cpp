// The saver's own frame on a real full-screen window, present included: a SaverRun over a
// striped picture and an elliptic path, driven frame after frame through the same call the
// frame timer makes. Prints figures, checks nothing. The frame size is the desktop's: run it in
// a Wine session whose desktop has the size to measure (LURVANE_WINE_DESKTOP=1920x1080).
// Arguments: the number of frames (500), the band gap to try instead of the saver's own (for
// rows composed in place), and the ways of drawing to compare: "copy" copies the rows straight
// from the wave buffer to the window, as the saver does; a number composes that many rows at a
// time in the slice buffer and shows them from there; a negative number composes them in place,
// in the visible surface, as a host without a slice buffer does. Several ways take turns, a wave
// period of frames each, so that a busy machine's load falls on each alike, and each gets its
// own figures.
// LURVANE_BENCH_MONITORS=N splits the desktop into N monitors side by side, each with a run and
// a window of its own, as a full-screen run over several monitors has them; a frame is then
// one frame of every run (LURVANE_WINE_DESKTOP=3840x1080 for two 1920 x 1080 monitors).
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
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

}  // namespace

int main(int argc, char** argv) {
    using namespace lurvane;
    using namespace lurvane::win32;
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 500;
    struct Way {
        std::string Name;
        int SliceRows = kDefaultSliceRows;
        bool Buffered = true, Copies = false;
    };
    std::vector<Way> ways;
    for (int i = 3; i < argc; ++i) {
        const int rows = std::atoi(argv[i]);
        if (std::string(argv[i]) == "copy") ways.push_back({"copied", kDefaultSliceRows, true, true});
        else ways.push_back({(rows < 0 ? "in place, slice " : "buffered, slice ") + std::to_string(std::abs(rows)),
                             std::abs(rows), rows >= 0, false});
    }
    if (ways.empty()) ways.push_back({"copied", kDefaultSliceRows, true, true});

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
    // An ellipse filling most of the settings preview.
    program.Settings.Write("PathPoints", support::PathAroundCentreTwips(64, 2200, 1600));
    program.Settings.Write("Framerate", "100");
    program.Settings.Write("RestartSec", "0");
    const char* monitorsText = std::getenv("LURVANE_BENCH_MONITORS");
    const int monitors = std::clamp(monitorsText != nullptr ? std::atoi(monitorsText) : 1, 1, 16);
    const int desktopWidth = GetSystemMetrics(SM_CXSCREEN), desktopHeight = GetSystemMetrics(SM_CYSCREEN);
    std::vector<std::unique_ptr<SaverRun>> runs;
    for (int i = 0; i < monitors; ++i) {
        auto run = std::make_unique<SaverRun>(program.Context());
        if (argc > 2) run->SetBandGap(std::atoi(argv[2]));
        if (!run->Form().Load()) {
            std::fprintf(stderr, "frame_present_bench: no saver window (error %lu)\n", GetLastError());
            return 1;
        }
        if (monitors > 1) {
            const MonitorArea monitor{desktopWidth * i / monitors, 0,
                                      desktopWidth * (i + 1) / monitors - desktopWidth * i / monitors, desktopHeight,
                                      i == 0};
            run->SetMonitor(monitor);
            run->Form().ShowFullScreen(
                RECT{monitor.Left, monitor.Top, monitor.Left + monitor.Width, monitor.Top + monitor.Height});
        } else {
            run->Form().ShowFullScreen();
        }
        runs.push_back(std::move(run));
    }
    for (const auto& run : runs) run->StartScreenSaver(false, false);
    SaverRun& run = *runs.front();
    auto alive = [&runs] {
        return std::all_of(runs.begin(), runs.end(), [](const auto& each) { return each->Form().Alive(); });
    };

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    const double msPerTick = 1000.0 / static_cast<double>(frequency.QuadPart);
    auto now = [] {
        LARGE_INTEGER counter;
        QueryPerformanceCounter(&counter);
        return counter.QuadPart;
    };

    // The thread's CPU time, in seconds: on a busy machine a steadier figure than the clock.
    auto cpuSeconds = [] {
        FILETIME created, exited, kernel, user;
        GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
        auto seconds = [](const FILETIME& time) {
            return static_cast<double>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e7;
        };
        return seconds(kernel) + seconds(user);
    };
    // A turn is a whole wave period (30 frames at the default frequency): each way of drawing
    // sees every phase, and so the same rows.
    const int turn = std::max(1, static_cast<int>(run.Engine().WaveFreq));
    std::vector<std::vector<double>> frameMs(ways.size());
    std::vector<double> cpu(ways.size(), 0.0);
    std::vector<int> cpuFrames(ways.size(), 0);
    double turnCpu = 0;
    for (int frame = -kWarmUpFrames, drawn = 0; drawn < frames * static_cast<int>(ways.size()) && alive();
         ++frame) {
        const size_t way = frame < 0 ? 0 : static_cast<size_t>(frame / turn) % ways.size();
        // The CPU time is read once a turn: reading it costs more than the clock.
        if (frame >= 0 && frame % turn == 0) turnCpu = cpuSeconds();
        const LONGLONG start = now();
        for (const auto& each : runs) {
            each->SetSliceRows(ways[way].SliceRows);
            each->SetSliceBuffered(ways[way].Buffered);
            each->SetCopiesShifted(ways[way].Copies);
            each->OnAnimationTimer();
        }
        const LONGLONG end = now();
        if (frame >= 0 && frame % turn == turn - 1) {
            cpu[way] += cpuSeconds() - turnCpu;
            cpuFrames[way] += turn;
        }
        if (frame < 0 || frameMs[way].size() >= static_cast<size_t>(frames)) continue;
        frameMs[way].push_back(static_cast<double>(end - start) * msPerTick);
        ++drawn;
    }

    const BoundingBox box = run.Engine().Bounds();
    std::printf("frame_present_bench: %d frames each (after %d warm-up), screen %d x %d, %d monitor(s), wave area %d x "
                "%d on the first\n",
                frames, kWarmUpFrames, desktopWidth, desktopHeight, monitors, box.Width(), box.Height());
    std::printf("%-22s %8s %8s %8s %8s %8s %8s   (ms)\n", "", "min", "median", "mean", "p95", "max", "CPU");
    std::printf("(CPU: the drawing thread's, per frame)\n");
    bool complete = true;
    for (size_t way = 0; way < ways.size(); ++way) {
        const Summary s = Summarise(frameMs[way]);
        const double cpuPerFrame = cpuFrames[way] == 0 ? 0 : cpu[way] * 1000 / cpuFrames[way];
        std::printf("%-22s %8.3f %8.3f %8.3f %8.3f %8.3f %8.3f\n", ways[way].Name.c_str(), s.Min, s.Median, s.Mean,
                    s.P95, s.Max, cpuPerFrame);
        complete = complete && frameMs[way].size() == static_cast<size_t>(frames);
    }
    std::fflush(stdout);

    for (const auto& each : runs) each->Form().Unload();
    return complete ? 0 : 1;
}
