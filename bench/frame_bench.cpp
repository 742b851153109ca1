// One frame's core work (wave table, row shift and compose inside the path) against a plain
// memcpy of the whole wave area, at full-HD and 4K wave areas and the default wave settings:
// composing only the rows whose source changed, and (FrameCoreFull) composing every row; the
// saver's whole frame on one to four monitors, and on one monitor whose caches start cold.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "bench_path.h"
#include "imaging/surface.h"
#include "waves/engine_settings.h"
#include "waves/frame_composer.h"
#include "waves/frame_renderer.h"
#include "waves/path_mask.h"
#include "waves/wave_step.h"

namespace lurvane {
namespace {

struct Scene {
    Scene(int width, int height) : buffer(width, height), visible(width, height) {
        std::mt19937 random(7);
        for (uint32_t& pixel : buffer.Pixels()) pixel = static_cast<uint32_t>(random());
        engine.WaveFreq = 30;
        engine.WaveAmp = 2;
        engine.WaveCount = 6;
        engine.WaveAsc = 1;
        engine.WaveDirection = 1;
        mask.Build(bench::EllipsePath(width, height), width, height);
        shown.assign(static_cast<size_t>(mask.Height()), kRowNotShown);
    }
    PixelBuffer buffer, visible;
    EngineSettings engine;
    PathMask mask;
    WaveStep step;
    std::vector<int32_t> shown;
    std::vector<RowBand> bands;
};

void SetBytes(benchmark::State& state, int width, int height) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * width * height * 4);
}

void FrameCore(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    Scene scene(width, height);
    size_t bandRows = 0, bands = 0, frames = 0;
    for (auto _ : state) {
        scene.step.Run(scene.engine, height);
        ComposeChangedRows(scene.mask, scene.step.Rows(), scene.buffer.View(), scene.visible.View(), 0, 0, scene.shown,
                           kDefaultBandGap, scene.bands);
        benchmark::DoNotOptimize(scene.visible.Pixels().data());
        benchmark::ClobberMemory();
        for (const RowBand& band : scene.bands) bandRows += static_cast<size_t>(band.Bottom - band.Top);
        bands += scene.bands.size();
        ++frames;
    }
    state.counters["coverage"] = bench::Coverage(scene.mask);
    state.counters["presented_rows"] = static_cast<double>(bandRows) / static_cast<double>(frames) / height;
    state.counters["bands"] = static_cast<double>(bands) / static_cast<double>(frames);
    SetBytes(state, width, height);
}

void FrameCoreFull(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    Scene scene(width, height);
    for (auto _ : state) {
        scene.step.Run(scene.engine, height);
        ComposeFrame(scene.mask, scene.step.Rows(), scene.buffer.View(), scene.visible.View(), 0, 0);
        benchmark::DoNotOptimize(scene.visible.Pixels().data());
        benchmark::ClobberMemory();
    }
    SetBytes(state, width, height);
}

// The saver's own frame: FrameRenderer::RenderFrame with its mask, label, notice and restart
// checks, over surfaces in memory and a present that shows nothing.
class MemoryHost final : public FrameHost {
public:
    explicit MemoryHost(Scene& scene) : scene_(scene) {}
    double Now() override { return now += 0.01; }
    bool HasParent() override { return true; }
    void SetFpsLabel(bool, const std::string&) override {}
    SurfaceView Visible() override { return scene_.visible.View(); }
    SurfaceView WaveBuffer() override { return scene_.buffer.View(); }
    void DrawNotice(const std::string&) override {}
    BoundingBox EraseNoticeStrip() override { return {}; }
    void Present(std::span<const BoundingBox>) override {}
    double now = 1000;

private:
    Scene& scene_;
};

// One monitor's run, as the saver sets it up: the path an ellipse over the whole area.
struct MonitorRun {
    MonitorRun(int width, int height) : scene(width, height), renderer(scene.engine, {}), host(scene) {
        scene.engine.BoundMaxX = static_cast<int16_t>(width);
        scene.engine.BoundMaxY = static_cast<int16_t>(height);
        scene.engine.RelativePathPoints = bench::EllipsePath(width, height);
        StartWavelor(scene.engine);
    }
    void Frame() {
        renderer.RenderFrame(preview, manual, host);
        benchmark::DoNotOptimize(scene.visible.Pixels().data());
    }
    Scene scene;
    FrameRenderer renderer;
    MemoryHost host;
    bool preview = false, manual = false;
};

// The saver's whole frame on `monitors` monitors of the given size, one run each.
void SaverFrame(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    const int monitors = static_cast<int>(state.range(2));
    std::vector<std::unique_ptr<MonitorRun>> runs;
    for (int i = 0; i < monitors; ++i) runs.push_back(std::make_unique<MonitorRun>(width, height));
    for (auto _ : state) {
        for (auto& run : runs) run->Frame();
        benchmark::ClobberMemory();
    }
    SetBytes(state, width * monitors, height);
}

// One monitor's saver frame with the caches emptied before every frame (a write over twice the
// last-level cache, untimed), as each of several monitors finds them: their surfaces together
// (wave buffer and visible surface, 16 MiB per 1920 x 1080 monitor) outgrow the cache, so every
// frame fetches its rows from memory. Compare its time per monitor with SaverFrame's.
void SaverFrameColdCache(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    MonitorRun run(width, height);
    std::vector<uint8_t> sweep(size_t{64} << 20);
    uint8_t fill = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::memset(sweep.data(), ++fill, sweep.size());
        benchmark::ClobberMemory();
        state.ResumeTiming();
        run.Frame();
        benchmark::ClobberMemory();
    }
    state.counters["surfaces_MiB"] = 2.0 * width * height * 4 / (1 << 20);
    SetBytes(state, width, height);
}

void WaveTableOnly(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    Scene scene(1, 1);
    for (auto _ : state) {
        scene.step.Run(scene.engine, height);
        benchmark::DoNotOptimize(scene.step.Rows().data());
    }
    SetBytes(state, width, height);
}

void MemcpyWholeArea(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    Scene scene(width, height);
    for (auto _ : state) {
        std::memcpy(scene.visible.Pixels().data(), scene.buffer.Pixels().data(), scene.buffer.Pixels().size() * 4);
        benchmark::DoNotOptimize(scene.visible.Pixels().data());
        benchmark::ClobberMemory();
    }
    SetBytes(state, width, height);
}

#define AREAS Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMicrosecond)
BENCHMARK(MemcpyWholeArea)->AREAS;
BENCHMARK(FrameCore)->AREAS;
BENCHMARK(FrameCoreFull)->AREAS;
BENCHMARK(SaverFrame)
    ->Args({960, 1080, 1})
    ->Args({960, 1080, 2})
    ->Args({960, 1080, 4})
    ->Args({1920, 1080, 1})
    ->Args({1920, 1080, 2})
    ->Args({1920, 1080, 4})
    ->Args({3840, 1080, 1})
    ->Args({3840, 2160, 1})
    ->ArgNames({"width", "height", "monitors"})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(SaverFrameColdCache)->Args({960, 1080})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);
BENCHMARK(WaveTableOnly)->AREAS;

}  // namespace
}  // namespace lurvane

BENCHMARK_MAIN();
