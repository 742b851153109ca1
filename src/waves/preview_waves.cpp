#include "waves/preview_waves.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "waves/settings_snapshot.h"

namespace lurvane {
namespace {

constexpr int64_t kSecondsPerDay = 86400;

// Copies the width x height rectangle at (x, y) of `from` to (toX, toY) of `to`; both lie whole
// inside their surfaces.
void CopyRect(SurfaceView from, int x, int y, SurfaceView to, int toX, int toY, int width, int height) {
    for (int row = 0; row < height; ++row)
        std::memcpy(to.Row(toY + row) + toX, from.Row(y + row) + x, static_cast<size_t>(width) * sizeof(uint32_t));
}

}  // namespace

PreviewWaves::PreviewWaves() : renderer_(engine_, FrameTexts{}) {
    // A preview run never restarts, never shows the frame rate and never stops by itself.
    engine_.RestartSec = 0;
    StartWavelor(engine_);
}

// The renderer's clock only paces its frame-rate caption, which a preview never shows: a
// second per frame keeps its counts small however long the dialog stays open.
double PreviewWaves::Now() { return static_cast<double>(frames_ % kSecondsPerDay); }

void PreviewWaves::SetPicture(SurfaceView picture) {
    picture_ = picture;
    drawn_ = false;
    PlaceWantedPath();
}

void PreviewWaves::SetPath(const PathMarkers& atZoomOne, double twipsPerPixel) {
    if (twipsPerPixel == wantedTwipsPerPixel_ && atZoomOne.Positions() == wanted_.Positions()) return;
    wanted_ = atZoomOne;
    wantedTwipsPerPixel_ = twipsPerPixel;
    pending_ = twipsPerPixel != twipsPerPixel_ || atZoomOne.Positions() != markers_.Positions();
}

void PreviewWaves::SetRows(int top, int bottom) {
    wantedTop_ = top;
    wantedBottom_ = bottom;
}

std::pair<int, int> PreviewWaves::Band() const {
    // A row shows a source row at most the amplitude away, and only from inside the wave area.
    const int64_t margin = std::abs(int64_t{engine_.WaveAmp}) + 1;
    return {static_cast<int>(std::clamp<int64_t>(wantedTop_ - margin, 0, picture_.Height)),
            static_cast<int>(std::clamp<int64_t>(wantedBottom_ + margin, 0, picture_.Height))};
}

void PreviewWaves::SetShape(const WaveShape& shape) {
    engine_.WaveFreq = shape.Freq;
    engine_.WaveDirection = shape.Direction;
    engine_.WaveCount = shape.Count;
    engine_.WaveAmp = shape.Amp;
    engine_.WaveAsc = shape.AscPercent;
}

void PreviewWaves::PlaceWantedPath() {
    markers_ = wanted_;
    twipsPerPixel_ = wantedTwipsPerPixel_;
    pending_ = false;
    Place();
}

// The saver's placement on a screen the size of the picture, which the picture fills.
void PreviewWaves::Place() {
    PathPlacement placed;  // without a place the area is empty and the picture stays still
    if (!picture_.Empty() && twipsPerPixel_ > 0) {
        SnapshotEnvironment screen;
        screen.ScreenWidth = picture_.Width;
        screen.ScreenHeight = picture_.Height;
        screen.TwipsPerPixelX = screen.TwipsPerPixelY = twipsPerPixel_;
        try {
            placed = PlacePath(static_cast<int16_t>(std::min(picture_.Width, 32767)),
                               static_cast<int16_t>(std::min(picture_.Height, 32767)), markers_, screen);
        } catch (const std::exception&) {
            placed = PathPlacement{};
        }
    }
    points_ = placed.Points;
    area_ = placed.Bounds;
    ApplyPlacement(std::move(placed), engine_);
    // The band plays the whole screen: the path moves up with it, as an offset would move it.
    const auto [top, bottom] = Band();
    bandTop_ = top;
    band_ = picture_.Empty() ? SurfaceView{} : SurfaceView{picture_.Row(top), picture_.Width, bottom - top};
    for (PathPoint& point : engine_.PathPoints) point.Y -= top;
    engine_.BoundMinY = static_cast<int16_t>(area_.MinY - top);
    engine_.BoundMaxY = static_cast<int16_t>(area_.MaxY - top);
    TakeWaveBuffer();
    renderer_.Rebuild();
}

// As a saver start fills its wave buffer: the clean pixels of the area's part on the screen.
void PreviewWaves::TakeWaveBuffer() {
    const BoundingBox area = engine_.Bounds();
    part_ = band_.Empty() ? AreaPart{} : OnScreenPart(area, band_.Width, band_.Height);
    waveBuffer_.Resize(part_.Width(), part_.Height());
    if (!part_.Empty())
        CopyRect(band_, area.MinX + part_.Left, area.MinY + part_.Top, waveBuffer_.View(), 0, 0, part_.Width(),
                 part_.Height());
}

std::span<const BoundingBox> PreviewWaves::Frame() {
    dirty_.clear();
    if (picture_.Empty()) return {};
    BoundingBox restored;
    if (pending_ || Band() != std::pair{bandTop_, bandTop_ + band_.Height}) {
        restored = Restored();
        PlaceWantedPath();
    }
    bool preview = false;
    bool startedManually = false;
    renderer_.RenderFrame(preview, startedManually, *this);
    for (BoundingBox& box : dirty_) {
        box.MinY = static_cast<int16_t>(box.MinY + bandTop_);
        box.MaxY = static_cast<int16_t>(box.MaxY + bandTop_);
    }
    if (restored.Width() > 0) dirty_.push_back(restored);
    ++frames_;
    drawn_ = drawn_ || !dirty_.empty();
    return dirty_;
}

void PreviewWaves::Restore() { Restored(); }

BoundingBox PreviewWaves::Restored() {
    BoundingBox box;
    if (drawn_ && !part_.Empty()) {
        const BoundingBox area = engine_.Bounds();
        const int left = area.MinX + part_.Left, top = area.MinY + part_.Top;
        CopyRect(waveBuffer_.View(), 0, 0, band_, left, top, part_.Width(), part_.Height());
        box = {static_cast<int16_t>(left), static_cast<int16_t>(top + bandTop_),
               static_cast<int16_t>(left + part_.Width()), static_cast<int16_t>(top + bandTop_ + part_.Height())};
    }
    drawn_ = false;
    renderer_.RedrawAll();
    return box;
}

}  // namespace lurvane
