#include "dialog/win32/picture_preview.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <span>

#include "dialog/path_editor_names.h"
#include "imaging/win32/picture_file.h"
#include "resource.h"
#include "settings/settings_model.h"
#include "util/win32/dpi.h"
#include "util/win32/handles.h"
#include "util/win32/text_convert.h"

namespace lurvane::win32 {
namespace {

constexpr wchar_t kClassName[] = L"LurvanePicturePreview";
constexpr double kTwipsPerInch = 1440;
constexpr int kBilinear = 3;
constexpr UINT_PTR kMarkerSubclass = 1;

// The viewport's place at `topLeft`, in pixels at `dpi`.
RECT ViewportAt(POINT topLeft, UINT dpi) {
    const double pixelsPerTwip = dpi / kTwipsPerInch;
    return {topLeft.x, topLeft.y, topLeft.x + static_cast<LONG>(std::lround(kPreviewWidthTwips * pixelsPerTwip)),
            topLeft.y + static_cast<LONG>(std::lround(kPreviewHeightTwips * pixelsPerTwip))};
}

}  // namespace

double PicturePreview::TwipsPerPixel() const { return kTwipsPerInch / WindowDpi(GetParent(Window())); }

// Halves go to even, as every conversion to whole numbers in the program does.
int PicturePreview::ToPixels(double twips) const { return static_cast<int>(std::nearbyint(twips / TwipsPerPixel())); }

bool PicturePreview::Create(HWND parent, int id, POINT topLeft) {
    return CreateChild(kClassName, parent, id, ViewportAt(topLeft, WindowDpi(parent)), WS_CLIPCHILDREN | WS_TABSTOP);
}

void PicturePreview::Select(std::size_t marker) {
    const std::size_t before = selected_;
    selected_ = marker;
    for (std::size_t index : {before, marker})
        if (index < markerWindows_.size()) InvalidateRect(markerWindows_[index], nullptr, FALSE);
}

void PicturePreview::SetLanguage(int32_t language) {
    language_ = language;
    if (Window() != nullptr) SetWindowTextW(Window(), Widen(PathEditorName(language)).c_str());
    NameMarkers();
}

void PicturePreview::NameMarkers() {
    if (namedCount_ == markerWindows_.size() && namedLanguage_ == language_) return;
    for (std::size_t i = 0; i < markerWindows_.size(); ++i)
        SetWindowTextW(markerWindows_[i], Widen(MarkerName(language_, i, markerWindows_.size())).c_str());
    namedCount_ = markerWindows_.size();
    namedLanguage_ = language_;
}

void PicturePreview::DrawMarker(const DRAWITEMSTRUCT& item) const {
    // A push button's face; the selected marker is filled with the selection colour while the
    // preview has the focus, and shows the focus rectangle when the keyboard cues are on.
    RECT face = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    DrawFrameControl(item.hDC, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    const std::size_t index = static_cast<std::size_t>(item.CtlID - IDC_CMDPATH);
    if (index != selected_ || GetFocus() != Window()) return;
    RECT inside = item.rcItem;
    InflateRect(&inside, -2, -2);
    FillRect(item.hDC, &inside, GetSysColorBrush(COLOR_HIGHLIGHT));
    const auto cues = SendMessageW(Window(), WM_QUERYUISTATE, 0, 0);
    if ((cues & UISF_HIDEFOCUS) == 0) {
        RECT outline = item.rcItem;
        InflateRect(&outline, -1, -1);
        DrawFocusRect(item.hDC, &outline);
    }
}

void PicturePreview::PlaceAt(POINT topLeft) {
    Place(ViewportAt(topLeft, WindowDpi(GetParent(Window()))));
    Redraw();  // the markers' pixel size follows the DPI too
}

bool PicturePreview::Render(const std::string& path, const PathMarkers& markers) {
    wantedPath_ = path;
    if (path != loadedPath_) layerKey_.reset();  // a picture that failed is tried again
    markers_ = markers;
    Compose();
    return pictureDrawn_;
}

void PicturePreview::ShowMarkers(const PathMarkers& markers) {
    markers_ = markers;
    Compose();
}

void PicturePreview::Redraw() { Compose(); }

void PicturePreview::Compose() {
    DibSurface& surface = Surface();
    if (surface.Empty()) return;
    const int left = ToPixels(placement_.Left), top = ToPixels(placement_.Top);
    const LayerKey key{wantedPath_, surface.Width(), surface.Height(), placement_.Zoom, left, top};
    if (key != layerKey_) {
        if (layer_.Width() != surface.Width() || layer_.Height() != surface.Height())
            layer_.Resize(surface.Width(), surface.Height());
        DrawPicture(layer_);
        layerKey_ = key;
    }
    if (LiveWaves()) {
        PathMarkers atZoomOne = markers_;
        if (placement_.Zoom != 1) atZoomOne.ScalePathPoints(1 / placement_.Zoom, 1 / placement_.Zoom);
        waves_.SetPath(atZoomOne, TwipsPerPixel());
        waves_.SetRows(-top, surface.Height() - top);  // what the viewport shows of the picture
        GdiFlush();  // the waves wrote into the picture's pixels behind GDI's back
        BitBlt(surface.Dc(), 0, 0, surface.Width(), surface.Height(), scaled_.Dc(), -left, -top, SRCCOPY);
        DrawPath(false);
    } else {
        // The picture comes first, every time, so that no old polygon stays behind.
        BitBlt(surface.Dc(), 0, 0, surface.Width(), surface.Height(), layer_.Dc(), 0, 0, SRCCOPY);
        DrawPath(true);
    }
    Present();
    PlaceMarkers();
}

void PicturePreview::ShowWaves(bool shown) {
    if (shown == wavesShown_) return;
    if (!shown) waves_.Restore();
    wavesShown_ = shown;
    layerKey_.reset();  // the layer is taken again from the clean picture
    Compose();
}

void PicturePreview::AnimateWaves(const WaveShape& shape) {
    DibSurface& surface = Surface();
    if (surface.Empty() || !layerKey_ || !LiveWaves()) return;
    waves_.SetShape(shape);
    const bool reshaped = waves_.PathPending();
    const std::span<const BoundingBox> changed = waves_.Frame();
    if (reshaped) {
        // The outline moves from the markers' rounding to the waves' own.
        Compose();
        return;
    }
    // Only the rows that changed are shown again, band by band: copying the rows between the
    // bands along with them costs more than a blit per band.
    const int left = ToPixels(placement_.Left), top = ToPixels(placement_.Top);
    parts_.clear();
    for (const BoundingBox& box : changed) {
        const RECT part{std::max<LONG>(box.MinX + left, 0), std::max<LONG>(box.MinY + top, 0),
                        std::min<LONG>(box.MaxX + left, surface.Width()),
                        std::min<LONG>(box.MaxY + top, surface.Height())};
        if (part.left < part.right && part.top < part.bottom) parts_.push_back(part);
    }
    if (parts_.empty()) return;
    GdiFlush();
    for (const RECT& part : parts_)
        BitBlt(surface.Dc(), part.left, part.top, part.right - part.left, part.bottom - part.top, scaled_.Dc(),
               part.left - left, part.top - top, SRCCOPY);
    // The outline is drawn whole: where no band covered it, it lies on itself.
    DrawPath(false);
    Present(parts_);
}

void PicturePreview::DrawPicture(DibSurface& layer) {
    layer.Fill(GetSysColor(COLOR_APPWORKSPACE));
    pictureDrawn_ = true;
    if (!wantedPath_.empty()) {
        // The picture is kept at the largest size the zoom shows it at (or its own, if smaller).
        const SIZE largest{ToPixels(SettingsModel::kMaxZoom * kPreviewWidthTwips),
                           ToPixels(SettingsModel::kMaxZoom * kPreviewHeightTwips)};
        if (wantedPath_ != loadedPath_ || picture_ == nullptr || largest.cx != loadedFor_.cx ||
            largest.cy != loadedFor_.cy) {
            auto picture = std::make_unique<GdiPlusPicture>(pictures_, PictureFile(Widen(wantedPath_)), largest.cx,
                                                            largest.cy);
            loadedFor_ = largest;
            scaledKey_.clear();
            if (picture->Loaded()) {
                picture_ = std::move(picture);
                loadedPath_ = wantedPath_;
            } else {
                picture_.reset();
                loadedPath_.clear();  // the next call tries the file again
            }
        }
    }
    const int left = ToPixels(placement_.Left), top = ToPixels(placement_.Top);
    const int width = ToPixels(placement_.Zoom * kPreviewWidthTwips);
    const int height = ToPixels(placement_.Zoom * kPreviewHeightTwips);
    if ((wantedPath_.empty() || picture_ != nullptr) && ScalePicture(width, height)) {
        BitBlt(layer.Dc(), 0, 0, layer.Width(), layer.Height(), scaled_.Dc(), -left, -top, SRCCOPY);
        return;
    }
    // A cross from corner to corner says the picture could not be shown.
    pictureDrawn_ = false;
    layer.Fill(GetSysColor(COLOR_BTNFACE));
    SelectedObject pen(layer.Dc(), GetStockObject(BLACK_PEN));
    MoveToEx(layer.Dc(), left, top, nullptr);
    LineTo(layer.Dc(), left + width, top + height);
    MoveToEx(layer.Dc(), left + width - 1, top, nullptr);
    LineTo(layer.Dc(), left - 1, top + height);
}

bool PicturePreview::ScalePicture(int width, int height) {
    // The picture is scaled once per size; scrolling only shows another part of it. Without a
    // picture the stand-in colour takes its place, so that the waves have something to run on.
    const std::string key = (wantedPath_.empty() ? std::string() : loadedPath_ + '|') + std::to_string(width) +
                            'x' + std::to_string(height);
    if (key == scaledKey_) return true;
    scaledKey_.clear();
    if (scaled_.Resize(width, height)) {
        scaled_.Fill(GetSysColor(COLOR_APPWORKSPACE));
        if (wantedPath_.empty() || picture_->DrawScaled(scaled_.Dc(), 0, 0, width, height, kBilinear)) scaledKey_ = key;
    }
    // The waves never keep pixels that were just given back or painted over.
    waves_.SetPicture(scaledKey_.empty() ? SurfaceView{} : scaled_.View());
    return !scaledKey_.empty();
}

void PicturePreview::DrawPath(bool hatched) {
    HDC dc = Surface().Dc();
    const int left = ToPixels(placement_.Left), top = ToPixels(placement_.Top);
    outline_.clear();
    if (!hatched && !waves_.PathPending() && !waves_.Path().empty()) {
        // The outline of the area the waves fill, exactly.
        for (const PathPoint& point : waves_.Path()) outline_.push_back({point.X + left, point.Y + top});
    } else {
        for (std::size_t i = 0; i < markers_.Count(); ++i) {
            const MarkerCentre centre = markers_.Centre(i);
            outline_.push_back({ToPixels(placement_.Left + centre.X), ToPixels(placement_.Top + centre.Y)});
        }
    }
    SelectedObject pen(dc, GetStockObject(BLACK_PEN));
    if (!hatched) {
        SelectedObject brush(dc, GetStockObject(NULL_BRUSH));
        Polygon(dc, outline_.data(), static_cast<int>(outline_.size()));
        return;
    }
    GdiObject hatch(CreateHatchBrush(HS_FDIAGONAL, RGB(255, 255, 255)));
    // The hatch moves with the picture when it scrolls.
    SetBrushOrgEx(dc, left & 7, top & 7, nullptr);
    SelectedObject brush(dc, hatch.get());
    SetBkMode(dc, TRANSPARENT);
    Polygon(dc, outline_.data(), static_cast<int>(outline_.size()));
}

void PicturePreview::PlaceMarkers() {
    if (Window() == nullptr) return;
    while (markerWindows_.size() > markers_.Count()) {
        DestroyWindow(markerWindows_.back());
        markerWindows_.pop_back();
    }
    const int size = ToPixels(PathMarkers::kMarkerSize);
    // All moves at once: scrolling or zooming moves every marker, and one redraw serves them.
    HDWP moves = BeginDeferWindowPos(static_cast<int>(markers_.Count()));
    for (std::size_t i = 0; i < markers_.Count(); ++i) {
        if (i == markerWindows_.size()) {
            HWND marker = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | BS_OWNERDRAW, 0, 0, size, size, Window(),
                                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_CMDPATH + i)),
                                          GetModuleHandleW(nullptr), nullptr);
            if (marker == nullptr) break;
            SetWindowSubclass(marker, &MarkerProc, kMarkerSubclass, reinterpret_cast<DWORD_PTR>(this));
            markerWindows_.push_back(marker);
        }
        HWND marker = markerWindows_[i];
        const MarkerPosition position = markers_.At(i);
        const POINT wanted{ToPixels(placement_.Left + position.Left), ToPixels(placement_.Top + position.Top)};
        RECT now{};
        GetWindowRect(marker, &now);
        MapWindowPoints(HWND_DESKTOP, Window(), reinterpret_cast<POINT*>(&now), 2);
        const bool placed = now.left == wanted.x && now.top == wanted.y && now.right - now.left == size;
        const bool shown = IsWindowVisible(marker) != FALSE;
        if (placed && shown == markersShown_) continue;
        const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (markersShown_ ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
        if (moves != nullptr) moves = DeferWindowPos(moves, marker, nullptr, wanted.x, wanted.y, size, size, flags);
        else SetWindowPos(marker, nullptr, wanted.x, wanted.y, size, size, flags);
    }
    if (moves != nullptr) EndDeferWindowPos(moves);
    NameMarkers();
}

