// What one animation frame costs on a real window: the wave step and the compose into a DIB
// section, then the present (flush, one blit of the dirty box to the window, one message pass),
// exactly as a running saver does each frame. Prints figures; it checks nothing.
//
//   frame_present_bench [frames [width height]]     defaults: 500 frames at 1920 x 1080
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench_path.h"
#include "imaging/win32/dib_surface.h"
#include "util/win32/message_loop.h"
#include "waves/engine_settings.h"
#include "waves/frame_composer.h"
#include "waves/path_mask.h"
#include "waves/wave_step.h"

namespace {

using lurvane::win32::DibSurface;

constexpr int kWarmUpFrames = 20;

// Horizontal stripes with a slow ramp across, so that every shifted row really changes pixels.
void PaintStripes(const DibSurface& surface) {
    const lurvane::SurfaceView view = surface.View();
    for (int y = 0; y < view.Height; ++y) {
        uint32_t* row = view.Row(y);
        const uint32_t base = (y / 6) % 2 ? 0xC08040u : 0x204060u;
        for (int x = 0; x < view.Width; ++x) row[x] = base + static_cast<uint32_t>(x / 16);
    }
}

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

void PrintRow(const char* name, const std::vector<double>& values) {
    const Summary s = Summarise(values);
    std::printf("%-22s %8.3f %8.3f %8.3f %8.3f %8.3f\n", name, s.Min, s.Median, s.Mean, s.P95, s.Max);
}

LRESULT CALLBACK BenchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateBenchWindow(int width, int height) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = BenchWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = L"LurvaneFramePresentBench";
    if (RegisterClassW(&windowClass) == 0) return nullptr;
    HWND window = CreateWindowExW(WS_EX_TOPMOST, windowClass.lpszClassName, L"frame_present_bench",
                                  WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    if (window != nullptr) UpdateWindow(window);
    return window;
}

}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 500;
    const int width = argc > 3 ? std::atoi(argv[2]) : 1920;
    const int height = argc > 3 ? std::atoi(argv[3]) : 1080;
    if (width <= 0 || height <= 0 || height > 4000 || width > 32767) {
        std::fprintf(stderr, "frame_present_bench: size %d x %d is out of range\n", width, height);
        return 2;
    }

    HWND window = CreateBenchWindow(width, height);
    if (window == nullptr) {
        std::fprintf(stderr, "frame_present_bench: no window (error %lu)\n", GetLastError());
        return 1;
    }

    // The wave area is the whole screen: the background holds its unshifted picture, the
    // visible surface is what the window shows.
    DibSurface background, visible;
    if (!background.Resize(width, height) || !visible.Resize(width, height)) {
        std::fprintf(stderr, "frame_present_bench: no DIB sections of %d x %d\n", width, height);
        return 1;
    }
    PaintStripes(background);
    BitBlt(visible.Dc(), 0, 0, width, height, background.Dc(), 0, 0, SRCCOPY);

    lurvane::PathMask mask;
    mask.Build(lurvane::bench::EllipsePath(width, height), width, height);

    // The stored defaults of a fresh install, apart from waves from the top.
    lurvane::EngineSettings engine;
    engine.WaveFreq = 30;
    engine.WaveDirection = 1;
    engine.WaveCount = 6;
    engine.WaveAmp = 10;
    engine.WaveAsc = 1;
    engine.BoundMinX = 0;
    engine.BoundMinY = 0;
    engine.BoundMaxX = static_cast<int16_t>(width);
    engine.BoundMaxY = static_cast<int16_t>(height);
    lurvane::WaveStep step;

    HDC windowDc = GetDC(window);
    BitBlt(windowDc, 0, 0, width, height, visible.Dc(), 0, 0, SRCCOPY);
    ReleaseDC(window, windowDc);
    lurvane::win32::PumpPendingMessages();

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    const double msPerTick = 1000.0 / static_cast<double>(frequency.QuadPart);
    auto now = [] {
        LARGE_INTEGER counter;
        QueryPerformanceCounter(&counter);
        return counter.QuadPart;
    };

    std::vector<double> waveMs, composeMs, presentMs, blitMs, pumpMs, frameMs, intervalMs;
    int failedSteps = 0;
    const lurvane::BoundingBox dirty = engine.Bounds();
    LONGLONG previousStart = 0;
    for (int frame = -kWarmUpFrames; frame < frames; ++frame) {
        const LONGLONG start = now();
        failedSteps += step.Run(engine, height) ? 0 : 1;
        const LONGLONG stepped = now();
        lurvane::ComposeFrame(mask, step.Rows(), background.View(), visible.View(), dirty.MinX, dirty.MinY);
        const LONGLONG composed = now();
        // The present, as the saver window does it.
        GdiFlush();
        HDC dc = GetDC(window);
        BitBlt(dc, dirty.MinX, dirty.MinY, dirty.Width(), dirty.Height(), visible.Dc(), dirty.MinX, dirty.MinY,
               SRCCOPY);
        ReleaseDC(window, dc);
        const LONGLONG blitted = now();
        lurvane::win32::PumpPendingMessages();
        const LONGLONG presented = now();
        if (frame >= 0) {
            waveMs.push_back(static_cast<double>(stepped - start) * msPerTick);
            composeMs.push_back(static_cast<double>(composed - stepped) * msPerTick);
            presentMs.push_back(static_cast<double>(presented - composed) * msPerTick);
            blitMs.push_back(static_cast<double>(blitted - composed) * msPerTick);
            pumpMs.push_back(static_cast<double>(presented - blitted) * msPerTick);
            frameMs.push_back(static_cast<double>(presented - start) * msPerTick);
            if (frame > 0) intervalMs.push_back(static_cast<double>(start - previousStart) * msPerTick);
        }
        previousStart = start;
    }

    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& time) {
        return static_cast<double>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e7;
    };

    std::printf("frame_present_bench: %d frames (after %d warm-up) at %d x %d, screen %d x %d\n", frames,
                kWarmUpFrames, width, height, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    std::printf("path coverage %.1f %% of the area, dirty box %d x %d, failed wave steps %d\n",
                lurvane::bench::Coverage(mask) * 100.0, dirty.Width(), dirty.Height(), failedSteps);
    std::printf("%-22s %8s %8s %8s %8s %8s   (ms)\n", "part", "min", "median", "mean", "p95", "max");
    PrintRow("wave step", waveMs);
    PrintRow("compose", composeMs);
    PrintRow("step + compose", [&] {
        std::vector<double> both(waveMs.size());
        for (size_t i = 0; i < both.size(); ++i) both[i] = waveMs[i] + composeMs[i];
        return both;
    }());
    PrintRow("present", presentMs);
    PrintRow("  flush + blit", blitMs);
    PrintRow("  message pass", pumpMs);
    PrintRow("whole frame", frameMs);
    PrintRow("frame to frame", intervalMs);
    const auto over = std::count_if(frameMs.begin(), frameMs.end(), [](double ms) { return ms > 2.0; });
    const auto slowPasses = std::count_if(pumpMs.begin(), pumpMs.end(), [](double ms) { return ms > 1.0; });
    std::printf("whole frames over 2 ms: %d of %d; message passes over 1 ms: %d\n", static_cast<int>(over), frames,
                static_cast<int>(slowPasses));
    std::printf("process CPU time: user %.2f s, kernel %.2f s\n", seconds(user), seconds(kernel));
    std::fflush(stdout);

    DestroyWindow(window);
    return failedSteps == 0 ? 0 : 1;
}
