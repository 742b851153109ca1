// One animation frame of a running saver: mask on the first frame, frame-rate label, preview
// host check, wave step, compose, start notice and input arming, restart with a new picture,
// repaint, and the decision what happens next. The saver run implements FrameHost; the core
// never reads the clock or touches a window itself.
#pragma once

#include <algorithm>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "imaging/surface.h"
#include "util/trace.h"
#include "waves/engine_settings.h"
#include "waves/frame_composer.h"
#include "waves/path_mask.h"
#include "waves/wave_step.h"

namespace lurvane {

void StartWavelor(EngineSettings& engine);
void StopWavelor(EngineSettings& engine);

// What the saver window does after a frame.
enum class FrameOutcome {
    Continue,
    Stop,     // the run has ended: stop the timer and unload
    Restart,  // fade down, clear the surfaces and start again with a new picture
};

// The saver window as a frame sees it: the clock, the surfaces, the notice, the frame-rate
// label and the present.
class FrameHost {
public:
    virtual ~FrameHost() = default;
    // Seconds since midnight, with fraction.
    virtual double Now() = 0;
    // Whether the saver window still has its preview host as parent.
    virtual bool HasParent() = 0;
    // Shows or hides the frame-rate label; a non-empty caption replaces its text.
    virtual void SetFpsLabel(bool visible, const std::string& caption) = 0;
    virtual SurfaceView Visible() = 0;
    // The unshifted background of the part of the wave area on the visible surface,
    // OnScreenPart(bounds, visible width, visible height); its pixel (0, 0) is that part's corner.
    virtual SurfaceView WaveBuffer() = 0;
    // Prints `text` at the bottom left of the visible surface, white with a dark shadow.
    virtual void DrawNotice(const std::string& text) = 0;
    // Puts the clean background back into the bottom strip where the notice stands; returns
    // the visible-surface pixels it replaced.
    virtual BoundingBox EraseNoticeStrip() = 0;
    // Shows what changed inside `dirty` (visible-surface pixels, top to bottom, disjoint but
    // for a notice strip), then runs pending messages once; input handlers may call
    // StopWavelor there.
    virtual void Present(std::span<const BoundingBox> dirty) = 0;
    // Where a slice of `rows` wave rows is composed and then shown straight from, by ShowSlice:
    // as wide as the visible surface, and small enough to stay in the processor's cache, so the
    // rows go from the wave buffer through the cache to the screen and the visible surface is
    // not written at all (measured under Wine, frame_present_bench taking turns with composing
    // in place: 7 to 9 % less CPU per frame at 1920 x 1080, 14 to 20 % at 3840 x 2160). Empty
    // (the default): the rows are composed into the visible surface and presented with the
    // frame. It may lose its pixels once ShowSlice has returned.
    virtual SurfaceView SliceBuffer(int /*rows*/) { return {}; }
    // Shows `rows` (visible-surface pixels, top to bottom) of the slice just composed into
    // SliceBuffer, whose row 0 is visible row `top`, at once; runs no messages.
    virtual void ShowSlice(std::span<const BoundingBox> /*rows*/, int /*top*/) {}
    // The path's runs on the visible surface (one band per run of each row, top to bottom), for
    // ShowShiftedRows; they hold until the next call, which comes with every new mask. None: the
    // frames compose all rows.
    virtual void ClipToPath(std::span<const RowBand> /*runs*/) {}
    // Whether this frame's wave rows go to the screen through ShowShiftedRows rather than
    // composed, asked only while the host has runs to clip to. A host that can copy from the wave
    // buffer to the screen clipped to the path copies each changed row once, where composing
    // first copies it twice (measured under Wine, frame_present_bench taking turns with the slice
    // buffer: median frames of 1.3 to 1.6 ms against 2.0 to 2.5 ms at 3840 x 2160, and 0.33 to
    // 0.58 ms against 0.50 to 0.81 ms at 1920 x 1080).
    virtual bool CopiesShiftedRows() { return false; }
    // Copies each block from the wave buffer to the screen, inside the runs of ClipToPath;
    // runs no messages.
    virtual void ShowShiftedRows(std::span<const ShiftedRows> /*blocks*/) {}
};

// The texts a frame prints, in the user's language and locale.
struct FrameTexts {
    std::string Notice;               // the start notice of a manual start, without its countdown
    std::string DecimalSeparator = ".";  // of the frame-rate caption
};

// Only touching rows are merged, and none of a frame shown from the host's slice buffer.
// Measured under Wine (frame_present_bench at 1920 x 1080 and 3840 x 2160, gaps 0 to 16 and one
// band over all): the saver's CPU per frame and the X server's both grew with every gap tried. A
// blit to the window is a copy into the window's memory whose call costs less than the unchanged
// rows a merge would copy along with it.
inline constexpr int kDefaultBandGap = 0;

// The wave area is composed and shown 32 rows at a time, so that the copy into the window reads
// rows the compose has just written, from the processor's own cache, rather than the whole
// frame's rows from the shared cache or memory. Measured under Wine (frame_present_bench, whole
// frames and slices of 16 to 256 rows taking turns in one run, load average 1.4 to 2.4): 4 to 13 %
// less CPU per frame at 3840 x 2160 and 8 to 12 % at 1920 x 1080, lost in the noise when the
// machine was busier; sizes from 16 to 128 rows did alike.
inline constexpr int kDefaultSliceRows = 32;
// The rows of a path with more runs than this are composed rather than copied through a clip to
// the path, which would hold a rectangle per run (a star or an ellipse on a 3840 x 2160 screen
// has a few thousand, a path of the most points a profile holds some millions).
inline constexpr size_t kMaxClippedRuns = size_t{1} << 16;

class FrameRenderer {
public:
    FrameRenderer(EngineSettings& engine, FrameTexts texts, Trace trace = {})
        : engine_(engine), texts_(std::move(texts)), trace_(trace), step_(std::move(trace)) {}

