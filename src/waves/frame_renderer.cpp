#include "waves/frame_renderer.h"

#include <algorithm>
#include <cmath>

#include "util/text_rules.h"
#include "util/trace.h"
#include "waves/bounding_box.h"
#include "waves/frame_composer.h"

namespace lurvane {
namespace {

constexpr double kSecondsPerDay = 86400.0;
constexpr int kNoticeSeconds = 5;
constexpr int kNoticeStripHeight = 30;  // the notice prints 30 rows above the bottom

// `now` continued past midnight when it has wrapped below `since`; a run never lasts a day.
double Unwrapped(double since, double now) { return now < since ? now + kSecondsPerDay : now; }

double SecondsSince(double since, double now) { return Unwrapped(since, now) - since; }

int64_t WholeSecond(double seconds) { return static_cast<int64_t>(std::nearbyint(seconds)); }

int16_t Clamp16(int64_t value) { return static_cast<int16_t>(std::clamp<int64_t>(value, -32768, 32767)); }

BoundingBox Clipped(int64_t x0, int64_t y0, int64_t x1, int64_t y1, const SurfaceView& surface) {
    return {Clamp16(std::clamp<int64_t>(x0, 0, surface.Width)), Clamp16(std::clamp<int64_t>(y0, 0, surface.Height)),
            Clamp16(std::clamp<int64_t>(x1, 0, surface.Width)), Clamp16(std::clamp<int64_t>(y1, 0, surface.Height))};
}

}  // namespace

void StartWavelor(EngineSettings& engine) { engine.WavesRunning = true; }
void StopWavelor(EngineSettings& engine) { engine.WavesRunning = false; }

std::string FrameRenderer::WithDecimalSeparator(std::string number) const {
    const size_t point = number.find('.');
    if (point != std::string::npos) number.replace(point, 1, texts_.DecimalSeparator);
    return number;
}

int FrameRenderer::Elapsed(FrameHost& host) const {
    const double now = Unwrapped(startTime_, host.Now());
    return static_cast<int>(WholeSecond(now) - WholeSecond(startTime_));
}

void FrameRenderer::UpdateVisible(FrameHost& host) {
    if (!started_ || !visibleBehind_) return;
    const BoundingBox area = engine_.Bounds();
    ComposeShownRows(mask_, host.WaveBuffer(), host.Visible(), area.MinX, area.MinY, shownRows_);
    visibleBehind_ = false;
}

void FrameRenderer::RedrawAll() { shownRows_.assign(static_cast<size_t>(mask_.Height()), kRowNotShown); }

// The rows of the mask that `replaced` (visible-surface pixels) covers show something else now.
void FrameRenderer::Forget(const BoundingBox& replaced, int areaTop) {
    if (replaced.Width() <= 0 || replaced.Height() <= 0) return;
    const int64_t top = int64_t{areaTop} + mask_.Part().Top;  // visible row of mask row 0
    const int64_t first = std::max<int64_t>(replaced.MinY - top, 0);
    const int64_t end = std::min<int64_t>(replaced.MaxY - top, static_cast<int64_t>(shownRows_.size()));
    for (int64_t y = first; y < end; ++y) shownRows_[static_cast<size_t>(y)] = kRowNotShown;
}

FrameOutcome FrameRenderer::RenderFrame(bool& preview, bool& startedManually, FrameHost& host) {
    const BoundingBox area = engine_.Bounds();
    // The rows the wave table spans; an area without pixels has none, so its wave step fails.
    const int areaRows = area.Width() > 0 && area.Height() > 0 ? area.Height() : 0;

    if (!started_) {
        const SurfaceView screen = host.Visible();
        mask_.Build(engine_.RelativePathPoints, area.Width(), area.Height(),
                    OnScreenPart(area, screen.Width, screen.Height));
        step_.ResetRows();
        RedrawAll();
        std::vector<RowBand> runs;
        if (mask_.RunCount() <= maxClippedRuns_)
            PlacedRuns(mask_, host.WaveBuffer(), screen, area.MinX, area.MinY, runs);
        host.ClipToPath(runs);
        pathClipped_ = !runs.empty();
        startTime_ = host.Now();
        started_ = true;
    }

    std::string caption;
    const double now = host.Now();
    if (!fpsWindowOpen_) {
        fpsStart_ = now;
        fpsWindowOpen_ = true;
    }
    ++fpsFrames_;
    if (SecondsSince(fpsStart_, now) >= 2.0) {
        if (engine_.ShowFPS) caption = "Framerate:" + WithDecimalSeparator(NumberText(fpsFrames_ / 2.0)) + "fps";
        fpsStart_ = now;
        fpsFrames_ = 0;
    }
    host.SetFpsLabel(engine_.ShowFPS, caption);

    if (preview && !host.HasParent()) {
        trace_.TraceQuietly("no parent: StopWavelor");
        StopWavelor(engine_);
    }

    const SurfaceView waveBuffer = host.WaveBuffer();
    const SurfaceView visible = host.Visible();
    step_.Run(engine_, areaRows);
    dirty_.clear();
    const int64_t sliceRows = sliceRows_ > 0 ? sliceRows_ : std::max(mask_.Height(), 1);
    const int elapsed = Elapsed(host);
    // A notice is erased and drawn on the visible surface and presented from there, strip and
    // all: while it stands, the rows are composed there too.
    const bool noticeStands = startedManually && elapsed < kNoticeSeconds + 1;
    const int64_t partTop = int64_t{area.MinY} + mask_.Part().Top;  // the visible row of the mask's row 0
    // The rows left over (those whose source lies off the screen) are composed below.
    bool composeRows = true;
    if (pathClipped_ && !noticeStands && host.CopiesShiftedRows()) {
        composeRows = TakeShiftedRows(mask_, step_.Rows(), waveBuffer, visible, area.MinX, area.MinY, shownRows_,
                                      shifted_);
        if (!shifted_.empty()) {
            host.ShowShiftedRows(shifted_);
            visibleBehind_ = true;
        }
    }
    for (int64_t first = 0; composeRows && first < mask_.Height(); first += sliceRows) {
        // The slice's rows that lie on the visible surface.
        const int64_t top = std::max<int64_t>(partTop + first, 0);
        const int64_t bottom =
            std::min<int64_t>({partTop + first + sliceRows, partTop + mask_.Height(), visible.Height});
        if (top >= bottom) continue;
        const PartRows rows{top - partTop, bottom - partTop};
        const SurfaceView slice = noticeStands ? SurfaceView{} : host.SliceBuffer(static_cast<int>(bottom - top));
        slice_.clear();
        if (slice.Empty() || slice.Width != visible.Width || slice.Height < bottom - top) {
            ComposeChangedRows(mask_, step_.Rows(), waveBuffer, visible, area.MinX, area.MinY, shownRows_, bandGap_,
                               bands_, rows);
            for (const RowBand& band : bands_)
                dirty_.push_back(Clipped(band.Left, band.Top, band.Right, band.Bottom, visible));
            continue;
        }
        // Not merged: a row a merge took along would show the slice's unwritten pixels.
        ComposeChangedRows(mask_, step_.Rows(), waveBuffer, slice, area.MinX, static_cast<int>(area.MinY - top),
                           shownRows_, 0, bands_, rows);
        if (bands_.empty()) continue;
        for (RowBand& band : bands_) {
            band.Top += static_cast<int>(top);
            band.Bottom += static_cast<int>(top);
            slice_.push_back(Clipped(band.Left, band.Top, band.Right, band.Bottom, visible));
        }
        FillAroundRuns(mask_, waveBuffer, visible, slice, area.MinX, area.MinY, static_cast<int>(top), bands_);
        host.ShowSlice(slice_, static_cast<int>(top));
        visibleBehind_ = true;
    }

    const BoundingBox noticeStrip = Clipped(0, int64_t{visible.Height} - kNoticeStripHeight, visible.Width,
                                            visible.Height, visible);
    if (startedManually && elapsed < kNoticeSeconds) {
        Forget(host.EraseNoticeStrip(), area.MinY);
        // One reading of the clock for the text: the shadow and the text must show the same digits.
        const double noticeNow = Unwrapped(startTime_, host.Now());
        const int64_t remaining = WholeSecond(startTime_ + kNoticeSeconds) - WholeSecond(noticeNow);
        host.DrawNotice(texts_.Notice + " (" + std::to_string(remaining) + ")");
        dirty_.push_back(noticeStrip);
    } else if (noticeStands) {
        Forget(host.EraseNoticeStrip(), area.MinY);
        dirty_.push_back(noticeStrip);
    } else if (engine_.RestartSec > 0 && elapsed > engine_.RestartSec && engine_.RandomizeBackground) {
        started_ = false;
        engine_.BackgroundImage.clear();  // the next start picks a new random picture
        preview = false;
        startedManually = false;
        return FrameOutcome::Restart;
    } else {
        engine_.InputArmed = true;
    }

    host.Present(dirty_);

    // A manual start cannot be stopped during its notice: a stop request then is undone.
    if (startedManually && !engine_.WavesRunning) engine_.WavesRunning = Elapsed(host) < kNoticeSeconds;
    return engine_.WavesRunning ? FrameOutcome::Continue : FrameOutcome::Stop;
}

}  // namespace lurvane
