// The saver window: covers the screen (or the host's preview window), owns every drawing
// surface of a run, the frame timer and the GDI+ session, and turns input into an end request.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "imaging/win32/dib_surface.h"
#include "imaging/win32/gdiplus_api.h"
#include "util/win32/animation_timer.h"
#include "util/win32/handles.h"
#include "waves/engine_settings.h"
#include "waves/frame_renderer.h"

namespace lurvane::win32 {

inline constexpr wchar_t kSaverWindowTitle[] = L"LurvaneScreenSaver";

class MainForm final : private FrameHost {
public:
    MainForm();
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;
    ~MainForm() override;

    // Creates the (hidden) window, a child of `host` for a preview; false when it cannot be made.
    bool Load(HWND host = nullptr);
    HWND Window() const { return window_; }

    // Shows the window over the whole screen, topmost.
    void ShowFullScreen();

    void StartScreenSaver(bool preview, bool startedManually) override;
    void EndScreenSaver(bool forceStop);
    bool HasMousePositionChanged(float x, float y);
    void StartAnimationTimer();
    void StopAnimationTimer() override;
    void StartFadeDown() override;
    void StartFadeUp();
    // Unloads the form: the window goes, the run ends and with it the program.
    void Unload();

    // Runs the message loop, one frame whenever the timer is due, until the form is unloaded.
    int Run();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void OnMouseMove(int x, int y);
    void OnDestroy();
    void OnAnimationTimer();

    bool PrepareBackground();
    void TakeFadeSource(const DibSurface& picture);
    void RunFade(const std::array<int, 25>& steps);
    void BlitToWindow(const RECT& area);
    void TraceWindowPlacement();

    // FrameHost
    double Now() override;
    bool HasParent() override;
    void SetFpsLabel(bool visible, const std::string& caption) override;
    SurfaceView Visible() override { return main_.View(); }
    SurfaceView WaveBuffer() override { return waveBuffer_.View(); }
    std::string NoticeText() override;
    void DrawNotice(const std::string& text) override;
    void EraseNoticeStrip() override;
    void HideCursor() override;
    void DisableTimer() override;
    void ClearSurfaces() override;
    void Present(const BoundingBox& dirty) override;

    HWND window_ = nullptr;
    HWND fpsLabel_ = nullptr;
    GdiPlusSession gdiplus_;
    bool previewMode_ = false;
    bool startedManual_ = false;
    bool destroyed_ = false;
    bool endRequested_ = false;
    float lastMouseX_ = 0, lastMouseY_ = 0;

    AnimationTimer timer_;
    EngineSettings engine_;
    FrameRenderer renderer_{engine_};

    DibSurface main_;        // what the window shows
    DibSurface backBuffer_;  // clean copy of the background
    DibSurface image_;       // the prepared background image
    DibSurface waveBuffer_;  // the unshifted background inside the path's bounding box
    PixelBuffer fadeSource_;  // the undarkened picture a fade starts from
    GdiObject noticeFont_;
    RECT noticeArea_{};  // part of the visible surface the notice changed since the last present
};

}  // namespace lurvane::win32
