// The background picture preview (PictureScrollable with PictureBackgroundImagePreview): the
// chosen picture stretched over the whole area, and the path drawn over it as a hatched
// polygon through the marker centres. The area stands for the saver's whole picture; its size
// is 4995 x 3735 twips at every DPI.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "dialog/win32/surface_window.h"
#include "imaging/win32/gdiplus_api.h"
#include "settings/path_markers.h"

namespace lurvane::win32 {

class PicturePreview final : public SurfaceWindow<PicturePreview> {
public:
    explicit PicturePreview(const GdiPlus& pictures) : pictures_(pictures) {}

    bool Create(HWND parent, int id, POINT topLeft);
    // Keeps the top-left corner and takes the size the preview has at the window's DPI.
    void PlaceAt(POINT topLeft);

    // Draws the picture at `path` (read only when the path changed since the last success) and
    // the path over it; false when the picture cannot be read, which shows a cross instead.
    bool Render(const std::string& path, const PathMarkers& markers);

    void Redraw();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        return HandleSurfaceMessage(message, wParam, lParam);
    }

private:
    SIZE SizeAtDpi() const;
    bool DrawPicture(const std::string& path);
    void DrawPath(const PathMarkers& markers);

    const GdiPlus& pictures_;
    std::unique_ptr<GdiPlusPicture> picture_;
    std::string loadedPath_;
    std::string wantedPath_;
    PathMarkers markers_;
};

}  // namespace lurvane::win32
