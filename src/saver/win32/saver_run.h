// A run of the saver in its window: the background and the wave area, the surfaces, the frame
// timer, the fades, the restart with a new picture, and what the system must be told while a
// full-screen run lasts.
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "imaging/monitor_layout.h"
#include "imaging/surface.h"
#include "program/win32/background_music.h"
#include "imaging/win32/dib_surface.h"
#include "imaging/win32/gdiplus_api.h"
#include "program/win32/program_context.h"
#include "saver/win32/hidden_cursor.h"
#include "saver/win32/main_form.h"
#include "util/win32/animation_timer.h"
#include "util/win32/handles.h"
#include "waves/engine_settings.h"
#include "waves/frame_renderer.h"

namespace lurvane::win32 {

class SaverRun final : private FrameHost, private MainFormEvents {
public:
    // Without `music` the run is silent.
    explicit SaverRun(const ProgramContext& context);
    SaverRun(const ProgramContext& context, BackgroundMusic& music);
    SaverRun(const SaverRun&) = delete;
    SaverRun& operator=(const SaverRun&) = delete;
    ~SaverRun() override;

    MainForm& Form() { return form_; }

    // The monitor this run covers when a full-screen run spans several: the run then takes its
    // size and its part of the desktop, and only the primary shows the notice and the label.
    // Without it, the run covers the primary screen.
    void SetMonitor(const MonitorArea& monitor) { monitor_ = monitor; }
    bool Secondary() const { return monitor_ && !monitor_->Primary; }

    // Tells the system that a full-screen saver runs; the end of the run undoes it.
    void EnterFullScreen();

    // Prepares the background and starts the frames; a run that cannot start unloads the form.
    void StartScreenSaver(bool preview, bool startedManually);
    // Asks the run to end at its next frame (a preview ends only when forced).
    void EndScreenSaver(bool forceStop);

    // One frame: what the frame timer calls.
    void OnAnimationTimer();
    // The frame timer, for a message loop that drives several runs.
    AnimationTimer& Timer() { return timer_; }

    // Runs the message loop, one frame whenever the timer is due, until the form is unloaded.
    int Run();

    const EngineSettings& Engine() const { return engine_; }
    // For measuring: changed rows this close together are presented as one band.
    void SetBandGap(int rows) { renderer_.SetBandGap(rows); }
    // For measuring: the rows composed and shown at a time (0: the whole frame at once).
    void SetSliceRows(int rows) { renderer_.SetSliceRows(rows); }
    // For measuring: whether the rows go to the screen through the slice buffer or the visible surface.
    void SetSliceBuffered(bool buffered) { sliceBuffered_ = buffered; }
    // For measuring: whether the rows are copied to the screen straight from the wave buffer.
    void SetCopiesShifted(bool copies) { copiesShifted_ = copies; }

    // Whether the frames wait for the display to come back (or, full screen, for the unlock).
    bool Resting() const { return displayOff_ || (locked_ && !previewMode_); }

private:
    bool PrepareBackground();
    void StartAnimationTimer();
    void StopAnimationTimer();
    void Restart();
    void TakeFadeSource(const DibSurface& picture);
    void RunFade(const std::array<int, 25>& steps);
    RECT NoticeStrip() const;
    void ShowMessage(TextId text) const;

    // MainFormEvents
    bool InputArmed() const override { return engine_.InputArmed; }
    void OnInput() override { EndScreenSaver(false); }
    void OnFormDestroyed() override;
    void OnDisplayChanged(bool on) override;
    void OnSessionChanged(bool unlocked) override;
    void BeforePaint() override { renderer_.UpdateVisible(*this); }
    void ApplyRest();

    // FrameHost
    double Now() override { return context_.Time.SecondsSinceMidnight(); }
    bool HasParent() override;
    void SetFpsLabel(bool visible, const std::string& caption) override { form_.SetFpsLabel(visible, caption); }
    SurfaceView Visible() override { return main_.View(); }
    SurfaceView WaveBuffer() override { return waveBuffer_.View(); }
    void DrawNotice(const std::string& text) override;
    BoundingBox EraseNoticeStrip() override;
    void Present(std::span<const BoundingBox> dirty) override;
    SurfaceView SliceBuffer(int rows) override;
    void ShowSlice(std::span<const BoundingBox> rows, int top) override;
    void ClipToPath(std::span<const RowBand> runs) override;
    bool CopiesShiftedRows() override;
    void ShowShiftedRows(std::span<const ShiftedRows> blocks) override;
    HDC FrameDc();

    const ProgramContext context_;  // references to the services, and the trace
    BackgroundMusic* music_ = nullptr;
    GdiPlusSession gdiplus_;
    MainForm form_{this};
    bool previewMode_ = false;
    bool startedManual_ = false;
    bool endRequested_ = false;
    bool displayOff_ = false;
    bool locked_ = false;
    int frameInterval_ = 0;  // milliseconds, once the frames have started
    std::optional<MonitorArea> monitor_;
    DWORD platformId_ = 0;
    bool sliceBuffered_ = true;
    bool copiesShifted_ = true;
    int framesDrawn_ = 0;  // by the frame timer, for the trace at the end
    double firstFrameAt_ = 0;

    AnimationTimer timer_;
    EngineSettings engine_;
    FrameRenderer renderer_;
    HiddenCursor cursor_;

    DibSurface main_;        // what the window shows
    DibSurface backBuffer_;  // clean copy of the background
    DibSurface image_;       // the prepared background image
    DibSurface waveBuffer_;  // the unshifted background of the wave area's on-screen part
    DibSurface slice_;       // a frame's wave rows on their way to the screen, a slice at a time
    PixelBuffer fadeSource_;  // the undarkened picture a fade starts from
    GdiObject noticeFont_;
    UINT noticeFontDpi_ = 0;
    RECT noticeArea_{};  // part of the visible surface the notice changed since the last present
    std::vector<RECT> presentAreas_;
    std::optional<WindowDc> frameDc_;  // the window's, from a frame's first slice to its present
};

}  // namespace lurvane::win32
