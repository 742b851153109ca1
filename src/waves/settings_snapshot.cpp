#include "waves/settings_snapshot.h"

#include <exception>
#include <stdexcept>
#include <utility>
#include <vector>

#include "settings/profile.h"
#include "util/file_functions.h"
#include "util/text_rules.h"
#include "waves/bounding_box.h"
#include "util/trace.h"

namespace lurvane {
namespace {

class PictureUnusable : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct DisplaySize {
    int16_t Width = 0;
    int16_t Height = 0;
};

DisplaySize WholeScreen(const SnapshotEnvironment& env) {
    DisplaySize size;
    size.Height = RoundToInt16(env.ScreenHeight);
    size.Width = RoundToInt16(env.ScreenWidth);
    return size;
}

// The picture fitted into the screen with its aspect kept, then scaled by the size percent.
DisplaySize Proportional(const EngineSettings& engine, const SnapshotEnvironment& env) {
    std::optional<PictureSize> picture;
    if (env.LoadPicture) picture = env.LoadPicture(engine.BackgroundImage);
    if (!picture || picture->Width <= 0 || picture->Height <= 0) throw PictureUnusable("picture cannot be loaded");
    const double sw = env.ScreenWidth, sh = env.ScreenHeight;
    const double a = static_cast<double>(picture->Width) / picture->Height;
    const double b = static_cast<double>(picture->Height) / picture->Width;
    const int16_t heightAtScreenWidth = RoundToInt16(sw * b);
    const int16_t widthAtScreenHeight = RoundToInt16(sh * a);
    DisplaySize size;
    if (heightAtScreenWidth <= sh) {
        size = {RoundToInt16(sw), heightAtScreenWidth};
    } else if (widthAtScreenHeight <= sw) {
        size = {widthAtScreenHeight, RoundToInt16(sh)};
    } else {
        size = {widthAtScreenHeight, heightAtScreenWidth};
    }
    size.Height = RoundToInt16(engine.SizeBackground / 100.0 * size.Height);
    size.Width = RoundToInt16(engine.SizeBackground / 100.0 * size.Width);
    return size;
}

int32_t PlusOffset(float value, int16_t offset) {
    return RoundToInt32(static_cast<double>(RoundToInt32(static_cast<double>(value))) + offset);
}

}  // namespace

// Everything after the display size is known: factors, offsets and the three forms of the path.
PathPlacement PlacePath(int16_t width, int16_t height, const PathMarkers& markers, const SnapshotEnvironment& env) {
    const DisplaySize size{width, height};
    PathPlacement g;
    g.FactorX = static_cast<float>(size.Width * env.TwipsPerPixelX / kPreviewWidthTwips);
    g.OffsetX = RoundToInt16((env.ScreenWidth - size.Width) / 2);
    g.FactorY = static_cast<float>(size.Height * env.TwipsPerPixelY / kPreviewHeightTwips);
    g.OffsetY = RoundToInt16((env.ScreenHeight - size.Height) / 2);
    env.Tracer.TraceQuietly("got global factors");

    // Marker centres in screen pixels before the offsets, in single precision as the preview
    // keeps its markers.
    const float half = PathMarkers::kMarkerSize / 2;
    const auto twipsX = static_cast<float>(env.TwipsPerPixelX);
    const auto twipsY = static_cast<float>(env.TwipsPerPixelY);
    std::vector<std::pair<float, float>> centres;
    for (const MarkerPosition& marker : markers.Positions())
        centres.emplace_back((half + marker.Left) / twipsX * g.FactorX, (half + marker.Top) / twipsY * g.FactorY);

    for (const auto& [cx, cy] : centres) g.Points.push_back({PlusOffset(cx, g.OffsetX), PlusOffset(cy, g.OffsetY)});
    env.Tracer.TraceQuietly("got global pathpoints");

    g.Bounds = GetBoundingBox(g.Points);
    env.Tracer.TraceQuietly("got global bounding points");

    const auto minX = static_cast<float>(g.Bounds.MinX);
    const auto minY = static_cast<float>(g.Bounds.MinY);
    for (const auto& [cx, cy] : centres)
        g.Relative.push_back({PlusOffset(cx - minX, g.OffsetX), PlusOffset(cy - minY, g.OffsetY)});
    env.Tracer.TraceQuietly("got global original path points");
    return g;
}

namespace {

PathPlacement Place(DisplaySize size, const PathMarkers& markers, const SnapshotEnvironment& env) {
    return PlacePath(size.Width, size.Height, markers, env);
}

// A picture path, a random choice or a profile that fails must not end the saver's start:
// the run goes on with what was applied up to there.
template <typename Step>
void Tolerate(Step step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

SnapshotResult Snapshot(SettingsModel& model, const SnapshotEnvironment& env, EngineSettings& engine) {
    using enum SettingId;
    auto pick = [&](const std::string& current, bool randomize) {
        return env.PickRandomBackground ? env.PickRandomBackground(current, randomize) : current;
    };

    engine.RandomizeBackground = model.IsChecked(RandomizeBackground);
    if (engine.RandomizeBackground) {
        Tolerate([&] {
            std::string picture = pick(engine.BackgroundImage, true);
            model.SetText(BackgroundImage, picture);
            model.SetProfilePath(GetProfilePath(picture));
            if (env.LoadProfile) env.LoadProfile(model);
            else LoadINI(model);
        });
    }

    engine.Framerate = static_cast<uint8_t>(model.Number(Framerate));  // 1 to 100
    engine.ShowFPS = model.IsChecked(ShowFPS);
    engine.WaveFreq = model.Number(WaveFreq);
    engine.WaveDirection = model.Number(WaveDirection);
    engine.WaveCount = model.Number(WaveCount);
    engine.WaveAmp = model.Number(WaveAmp);
    engine.WaveAsc = model.Number(WaveAsc);
    engine.BackgroundImage = model.Text(BackgroundImage);
    engine.MaximizeBackground = model.IsChecked(MaximizeBackground);
    engine.SizeBackground = model.Number(SizeBackground);
    engine.RestartSec = model.Number(RestartSec);
    engine.BackgroundSound = model.Text(BackgroundSound);
    engine.LoopSound = model.IsChecked(LoopSound);
    SnapshotResult result;
    result.BackgroundColour = model.BackgroundColour();
    env.Tracer.TraceQuietly("got global settings");

    Tolerate([&] { engine.BackgroundImage = pick(engine.BackgroundImage, engine.RandomizeBackground); });

    // The desktop snapshot (no picture) and a stretched picture both cover the whole screen.
    const PathMarkers markers = model.PathAtZoomOne();
    PathPlacement geometry;
    try {
        bool proportional = !engine.MaximizeBackground && !engine.BackgroundImage.empty();
        geometry = Place(proportional ? Proportional(engine, env) : WholeScreen(env), markers, env);
    } catch (const std::exception&) {
        result.WholeScreen = true;
        try {
            geometry = Place(WholeScreen(env), markers, env);
        } catch (const std::exception&) {
            // Only a path far outside the preview or a screen beyond 16 bits gets here. One
            // point gives an empty wave area, so the run shows the still picture.
            result.PathDropped = true;
            geometry = PathPlacement{};
            geometry.Points = {PathPoint{}};
            geometry.Relative = {PathPoint{}};
        }
    }

    ApplyPlacement(std::move(geometry), engine);
    env.Tracer.TraceQuietly("SetGlobalSettings finished");
    return result;
}

}  // namespace

void ApplyPlacement(PathPlacement placement, EngineSettings& engine) {
    engine.FactorX = placement.FactorX;
    engine.FactorY = placement.FactorY;
    engine.OffsetX = placement.OffsetX;
    engine.OffsetY = placement.OffsetY;
    engine.PathPoints = std::move(placement.Points);
    engine.RelativePathPoints = std::move(placement.Relative);
    engine.BoundMinX = placement.Bounds.MinX;
    engine.BoundMinY = placement.Bounds.MinY;
    engine.BoundMaxX = placement.Bounds.MaxX;
    engine.BoundMaxY = placement.Bounds.MaxY;
}

SnapshotResult SetGlobalSettings(SettingsModel model, const SnapshotEnvironment& environment, EngineSettings& engine) {
    environment.Tracer.TraceQuietly("SetGlobalSettings started");
    environment.Tracer.TraceQuietly("SettingsForm loaded");
    return Snapshot(model, environment, engine);
}

SnapshotResult SetGlobalSettings(SettingsStore& store, const SnapshotEnvironment& environment, EngineSettings& engine) {
    environment.Tracer.TraceQuietly("SetGlobalSettings started");
    SettingsModel model;
    LoadSettings(model, store);
    environment.Tracer.TraceQuietly("SettingsForm loaded");
    return Snapshot(model, environment, engine);
}

}  // namespace lurvane