    // The texts of the next frames: a start applies the stored language.
    void SetTexts(FrameTexts texts) { texts_ = std::move(texts); }

    // `preview` and `startedManually` are the run's own flags: a restart clears them. A
    // restart is left to the caller, who then presents the whole new picture.
    FrameOutcome RenderFrame(bool& preview, bool& startedManually, FrameHost& host);

    // Whether the first frame of the current (re)start has run; StartTime() is its time.
    bool Started() const { return started_; }
    double StartTime() const { return startTime_; }
    int FpsFrames() const { return fpsFrames_; }
    WaveStep& Step() { return step_; }

    // Brings the visible surface's wave rows back to what the screen shows, after frames that
    // showed them from the host's slice buffer: for a paint, which copies the visible surface.
    void UpdateVisible(FrameHost& host);

    // Forgets what the wave rows show, so that the next frame composes and presents all of them:
    // for whatever replaced the visible surface's pixels or the screen's, such as a display that
    // comes back on.
    void RedrawAll();
    // The next frame starts the run afresh, as a first frame: for a path the engine now holds
    // in place of the one the mask was built for. The wave phase goes on.
    void Rebuild() { started_ = false; }
    // Changed rows with at most this many unchanged rows between them are presented as one band.
    void SetBandGap(int rows) { bandGap_ = std::max(rows, 0); }
    // The wave area is composed and shown this many rows at a time (0: all at once).
    void SetSliceRows(int rows) { sliceRows_ = std::max(rows, 0); }
    // Paths of more runs than this are not clipped to (from the next start on).
    void SetMaxClippedRuns(size_t runs) { maxClippedRuns_ = runs; }

private:
    int Elapsed(FrameHost& host) const;
    std::string WithDecimalSeparator(std::string number) const;
    void Forget(const BoundingBox& replaced, int areaTop);

    EngineSettings& engine_;
    FrameTexts texts_;
    Trace trace_;
    WaveStep step_;
    PathMask mask_;
    std::vector<int32_t> shownRows_;  // per row of the mask: what it shows, see ComposeChangedRows
    std::vector<RowBand> bands_;
    std::vector<BoundingBox> dirty_;
    std::vector<BoundingBox> slice_;
    std::vector<ShiftedRows> shifted_;
    size_t maxClippedRuns_ = kMaxClippedRuns;
    bool pathClipped_ = false;  // the host has the path's runs to clip to
    int bandGap_ = kDefaultBandGap;
    int sliceRows_ = kDefaultSliceRows;
    bool visibleBehind_ = false;  // wave rows went to the screen without the visible surface
    // A flag rather than "time 0 means not yet": a run that starts exactly at midnight must
    // not rebuild its mask on the next frame.
    bool started_ = false;
    double startTime_ = 0;
    bool fpsWindowOpen_ = false;
    double fpsStart_ = 0;
    int fpsFrames_ = 0;
};

}  // namespace lurvane