void PicturePreview::DestroyMarkers() {
    for (HWND marker : markerWindows_) DestroyWindow(marker);
    markerWindows_.clear();
    namedCount_ = 0;
}

void PicturePreview::Report(HWND from, PreviewPointer::Action what, bool right, WPARAM keys, LPARAM at) {
    POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (from != Window()) MapWindowPoints(from, Window(), &point, 1);
    PreviewPointer pointer;
    pointer.What = what;
    pointer.RightButton = right;
    pointer.LeftHeld = (keys & MK_LBUTTON) != 0;
    RECT client{};
    GetClientRect(Window(), &client);
    pointer.Inside = PtInRect(&client, point) != FALSE;
    if (from != Window()) {
        pointer.OnMarker = true;
        pointer.Marker = static_cast<std::size_t>(GetDlgCtrlID(from) - IDC_CMDPATH);
    }
    const double twipsPerPixel = TwipsPerPixel();
    pointer.X = point.x * twipsPerPixel - placement_.Left;
    pointer.Y = point.y * twipsPerPixel - placement_.Top;
    if (onPointer_) onPointer_(pointer);
}

LRESULT CALLBACK PicturePreview::MarkerProc(HWND marker, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR data) {
    auto* self = reinterpret_cast<PicturePreview*>(data);
    using Action = PreviewPointer::Action;
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // The preview keeps the focus for its markers, so the press is handled here rather than
        // by the button, which would take the focus; the marker holds the pointer while dragged.
        SetFocus(self->Window());
        SetCapture(marker);
        self->Report(marker, Action::Press, false, wParam, lParam);
        return 0;
    case WM_RBUTTONDOWN:
        self->Report(marker, Action::Press, true, wParam, lParam);
        break;
    case WM_SETFOCUS:
        SetFocus(self->Window());
        return 0;
    case WM_MOUSEMOVE:
        // A drag whose button went up unseen ends at the first move without it; the marker
        // would otherwise keep the pointer and take the next press anywhere for its own.
        if (GetCapture() == marker && (wParam & MK_LBUTTON) == 0) {
            ReleaseCapture();
            self->Report(marker, Action::Release, false, wParam, lParam);
            return 0;
        }
        self->Report(marker, Action::Move, false, wParam, lParam);
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == marker) ReleaseCapture();
        self->Report(marker, Action::Release, false, wParam, lParam);
        return 0;
    case WM_RBUTTONUP: {
        const LRESULT result = DefSubclassProc(marker, message, wParam, lParam);
        self->Report(marker, Action::Release, true, wParam, lParam);
        return result;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(marker, &MarkerProc, kMarkerSubclass);
        break;
    }
    return DefSubclassProc(marker, message, wParam, lParam);
}

