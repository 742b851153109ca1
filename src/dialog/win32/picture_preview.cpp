#include "dialog/win32/picture_preview.h"

#include <cmath>
#include <vector>

#include "util/win32/dpi.h"
#include "util/win32/handles.h"
#include "util/win32/text_convert.h"

namespace lurvane::win32 {
namespace {

constexpr wchar_t kClassName[] = L"LurvanePicturePreview";
constexpr double kTwipsPerInch = 1440;
constexpr int kBilinear = 3;

}  // namespace

SIZE PicturePreview::SizeAtDpi() const {
    const double dpi = WindowDpi(GetParent(Window()) != nullptr ? GetParent(Window()) : Window());
    return {static_cast<LONG>(std::lround(kPreviewWidthTwips * dpi / kTwipsPerInch)),
            static_cast<LONG>(std::lround(kPreviewHeightTwips * dpi / kTwipsPerInch))};
}

bool PicturePreview::Create(HWND parent, int id, POINT topLeft) {
    const double dpi = WindowDpi(parent);
    const RECT place{topLeft.x, topLeft.y,
                     topLeft.x + static_cast<LONG>(std::lround(kPreviewWidthTwips * dpi / kTwipsPerInch)),
                     topLeft.y + static_cast<LONG>(std::lround(kPreviewHeightTwips * dpi / kTwipsPerInch))};
    return CreateChild(kClassName, parent, id, place);
}

void PicturePreview::PlaceAt(POINT topLeft) {
    const SIZE size = SizeAtDpi();
    Place(RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy});
}

bool PicturePreview::Render(const std::string& path, const PathMarkers& markers) {
    wantedPath_ = path;
    markers_ = markers;
    DibSurface& surface = Surface();
    if (surface.Empty()) return true;
    const bool drawn = DrawPicture(path);
    DrawPath(markers);
    Present();
    return drawn;
}

void PicturePreview::Redraw() { Render(wantedPath_, markers_); }

bool PicturePreview::DrawPicture(const std::string& path) {
    DibSurface& surface = Surface();
    surface.Fill(GetSysColor(COLOR_APPWORKSPACE));
    if (path.empty()) return true;
    if (path != loadedPath_ || picture_ == nullptr) {
        auto picture = std::make_unique<GdiPlusPicture>(pictures_, Widen(path));
        if (picture->Loaded()) {
            picture_ = std::move(picture);
            loadedPath_ = path;
        } else {
            picture_.reset();
            loadedPath_.clear();  // the next call tries the file again
        }
    }
    if (picture_ != nullptr && picture_->DrawScaled(surface.Dc(), 0, 0, surface.Width(), surface.Height(), kBilinear))
        return true;
    // A cross from corner to corner says the picture could not be shown.
    surface.Fill(GetSysColor(COLOR_BTNFACE));
    SelectedObject pen(surface.Dc(), GetStockObject(BLACK_PEN));
    MoveToEx(surface.Dc(), 0, 0, nullptr);
    LineTo(surface.Dc(), surface.Width(), surface.Height());
    MoveToEx(surface.Dc(), surface.Width() - 1, 0, nullptr);
    LineTo(surface.Dc(), -1, surface.Height());
    return false;
}

void PicturePreview::DrawPath(const PathMarkers& markers) {
    DibSurface& surface = Surface();
    const double pixelsPerTwipX = surface.Width() / kPreviewWidthTwips;
    const double pixelsPerTwipY = surface.Height() / kPreviewHeightTwips;
    std::vector<POINT> points;
    points.reserve(markers.Count());
    for (std::size_t i = 0; i < markers.Count(); ++i) {
        const MarkerCentre centre = markers.Centre(i);
        points.push_back({static_cast<LONG>(std::nearbyint(centre.X * pixelsPerTwipX)),
                          static_cast<LONG>(std::nearbyint(centre.Y * pixelsPerTwipY))});
    }
    GdiObject hatch(CreateHatchBrush(HS_FDIAGONAL, RGB(255, 255, 255)));
    SelectedObject brush(surface.Dc(), hatch.get());
    SelectedObject pen(surface.Dc(), GetStockObject(BLACK_PEN));
    SetBkMode(surface.Dc(), TRANSPARENT);
    Polygon(surface.Dc(), points.data(), static_cast<int>(points.size()));
}

}  // namespace lurvane::win32
