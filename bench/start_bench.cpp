// What a start costs in the core, and what memory it then holds: the wave buffer taken from the
// background as the saver window takes it, the mask and the first frame (wave step and compose),
// on a 1920 x 1080 screen. The paths come through the settings snapshot as stored twips: an
// ellipse on the screen, 1000 points on the screen, and 1000 hand-edited points spread over the
// whole 16-bit range of the stored numbers, which reach far beyond the screen.
//
// The wave buffer stands in for the saver's DIB section: fresh zero pages from the system, so
// that only what is written to it becomes resident, as with a DIB section.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "imaging/surface.h"
#include "settings/settings_model.h"
#include "waves/bounding_box.h"
#include "waves/engine_settings.h"
#include "waves/frame_renderer.h"
#include "waves/settings_snapshot.h"

namespace lurvane {
namespace {

constexpr int kScreenWidth = 1920, kScreenHeight = 1080;
constexpr int kPreviewTwipsWidth = 4995, kPreviewTwipsHeight = 3735;

double ResidentBytes() {
    long pages = 0, resident = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(statm);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

// Zero-filled pages straight from the system, resident only once touched.
class ZeroPages {
public:
    ZeroPages(int width, int height) {
        if (width <= 0 || height <= 0) return;
        bytes_ = static_cast<size_t>(width) * static_cast<size_t>(height) * sizeof(uint32_t);
        void* memory = mmap(nullptr, bytes_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED) {
            bytes_ = 0;
            return;
        }
        view_ = {static_cast<uint32_t*>(memory), width, height};
    }
    ZeroPages(const ZeroPages&) = delete;
    ZeroPages& operator=(const ZeroPages&) = delete;
    ~ZeroPages() {
        if (view_.Pixels != nullptr) munmap(view_.Pixels, bytes_);
    }
    SurfaceView View() const { return view_; }
    size_t Bytes() const { return bytes_; }

private:
    SurfaceView view_;
    size_t bytes_ = 0;
};

// Copies the rectangle of `picture` at (x, y) into `target`, clipped to the picture, as a BitBlt
// from a memory DC leaves what lies outside its source untouched.
void CopyFromPicture(const SurfaceView& picture, int x, int y, const SurfaceView& target) {
    if (target.Empty()) return;
    const int64_t x0 = std::max<int64_t>(x, 0), x1 = std::min<int64_t>(int64_t{x} + target.Width, picture.Width);
    const int64_t y0 = std::max<int64_t>(y, 0), y1 = std::min<int64_t>(int64_t{y} + target.Height, picture.Height);
    for (int64_t row = y0; row < y1 && x0 < x1; ++row)
        std::memcpy(target.Row(static_cast<int>(row - y)) + (x0 - x), picture.Row(static_cast<int>(row)) + x0,
                    static_cast<size_t>(x1 - x0) * sizeof(uint32_t));
}

// The saver window as the renderer sees it on a first frame, with the wave buffer it prepared.
class StartHost : public FrameHost {
public:
    StartHost(SurfaceView visible, SurfaceView waveBuffer) : visible_(visible), waveBuffer_(waveBuffer) {}
    double Now() override { return 1000.0; }
    bool HasParent() override { return true; }
    void SetFpsLabel(bool, const std::string&) override {}
    SurfaceView Visible() override { return visible_; }
    SurfaceView WaveBuffer() override { return waveBuffer_; }
    void DrawNotice(const std::string&) override {}
    BoundingBox EraseNoticeStrip() override { return {}; }
    void Present(std::span<const BoundingBox>) override {}

private:
    SurfaceView visible_, waveBuffer_;
};

std::string TwipsText(const std::vector<std::pair<int, int>>& points) {
    std::string text;
    for (const auto& [x, y] : points) text += (text.empty() ? "" : ";") + std::to_string(x) + "," + std::to_string(y);
    return text;
}

std::string EllipseTwips() {
    std::vector<std::pair<int, int>> points;
    for (int k = 0; k < 64; ++k) {
        const double angle = k * 6.283185307179586 / 64;
        points.emplace_back(static_cast<int>(std::lround(kPreviewTwipsWidth * (0.5 + 0.45 * std::cos(angle)))),
                            static_cast<int>(std::lround(kPreviewTwipsHeight * (0.5 + 0.45 * std::sin(angle)))));
    }
    return TwipsText(points);
}

std::string RandomTwips(int count, int low, int highX, int highY) {
    std::mt19937 random(1000);
    std::vector<std::pair<int, int>> points;
    for (int k = 0; k < count; ++k)
        points.emplace_back(std::uniform_int_distribution<int>(low, highX)(random),
                            std::uniform_int_distribution<int>(low, highY)(random));
    return TwipsText(points);
}

EngineSettings Snapshot(const std::string& twips) {
    SettingsModel model;
    model.SetNumber(SettingId::MaximizeBackground, 1);
    model.ReplacePath(twips);
    SnapshotEnvironment screen;
    screen.ScreenWidth = kScreenWidth;
    screen.ScreenHeight = kScreenHeight;
    screen.LoadPicture = [](const std::string&) { return std::optional<PictureSize>(); };
    screen.PickRandomBackground = [](const std::string& current, bool) { return current; };
    EngineSettings engine;
    SetGlobalSettings(model, screen, engine);
    StartWavelor(engine);
    return engine;
}

void Start(benchmark::State& state, const std::string& twips) {
    // A fixed threshold: every large block comes fresh from the system and goes back when freed,
    // so the resident growth of an iteration is what that start holds.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    const EngineSettings snapshot = Snapshot(twips);
    const BoundingBox area = snapshot.Bounds();
    PixelBuffer picture(kScreenWidth, kScreenHeight), visible(kScreenWidth, kScreenHeight);
    std::mt19937 random(7);
    for (uint32_t& pixel : picture.Pixels()) pixel = static_cast<uint32_t>(random());

    double buffer = 0, resident = 0;
    for (auto _ : state) {
        const double residentBefore = ResidentBytes();
        EngineSettings engine = snapshot;
        // The part of the bounding box on the screen, filled from the background.
        const AreaPart onScreen = OnScreenPart(area, kScreenWidth, kScreenHeight);
        ZeroPages waveBuffer(onScreen.Width(), onScreen.Height());
        CopyFromPicture(picture.View(), area.MinX + onScreen.Left, area.MinY + onScreen.Top, waveBuffer.View());
        StartHost host(visible.View(), waveBuffer.View());
        FrameRenderer renderer(engine, {});
        bool preview = false, manual = false;
        renderer.RenderFrame(preview, manual, host);
        benchmark::DoNotOptimize(visible.Pixels().data());
        benchmark::ClobberMemory();
        resident = ResidentBytes() - residentBefore;
        buffer = static_cast<double>(waveBuffer.Bytes());
    }
    state.counters["area_w"] = area.Width();
    state.counters["area_h"] = area.Height();
    state.counters["buffer_MB"] = buffer / 1e6;
    state.counters["resident_MB"] = resident / 1e6;
}

void OnScreenEllipse(benchmark::State& state) { Start(state, EllipseTwips()); }
void OnScreen1000Points(benchmark::State& state) {
    Start(state, RandomTwips(1000, 0, kPreviewTwipsWidth, kPreviewTwipsHeight));
}
void SpreadOver16Bits1000Points(benchmark::State& state) { Start(state, RandomTwips(1000, -32768, 32767, 32767)); }

BENCHMARK(OnScreenEllipse)->Unit(benchmark::kMillisecond);
BENCHMARK(OnScreen1000Points)->Unit(benchmark::kMillisecond);
BENCHMARK(SpreadOver16Bits1000Points)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lurvane

BENCHMARK_MAIN();