LRESULT PicturePreview::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    using Action = PreviewPointer::Action;
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        SetFocus(Window());
        SetCapture(Window());
        Report(Window(), Action::Press, message == WM_RBUTTONDOWN, wParam, lParam);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_KEYDOWN:
        if (onKey_) onKey_(static_cast<UINT>(wParam));
        return 0;
    case WM_SETFOCUS:
        // Focus handed back by a marker keeps the marker that a press just selected.
        if (onKey_ && !IsChild(Window(), reinterpret_cast<HWND>(wParam))) onKey_(0);
        if (selected_ < markerWindows_.size()) InvalidateRect(markerWindows_[selected_], nullptr, FALSE);
        return 0;
    case WM_KILLFOCUS:
        if (selected_ < markerWindows_.size()) InvalidateRect(markerWindows_[selected_], nullptr, FALSE);
        return 0;
    case WM_UPDATEUISTATE:
        if (selected_ < markerWindows_.size()) InvalidateRect(markerWindows_[selected_], nullptr, FALSE);
        break;
    case WM_DRAWITEM:
        DrawMarker(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_MOUSEMOVE:
        Report(Window(), Action::Move, false, wParam, lParam);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        if (GetCapture() == Window()) ReleaseCapture();
        Report(Window(), Action::Release, message == WM_RBUTTONUP, wParam, lParam);
        return 0;
    case WM_SETCURSOR:
        // Over a marker the marker's own arrow shows.
        if (reinterpret_cast<HWND>(wParam) != Window() || LOWORD(lParam) != HTCLIENT) return FALSE;
        SetCursor(cursor_ != nullptr ? cursor_ : LoadCursorW(nullptr, IDC_ARROW));
        return TRUE;
    case WM_DESTROY:
        DestroyMarkers();
        break;
    }
    return HandleSurfaceMessage(message, wParam, lParam);
}

}  // namespace lurvane::win32
