#include "waves/preview_waves.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "settings/settings_model.h"
#include "support/fake_frame_host.h"
#include "waves/settings_snapshot.h"

namespace lurvane {
namespace {

// A saver run on a screen of the preview picture's size, showing the picture there: its own
// snapshot, wave buffer and frame renderer.
class SaverOnPicture {
public:
    SaverOnPicture(const PixelBuffer& picture, const PathMarkers& path, const WaveShape& shape, double twipsPerPixel,
                   int16_t counter)
        : renderer_(engine_, {}) {
        SettingsModel model;
        model.Path() = path;
        model.SetNumber(SettingId::WaveFreq, shape.Freq);
        model.SetNumber(SettingId::WaveDirection, shape.Direction);
        model.SetNumber(SettingId::WaveCount, shape.Count);
        model.SetNumber(SettingId::WaveAmp, shape.Amp);
        model.SetNumber(SettingId::WaveAsc, shape.AscPercent);
        SnapshotEnvironment screen;
        screen.ScreenWidth = picture.Width();
        screen.ScreenHeight = picture.Height();
        screen.TwipsPerPixelX = screen.TwipsPerPixelY = twipsPerPixel;
        SetGlobalSettings(model, screen, engine_);
        StartWavelor(engine_);
        host_.visible = picture;
        host_.waveBuffer = WaveBufferOf(picture, engine_.Bounds());
        renderer_.Step().WaveCounter = counter;
    }

    const PixelBuffer& Frame() {
        bool preview = false, manual = false;
        renderer_.RenderFrame(preview, manual, host_);
        return host_.visible;
    }
    const EngineSettings& Engine() const { return engine_; }

private:
    EngineSettings engine_;
    FrameRenderer renderer_;
    FakeHost host_;
};

PathMarkers RandomPath(std::mt19937& random) {
    std::uniform_real_distribution<float> x(-300, 5100), y(-300, 3800);
    PathMarkers path;
    path.Move(0, x(random), y(random));
    const int more = std::uniform_int_distribution<int>(0, 8)(random);
    for (int i = 0; i < more; ++i) path.AddPathPoint(x(random), y(random));
    return path;
}

// The preview's waves are the saver's: on random pictures, paths, wave settings and phases, frame
// after frame, also after the path moves and in the rows of a scrolled view, and the clean
// picture comes back when they stop.
class PreviewWavesMatchTheSaver : public ::testing::TestWithParam<unsigned> {};

TEST_P(PreviewWavesMatchTheSaver, FrameForFrame) {
    std::mt19937 random(GetParam());
    auto number = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const double twipsPerPixel = number(0, 1) ? 15 : 7.5;
    PixelBuffer clean(number(120, 700), number(90, 520));
    for (uint32_t& pixel : clean.Pixels()) pixel = random() & 0x00FFFFFF;
    const WaveShape shape{number(2, 100), number(0, 1), number(0, 32), number(1, 10), number(1, 100)};  // the sliders' ranges

    PixelBuffer picture = clean;
    PreviewWaves waves;
    waves.SetPicture(picture.View());
    waves.SetShape(shape);
    for (int move = 0; move < 3; ++move) {
        // A drag moves the path several times between two frames: the last place counts.
        waves.SetPath(RandomPath(random), twipsPerPixel);
        const PathMarkers path = RandomPath(random);
        waves.SetPath(path, twipsPerPixel);
        const auto counter = static_cast<int16_t>(number(0, shape.Freq - 1));
        waves.Step().WaveCounter = counter;
        // The rows a zoomed preview shows, all of them at first; then it scrolls.
        const int top = move == 0 ? 0 : number(-20, picture.Height() - 1);
        const int bottom = move == 0 ? picture.Height() : number(top + 1, picture.Height() + 20);
        waves.SetRows(top, bottom);
        const auto rows = [&](const PixelBuffer& buffer) {
            const auto first = static_cast<size_t>(std::max(top, 0) * buffer.Width());
            const auto end = static_cast<size_t>(std::min(bottom, buffer.Height()) * buffer.Width());
            return std::vector<uint32_t>(buffer.Pixels().begin() + first, buffer.Pixels().begin() + end);
        };
        SaverOnPicture saver(clean, path, shape, twipsPerPixel, counter);
        for (int frame = 0; frame < 4; ++frame) {
            const PixelBuffer before = picture;
            const std::span<const BoundingBox> changed = waves.Frame();
            ASSERT_EQ(rows(picture), rows(saver.Frame())) << "move " << move << ", frame " << frame;
            // The preview shows again only what the frame says it changed.
            for (int y = 0; y < picture.Height(); ++y)
                for (int x = 0; x < picture.Width(); ++x) {
                    const auto at = static_cast<size_t>(y * picture.Width() + x);
                    if (picture.Pixels()[at] == before.Pixels()[at]) continue;
                    ASSERT_TRUE(std::ranges::any_of(changed, [&](const BoundingBox& box) {
                        return x >= box.MinX && x < box.MaxX && y >= box.MinY && y < box.MaxY;
                    })) << x << "," << y;
                }
        }
        EXPECT_EQ(waves.Area(), saver.Engine().Bounds());
        EXPECT_TRUE(std::ranges::equal(waves.Path(), saver.Engine().PathPoints));
    }
    waves.Restore();
    EXPECT_EQ(picture.Pixels(), clean.Pixels());
}

INSTANTIATE_TEST_SUITE_P(RandomScenes, PreviewWavesMatchTheSaver, ::testing::Range(1u, 25u));

}  // namespace
}  // namespace lurvane
