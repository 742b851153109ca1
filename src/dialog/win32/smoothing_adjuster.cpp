#include "dialog/win32/smoothing_adjuster.h"

#include <windowsx.h>

#include <algorithm>

namespace lurvane::win32 {
namespace {

constexpr wchar_t kTrackClass[] = L"LurvaneSmoothingTrack";
constexpr wchar_t kKnobClass[] = L"LurvaneSmoothingKnob";

int Width(const RECT& rect) { return rect.right - rect.left; }
int Height(const RECT& rect) { return rect.bottom - rect.top; }

}  // namespace

bool SmoothingKnob::Create(HWND track, int id, const RECT& place) {
    return CreateChild(kKnobClass, track, id, place, WS_TABSTOP);
}

void SmoothingKnob::Redraw() {
    DibSurface& surface = Surface();
    if (surface.Empty()) return;
    RECT face{0, 0, surface.Width(), surface.Height()};
    FillRect(surface.Dc(), &face, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(surface.Dc(), &face, EDGE_RAISED, BF_RECT);
    if (GetFocus() == Window()) {
        RECT focus = face;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(surface.Dc(), &focus);
    }
    Present();
}

LRESULT SmoothingKnob::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
        SetFocus(Window());
        SetCapture(Window());
        dragging_ = true;
        return 0;
    case WM_MOUSEMOVE:
        if (dragging_ && (wParam & MK_LBUTTON) != 0)
            owner_.MoveKnobTo(owner_.Geometry().DraggedLeft(GET_X_LPARAM(lParam), owner_.KnobLeft()));
        return 0;
    case WM_LBUTTONUP:
        if (dragging_) ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED:
        dragging_ = false;
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_KEYDOWN: {
        // One percent per key press, towards the end the key points to.
        const AdjusterTrack track = owner_.Geometry();
        const int step = std::max(1, track.TrackWidth / 100);
        if (wParam == VK_LEFT) owner_.MoveKnobTo(std::max(0, owner_.KnobLeft() - step));
        else if (wParam == VK_RIGHT)
            owner_.MoveKnobTo(std::min(track.TrackWidth - track.KnobWidth, owner_.KnobLeft() + step));
        return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Redraw();
        return 0;
    }
    return HandleSurfaceMessage(message, wParam, lParam);
}

bool SmoothingAdjuster::Create(HWND parent, int trackId, int knobId, const RECT& place) {
    // The knob inside takes part in the dialog's tab order.
    if (!CreateChild(kTrackClass, parent, trackId, place, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT)) return false;
    const int height = Height(place);
    if (!knob_.Create(Window(), knobId, RECT{0, 0, height * 2 / 3, height})) return false;
    Show(direction_, percent_);
    return true;
}

void SmoothingAdjuster::PlaceTrack(const RECT& place) {
    Place(place);
    const int height = Height(place);
    SetWindowPos(Knob(), nullptr, 0, 0, height * 2 / 3, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    Show(direction_, percent_);
}

AdjusterTrack SmoothingAdjuster::Geometry() const {
    RECT track{}, knob{};
    GetClientRect(Window(), &track);
    GetClientRect(Knob(), &knob);
    return {Width(track), Width(knob), direction_};
}

int SmoothingAdjuster::KnobLeft() const {
    RECT knob{};
    GetWindowRect(Knob(), &knob);
    MapWindowPoints(HWND_DESKTOP, Window(), reinterpret_cast<POINT*>(&knob), 2);
    return knob.left;
}

void SmoothingAdjuster::Show(int direction, double percent) {
    direction_ = direction;
    percent_ = percent;
    if (Knob() == nullptr) return;
    SetWindowPos(Knob(), nullptr, Geometry().KnobLeft(percent), 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
}

void SmoothingAdjuster::MoveKnobTo(int left) {
    if (left == KnobLeft()) return;
    SetWindowPos(Knob(), nullptr, left, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
    UpdateWindow(Window());
    percent_ = Geometry().PercentAt(left);
    if (changed_) changed_(static_cast<int32_t>(percent_));
}

void SmoothingAdjuster::Redraw() {
    DibSurface& surface = Surface();
    if (surface.Empty()) return;
    RECT groove{0, 0, surface.Width(), surface.Height()};
    FillRect(surface.Dc(), &groove, GetSysColorBrush(COLOR_BTNFACE));
    RECT line{0, surface.Height() / 2 - 2, surface.Width(), surface.Height() / 2 + 2};
    DrawEdge(surface.Dc(), &line, EDGE_SUNKEN, BF_RECT);
    Present();
}

}  // namespace lurvane::win32
