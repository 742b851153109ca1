// The saver's waves on the settings dialog's picture preview. The preview picture at its zoom
// plays the screen of a saver run that shows the picture stretched over it: the path is placed
// on it by the saver's own placement, and every frame is the saver's frame renderer drawing
// into the preview picture's pixels. Only the host around the renderer is the preview's.
#pragma once

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "imaging/surface.h"
#include "settings/path_markers.h"
#include "waves/bounding_box.h"
#include "waves/engine_settings.h"
#include "waves/frame_renderer.h"

namespace lurvane {

struct WaveShape {
    int32_t Freq = 0;
    int32_t Direction = 0;
    int32_t Count = 0;
    int32_t Amp = 0;
    int32_t AscPercent = 0;
    friend bool operator==(const WaveShape&, const WaveShape&) = default;
};

class PreviewWaves final : private FrameHost {
public:
    PreviewWaves();
    PreviewWaves(const PreviewWaves&) = delete;
    PreviewWaves& operator=(const PreviewWaves&) = delete;

    // The pixels the waves run over: the whole preview picture at its zoom, drawn afresh just
    // now. The caller keeps them alive and calls again whenever it redraws or replaces them.
    void SetPicture(SurfaceView picture);
    // The path, markers at zoom one, on a preview of `twipsPerPixel`, from the next frame on:
    // a drag moves a marker many times a frame, and only the last place is waved. Where the
    // old path waved, that frame brings the clean picture back first.
    void SetPath(const PathMarkers& atZoomOne, double twipsPerPixel);
    // A path is waiting for the next frame.
    bool PathPending() const { return pending_; }
    // Only picture rows `top` to `bottom` - 1 must show the saver's frame, those the preview
    // shows when zoomed: the frames then work on them and on as many rows around them as a
    // wave can shift, and leave the rest clean. All rows until told otherwise.
    void SetRows(int top, int bottom);
    // The wave settings from the next frame on.
    void SetShape(const WaveShape& shape);

    // One frame drawn into the picture; boxes of the picture pixels it changed. Allocates
    // nothing but when it takes up a new path.
    std::span<const BoundingBox> Frame();
    // Puts the clean picture back wherever a frame drew; the next frame draws everything anew.
    void Restore();

    // The wave area in picture pixels (empty when the path has no area on the picture), and the
    // path in picture pixels as the saver places it (empty when it has no place); both for the
    // path the frames wave.
    BoundingBox Area() const { return area_; }
    std::span<const PathPoint> Path() const { return points_; }
    WaveStep& Step() { return renderer_.Step(); }

private:
    double Now() override;
    bool HasParent() override { return true; }
    void SetFpsLabel(bool, const std::string&) override {}
    // The rows the frames work on, as the saver's screen.
    SurfaceView Visible() override { return band_; }
    SurfaceView WaveBuffer() override { return waveBuffer_.View(); }
    void DrawNotice(const std::string&) override {}
    BoundingBox EraseNoticeStrip() override { return {}; }
    void Present(std::span<const BoundingBox> dirty) override { dirty_.assign(dirty.begin(), dirty.end()); }

    // The path waiting for the next frame becomes the one the frames wave.
    void PlaceWantedPath();
    void Place();
    // Rows of the picture the frames work on for the rows wanted and the amplitude.
    std::pair<int, int> Band() const;
    void TakeWaveBuffer();
    // The picture rows Restore() put back, or an empty box.
    BoundingBox Restored();

    EngineSettings engine_;
    FrameRenderer renderer_;
    SurfaceView picture_;
    PathMarkers markers_;  // the path the frames wave
    double twipsPerPixel_ = 0;
    PathMarkers wanted_;  // the path the next frame waves
    double wantedTwipsPerPixel_ = 0;
    bool pending_ = false;
    int wantedTop_ = 0, wantedBottom_ = INT32_MAX;
    SurfaceView band_;  // picture rows bandTop_ on, with the path moved up by as many
    int bandTop_ = 0;
    BoundingBox area_;                // the wave area in picture rows
    std::vector<PathPoint> points_;   // the path in picture rows
    AreaPart part_;           // the part of the wave area on the picture
    PixelBuffer waveBuffer_;  // the clean picture of that part
    bool drawn_ = false;      // a frame drew into the picture since it was clean
    int64_t frames_ = 0;
    std::vector<BoundingBox> dirty_;
};

}  // namespace lurvane
