// The saver window: covers the screen (or the host's preview window), owns every drawing
// surface of a run, the frame timer and the GDI+ session, and turns input into an end request.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "imaging/win32/dib_surface.h"
#include "imaging/win32/gdiplus_api.h"
#include "saver/win32/animation_timer.h"
#include "waves/engine_settings.h"

namespace lurvane::win32 {

inline constexpr wchar_t kSaverWindowTitle[] = L"LurvaneScreenSaver";

class MainForm {
public:
    MainForm();
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;
    ~MainForm();

    // Creates the (hidden) window; false when it cannot be created.
    bool Load();
    bool Loaded() const { return window_ != nullptr; }
    HWND Window() const { return window_; }

    // Shows the window over the whole screen, topmost.
    void ShowFullScreen();

    void StartScreenSaver(bool preview, bool startedManually);
    void EndScreenSaver(bool forceStop);
    bool HasMousePositionChanged(float x, float y);
    void StartAnimationTimer();
    void StopAnimationTimer();
    // Unloads the form: traces, ends the run and destroys the window, which ends the program.
    void Unload();

    AnimationTimer& Timer() { return timer_; }
    void OnAnimationTimer();

    EngineSettings& Engine() { return engine_; }
    bool PreviewMode() const { return previewMode_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void OnInput();
    void OnMouseMove(int x, int y);
    void OnDestroy();

    void CaptureDesktop();
    void PresentAll();

    HWND window_ = nullptr;
    GdiPlusSession gdiplus_;
    bool previewMode_ = false;
    bool startedManual_ = false;
    bool unloading_ = false;
    float lastMouseX_ = 0, lastMouseY_ = 0;

    AnimationTimer timer_;
    EngineSettings engine_;

    DibSurface main_;        // what the window shows
    DibSurface backBuffer_;  // clean copy of the background
    DibSurface image_;       // the prepared background image
};

}  // namespace lurvane::win32
