// The settings snapshot taken at every start of the saver: the stored settings (and, with
// random backgrounds, the profile of a random picture) copied into the engine record, plus the
// screen geometry: where the picture is displayed, the scale from the dialog's preview to
// screen pixels, the path in screen pixels, its bounding box and the path relative to it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "settings/path_markers.h"
#include "settings/settings_model.h"
#include "settings/settings_store.h"
#include "util/trace.h"
#include "waves/engine_settings.h"

namespace lurvane {

struct PictureSize {
    int32_t Width = 0;
    int32_t Height = 0;
};

struct SnapshotEnvironment {
    // Size of the saver's visible surface in pixels: the screen, or the host's preview window.
    double ScreenWidth = 0;
    double ScreenHeight = 0;
    double TwipsPerPixelX = 15;
    double TwipsPerPixelY = 15;

    // The size of the picture file, or nothing when it cannot be loaded.
    std::function<std::optional<PictureSize>(const std::string& path)> LoadPicture;

    // The random background choice for (current picture, random backgrounds on).
    std::function<std::string(const std::string& backgroundImage, bool randomize)> PickRandomBackground;

    // Loads the profile named by the model's profile path into the model; LoadINI when empty.
    std::function<void(SettingsModel&)> LoadProfile;

    Trace Tracer;
};

struct SnapshotResult {
    uint32_t BackgroundColour = 0;  // 0x00BBGGRR, or a system colour index with the top bit set
    bool WholeScreen = false;       // the geometry fell back to the whole screen
    bool PathDropped = false;       // even the whole screen gave no usable path: one point at 0,0
};

// Where the path lies on the environment's screen when the picture is displayed there at
// `width` x `height` pixels, centred: the scale from the preview, the offsets, the path in screen
// pixels, its bounding box and the path relative to that box. Fails with RangeError when a
// value leaves 16 bits.
struct PathPlacement {
    float FactorX = 0, FactorY = 0;
    int16_t OffsetX = 0, OffsetY = 0;
    std::vector<PathPoint> Points;
    std::vector<PathPoint> Relative;
    BoundingBox Bounds;
};
PathPlacement PlacePath(int16_t width, int16_t height, const PathMarkers& atZoomOne, const SnapshotEnvironment& env);
// Gives the engine the placement's scale, offsets, path and wave area.
void ApplyPlacement(PathPlacement placement, EngineSettings& engine);

// Fills `engine` from `model` (taken by value: the random profile changes only this copy).
// The engine's current BackgroundImage is the random choice's starting point, as a restart
// clears it first. Run flags and the wave table are left alone.
SnapshotResult SetGlobalSettings(SettingsModel model, const SnapshotEnvironment& environment, EngineSettings& engine);

// The saver's call: a fresh model loaded from the store, then the snapshot above.
SnapshotResult SetGlobalSettings(SettingsStore& store, const SnapshotEnvironment& environment, EngineSettings& engine);

}  // namespace lurvane
