// The core of one frame of the settings dialog's live waves: the preview picture of a 200 %
// display (7.5 twips a pixel) at zoom 1 and zoom 4, a 20-point path over most of it, the default
// wave settings, the view scrolled to the picture's middle. "Frame" is a frame of a path that
// stays; "Reshaped" one that takes up a path a drag just moved. Without the blit to the window,
// which preview_drag_bench times under Wine.
#include <benchmark/benchmark.h>

#include <cmath>

#include "settings/path_markers.h"
#include "waves/preview_waves.h"

namespace lurvane {
namespace {

constexpr double kTwipsPerPixel = 7.5;

struct PreviewScene {
    explicit PreviewScene(double zoom)
        : picture(static_cast<int>(std::nearbyint(zoom * kPreviewWidthTwips / kTwipsPerPixel)),
                  static_cast<int>(std::nearbyint(zoom * kPreviewHeightTwips / kTwipsPerPixel))) {
        for (size_t i = 0; i < picture.Pixels().size(); ++i) picture.Pixels()[i] = static_cast<uint32_t>(i * 2654435761u);
        for (int i = 0; i < 20; ++i) {
            const double angle = 2 * 3.14159265358979 * i / 20;
            const auto x = static_cast<float>(2400 + 1800 * std::cos(angle));
            const auto y = static_cast<float>(1770 + 1300 * std::sin(angle));
            if (i == 0) path.Move(0, x, y);
            else path.AddPathPoint(x, y);
        }
        waves.SetPicture(picture.View());
        // The viewport shows 498 rows at every zoom; zoomed, it is scrolled to the middle.
        const int shown = static_cast<int>(std::nearbyint(kPreviewHeightTwips / kTwipsPerPixel));
        waves.SetRows((picture.Height() - shown) / 2, (picture.Height() + shown) / 2);
        waves.SetShape({30, 0, 6, 2, 1});
        waves.SetPath(path, kTwipsPerPixel);
        waves.Frame();
    }
    PixelBuffer picture;
    PathMarkers path;
    PreviewWaves waves;
};

void Frame(benchmark::State& state) {
    PreviewScene scene(static_cast<double>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(scene.waves.Frame().size());
    state.SetLabel(std::to_string(scene.picture.Width()) + "x" + std::to_string(scene.picture.Height()));
}

void Reshaped(benchmark::State& state) {
    PreviewScene scene(static_cast<double>(state.range(0)));
    float step = 1;
    for (auto _ : state) {
        scene.path.Move(5, scene.path.At(5).Left + step, scene.path.At(5).Top);
        step = -step;
        scene.waves.SetPath(scene.path, kTwipsPerPixel);
        benchmark::DoNotOptimize(scene.waves.Frame().size());
    }
}

BENCHMARK(Frame)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);
BENCHMARK(Reshaped)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace lurvane

BENCHMARK_MAIN();
