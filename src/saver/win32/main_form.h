// The saver window: covers the screen (or the host's preview window), shows the picture the
// run hands it, carries the frame-rate label, and turns input into an end request.
#pragma once

#include <windows.h>

#include <optional>
#include <span>
#include <string>

#include "imaging/win32/dib_surface.h"
#include "saver/win32/rest_notifications.h"
#include "util/win32/base_window.h"
#include "util/win32/handles.h"

namespace lurvane::win32 {

inline constexpr wchar_t kSaverWindowTitle[] = L"LurvaneScreenSaver";

// What the window tells the run it belongs to.
class MainFormEvents {
public:
    // Whether input may end the run yet (a manual start ignores it during its notice).
    virtual bool InputArmed() const = 0;
    // A key, a mouse button or a mouse move past the threshold.
    virtual void OnInput() = 0;
    // The window is being destroyed: by Unload, or by the preview host taking its child down.
    virtual void OnFormDestroyed() = 0;
    // The display went off (false) or came back (true).
    virtual void OnDisplayChanged(bool on) = 0;
    // The session was locked (false) or unlocked (true).
    virtual void OnSessionChanged(bool unlocked) = 0;
    // The picture is about to be painted: whatever reached the screen without it goes in first.
    virtual void BeforePaint() = 0;

protected:
    ~MainFormEvents() = default;
};

class MainForm final : public BaseWindow<MainForm> {
public:
    explicit MainForm(MainFormEvents* events = nullptr) : events_(events) {}
    ~MainForm();

    // Creates the (hidden) window, a child of `host` for a preview; false when it cannot be made.
    bool Load(HWND host = nullptr);
    // Shows the window topmost over the whole primary screen, or over `area` of the virtual screen.
    void ShowFullScreen(std::optional<RECT> area = std::nullopt);
    // Destroys the window; the run learns it through OnFormDestroyed.
    void Unload();
    // Whether the window is still there to draw into: nested message loops can destroy it.
    bool Alive() const { return Window() != nullptr && !destroyed_; }

    // In a preview, mouse moves never end the run.
    void SetPreview(bool preview) { preview_ = preview; }
    // The surface that paints the window; null paints black.
    void SetPicture(const DibSurface* picture) { picture_ = picture; }
    // Copies `area` of the picture to the screen at once.
    void Present(const RECT& area) { Present(std::span<const RECT>(&area, 1)); }
    // Copies each of `areas` of the picture to the screen at once.
    void Present(std::span<const RECT> areas);
    // The same through `dc`, a device context of this window that the caller holds for a while.
    void Present(HDC dc, std::span<const RECT> areas);

    // The path's region, which ClipToPath gives the window's own device context; empty: none.
    void SetPathClip(GdiObject region);
    bool HasPathClip() const { return static_cast<bool>(pathClip_); }
    // Clips `dc`, the window's own device context, to the path. Under Wine every change of that
    // context's clip costs trips to the server (measured: a 3840 x 2160 frame took 3.7 to 5.2 ms
    // instead of 1.5 when the frame set the clip and took it away again), so the clip stays from
    // frame to frame until a paint or a present of the whole picture takes it away.
    void ClipToPath(HDC dc);

    // Shows or hides the frame-rate label; a non-empty caption replaces its text.
    void SetFpsLabel(bool visible, const std::string& caption);

    // The window's DPI, for what the run draws and places itself.
    UINT Dpi() const { return dpi_; }

    bool HasMousePositionChanged(float x, float y);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void Paint(HDC dc, const RECT& area) const;
    void Unclip(HDC dc);
    void OnMouseMove(int x, int y);
    void OnDestroy();
    void OnDpiChanged(UINT dpi);

    MainFormEvents* events_;
    std::optional<RestNotifications> restNotifications_;
    HWND fpsLabel_ = nullptr;
    GdiObject labelFont_;
    const DibSurface* picture_ = nullptr;
    GdiObject pathClip_;
    // What the own device context is clipped to: nothing, the path, or a path since replaced.
    enum class OwnDcClip { None, Path, OldPath } ownDcClip_ = OwnDcClip::None;
    UINT dpi_ = 96;
    bool preview_ = false;
    bool destroyed_ = false;
    float lastMouseX_ = 0, lastMouseY_ = 0;
};

}  // namespace lurvane::win32
