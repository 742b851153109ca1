// The background picture preview (PictureScrollable): a viewport of 4995 x 3735 twips at every
// DPI, under which the preview picture (PictureBackgroundImagePreview) lies, the zoom factor
// times as large and shifted by the scroll bars. The picture is stretched over the preview
// picture, the saver's waves run over it inside the path, or the path is drawn over it as a
// hatched polygon through the marker centres; every marker is a small square button on it. Pointer actions on the markers and on the
// picture go to the owner, in twips of the preview picture. The preview is one tab stop: with
// the focus its keys go to the owner, and the selected marker is drawn so that it stands out.
// The preview and each marker carry a name for screen readers.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialog/win32/surface_window.h"
#include "imaging/win32/gdiplus_api.h"
#include "settings/path_markers.h"
#include "waves/preview_waves.h"

namespace lurvane::win32 {

// Where the preview picture lies under the viewport, in twips.
struct PreviewPlacement {
    double Zoom = 1;
    double Left = 0;  // 0 or negative: the preview picture's corner in the viewport
    double Top = 0;
    friend bool operator==(const PreviewPlacement&, const PreviewPlacement&) = default;
};

struct PreviewPointer {
    enum class Action { Press, Move, Release };
    Action What = Action::Move;
    bool RightButton = false;  // which button was pressed or released
    bool LeftHeld = false;     // the left button is down (during moves)
    bool Inside = false;       // the pointer is over the viewport
    bool OnMarker = false;
    std::size_t Marker = 0;
    double X = 0;  // twips of the preview picture
    double Y = 0;
};

class PicturePreview final : public SurfaceWindow<PicturePreview> {
public:
    using PointerHandler = std::function<void(const PreviewPointer&)>;
    // A key pressed while the preview has the focus; or, with 0, the preview just got the focus.
    using KeyHandler = std::function<void(UINT key)>;

    PicturePreview(const GdiPlus& pictures, PointerHandler onPointer, KeyHandler onKey)
        : pictures_(pictures), onPointer_(std::move(onPointer)), onKey_(std::move(onKey)) {}

    bool Create(HWND parent, int id, POINT topLeft);
    // Keeps the top-left corner and takes the size the viewport has at the window's DPI.
    void PlaceAt(POINT topLeft);

    // Draws the picture at `path` (read only when the path changed since the last success),
    // the path over it and the markers where the path has them; false when the picture cannot
    // be read, which shows a cross instead.
    bool Render(const std::string& path, const PathMarkers& markers);
    // Redraws with the markers moved; the picture is not read again.
    void ShowMarkers(const PathMarkers& markers);
    void SetPlacement(const PreviewPlacement& placement) { placement_ = placement; }
    void SetMarkersShown(bool shown) { markersShown_ = shown; }
    // The pointer over the picture itself; null for the arrow.
    void SetPointerShape(HCURSOR cursor) { cursor_ = cursor; }
    // The marker drawn as selected while the preview has the focus.
    void Select(std::size_t marker);
    // Names the preview and its markers in `language`.
    void SetLanguage(int32_t language);

    // Live waves inside the path (the default) or the hatched polygon.
    void ShowWaves(bool shown);
    // The next frame of the live waves, in `shape`; nothing while they are off or the picture
    // cannot be shown.
    void AnimateWaves(const WaveShape& shape);

    void Redraw();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // One pixel of the preview at its window's DPI.
    double TwipsPerPixel() const;

private:
    static LRESULT CALLBACK MarkerProc(HWND marker, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR self);
    int ToPixels(double twips) const;
    void Compose();
    void DrawPicture(DibSurface& layer);
    // Makes `scaled_` the picture, or the stand-in without one, at `width` x `height`; false
    // when it cannot.
    bool ScalePicture(int width, int height);
    bool LiveWaves() const { return wavesShown_ && pictureDrawn_ && !scaledKey_.empty(); }
    void DrawPath(bool hatched);
    void PlaceMarkers();
    void DestroyMarkers();
    void NameMarkers();
    void DrawMarker(const DRAWITEMSTRUCT& item) const;
    void Report(HWND from, PreviewPointer::Action what, bool right, WPARAM keys, LPARAM at);

    const GdiPlus& pictures_;
    PointerHandler onPointer_;
    KeyHandler onKey_;
    std::unique_ptr<GdiPlusPicture> picture_;
    std::string loadedPath_;
    SIZE loadedFor_{};  // the size the picture was decoded for
    std::string wantedPath_;
    bool pictureDrawn_ = true;
    PathMarkers markers_;
    PreviewPlacement placement_;
    bool markersShown_ = true;
    HCURSOR cursor_ = nullptr;
    std::size_t selected_ = 0;
    int32_t language_ = 0;
    // The count and language the markers' names were last given for.
    std::size_t namedCount_ = 0;
    int32_t namedLanguage_ = -1;
    // The picture as last drawn for the viewport, kept so that moving a marker only redraws
    // the polygon over it; `layerKey_` says for which picture, size and placement it stands.
    struct LayerKey {
        std::string Path;
        int Width = 0, Height = 0;
        double Zoom = 1;
        int Left = 0, Top = 0;  // pixels
        friend bool operator==(const LayerKey&, const LayerKey&) = default;
    };
    DibSurface layer_;
    std::optional<LayerKey> layerKey_;
    // The picture scaled to the whole preview picture at its zoom, and for which size. The
    // live waves run in its pixels; the clean picture stays in the waves' own buffer.
    DibSurface scaled_;
    std::string scaledKey_;
    PreviewWaves waves_;
    bool wavesShown_ = true;
    std::vector<POINT> outline_;  // kept, so that a frame allocates nothing
    std::vector<RECT> parts_;     // the viewport's rows a frame changed, likewise
    // Child windows of this one: the system destroys them with it.
    std::vector<HWND> markerWindows_;
};

}  // namespace lurvane::win32
