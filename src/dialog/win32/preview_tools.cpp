#include "dialog/win32/preview_tools.h"

#include <windowsx.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "dialog/preview_zoom.h"
#include "resource.h"
#include "util/win32/locale_text.h"
#include "util/win32/scroll_bar.h"
#include "util/win32/text_convert.h"

namespace lurvane::win32 {
namespace {

constexpr int kPointerSize = 32;

// A magnifier pointer drawn at run time: a white lens with a black rim and handle, and a plus
// or minus in the lens. Its hot spot is the lens's centre.
HCURSOR MakeMagnifierPointer(bool plus) {
    constexpr int kRowBytes = kPointerSize / 8;
    std::array<uint8_t, kRowBytes * kPointerSize> andPlane{}, xorPlane{};
    andPlane.fill(0xFF);  // transparent, unless painted below
    const auto paint = [&](int x, int y, bool white) {
        const std::size_t byte = static_cast<std::size_t>(y * kRowBytes + x / 8);
        const auto bit = static_cast<uint8_t>(0x80 >> (x % 8));
        andPlane[byte] = static_cast<uint8_t>(andPlane[byte] & ~bit);
        if (white) xorPlane[byte] = static_cast<uint8_t>(xorPlane[byte] | bit);
    };
    constexpr double kCentre = 11, kInner = 6.5, kOuter = 8.6;
    for (int y = 0; y < kPointerSize; ++y)
        for (int x = 0; x < kPointerSize; ++x) {
            const double distance = std::hypot(x - kCentre, y - kCentre);
            const bool sign = (y == 11 && x >= 8 && x <= 14) || (plus && x == 11 && y >= 8 && y <= 14);
            const bool handle = x >= 17 && y >= 17 && x <= 27 && y <= 27 && std::abs(x - y) <= 2;
            if (distance <= kInner) paint(x, y, !sign);
            else if (distance <= kOuter || handle) paint(x, y, false);
        }
    return CreateCursor(GetModuleHandleW(nullptr), static_cast<int>(kCentre), static_cast<int>(kCentre), kPointerSize,
                        kPointerSize, andPlane.data(), xorPlane.data());
}

constexpr int kPreviewBars[] = {IDC_HSCROLLPREVIEW, IDC_VSCROLLPREVIEW};

}  // namespace

PreviewTools::PreviewTools(SettingsModel& model, PicturePreview& preview, const Language& texts,
                           std::function<void(bool quiet)> render)
    : model_(model),
      preview_(preview),
      texts_(texts),
      render_(std::move(render)),
      zoomInPointer_(MakeMagnifierPointer(true)),
      zoomOutPointer_(MakeMagnifierPointer(false)) {}

void PreviewTools::Attach(HWND page) {
    page_ = page;
    // The box hides the markers when checked; they show at first.
    CheckDlgButton(page_, IDC_CHKHIDEPATHPOINTS, BST_UNCHECKED);
    preview_.SetMarkersShown(true);
}

int PreviewTools::ScrollValue(int id) const {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    GetScrollInfo(Item(id), SB_CTL, &info);
    return info.nPos;
}

void PreviewTools::ShowZoom() {
    ShowZoomControls();
    PlacePreview();
}

void PreviewTools::ShowZoomControls() {
    const double zoom = model_.ZoomFactor();
    SetWindowTextW(Item(IDC_LABELZOOMFACTOR), Widen(ZoomLabel(zoom, UserDecimalSeparator())).c_str());
    const int maximum = PreviewScrollMaximum(zoom);
    for (int id : kPreviewBars) {
        SetScrollRange(Item(id), SB_CTL, 0, maximum, TRUE);
        EnableWindow(Item(id), maximum > 0);
    }
    // A button that the zoom disables hands the keyboard focus to the other one.
    const bool canZoomIn = zoom < SettingsModel::kMaxZoom, canZoomOut = zoom > SettingsModel::kMinZoom;
    HWND in = Item(IDC_CMDBTNZOOMUP), out = Item(IDC_CMDBTNZOOMDN);
    HWND dialog = GetAncestor(page_, GA_ROOT);
    if (!canZoomIn && GetFocus() == in) SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(out), TRUE);
    if (!canZoomOut && GetFocus() == out) SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(in), TRUE);
    EnableWindow(in, canZoomIn);
    EnableWindow(out, canZoomOut);
}

void PreviewTools::PlacePreview() {
    const double zoom = model_.ZoomFactor();
    const int maximum = PreviewScrollMaximum(zoom);
    PreviewPlacement placement;
    placement.Zoom = zoom;
    placement.Left = PreviewOffset(ScrollValue(IDC_HSCROLLPREVIEW), maximum, zoom * kPreviewWidthTwips,
                                   kPreviewWidthTwips);
    placement.Top = PreviewOffset(ScrollValue(IDC_VSCROLLPREVIEW), maximum, zoom * kPreviewHeightTwips,
                                  kPreviewHeightTwips);
    preview_.SetPlacement(placement);
    render_(true);
}

bool PreviewTools::OnCommand(int id, int code) {
    switch (id) {
    case IDC_CMDBTNZOOMUP:
        if (code == BN_CLICKED && model_.ZoomIn()) ShowZoom();  // the model scales the markers
        return true;
    case IDC_CMDBTNZOOMDN:
        if (code == BN_CLICKED && model_.ZoomOut()) ShowZoom();
        return true;
    case IDC_OPTGRAB:
    case IDC_OPTZOOMUP:
    case IDC_OPTZOOMDN:
        if (code == BN_CLICKED) SelectTool(id);
        return true;
    case IDC_CMDDELETEPATH:
        if (code == BN_CLICKED) ResetPath();
        return true;
    case IDC_CHKHIDEPATHPOINTS:
        if (code == BN_CLICKED) {
            preview_.SetMarkersShown(IsDlgButtonChecked(page_, IDC_CHKHIDEPATHPOINTS) != BST_CHECKED);
            preview_.ShowMarkers(model_.Path());
        }
        return true;
    }
    return false;
}

void PreviewTools::SelectTool(int id) {
    const Tool clicked = id == IDC_OPTGRAB ? Tool::Grab : id == IDC_OPTZOOMUP ? Tool::ZoomIn : Tool::ZoomOut;
    // A click on the selected tool puts it down again, leaving no tool.
    tool_ = clicked == tool_ ? Tool::None : clicked;
    for (int option : {IDC_OPTGRAB, IDC_OPTZOOMUP, IDC_OPTZOOMDN})
        CheckDlgButton(page_, option, option == id && tool_ != Tool::None ? BST_CHECKED : BST_UNCHECKED);
    preview_.SetPointerShape(tool_ == Tool::Grab     ? LoadCursorW(nullptr, IDC_HAND)
                             : tool_ == Tool::ZoomIn  ? zoomInPointer_.get()
                             : tool_ == Tool::ZoomOut ? zoomOutPointer_.get()
                                                      : nullptr);
}

bool PreviewTools::OnScroll(HWND bar, int code) {
    const int id = GetDlgCtrlID(bar);
    if (id != IDC_HSCROLLPREVIEW && id != IDC_VSCROLLPREVIEW) return false;
    const std::optional<int> value = RequestedScrollValue(bar, code);
    if (!value) return true;
    SetScrollPos(bar, SB_CTL, *value, TRUE);
    PlacePreview();
    return true;
}

void PreviewTools::OnPointer(const PreviewPointer& pointer) {
    using Action = PreviewPointer::Action;
    if (pointer.OnMarker) {
        if (pointer.What == Action::Press) {
            Select(pointer.Marker);
            if (!pointer.RightButton) dragStart_ = model_.Path();
        } else if (pointer.What == Action::Move && pointer.LeftHeld) {
            const double zoom = model_.ZoomFactor();
            model_.Path().DragTo(pointer.Marker, pointer.X, pointer.Y, zoom * kPreviewWidthTwips,
                                 zoom * kPreviewHeightTwips);
            preview_.ShowMarkers(model_.Path());
        } else if (pointer.What == Action::Release && pointer.RightButton) {
            if (ChooseFromMenu(TextId::RemovePoint)) RemovePoint();
        } else if (pointer.What == Action::Release && dragStart_) {
            Record(*dragStart_);  // the whole drag is one step
            dragStart_.reset();
        }
        return;
    }
    switch (pointer.What) {
    case Action::Press:
        grabX_ = pointer.X;
        grabY_ = pointer.Y;
        leftPressedOnPicture_ = !pointer.RightButton;
        break;
    case Action::Move:
        if (pointer.LeftHeld && tool_ == Tool::Grab) DragWithGrabTool(pointer.X, pointer.Y);
        break;
    case Action::Release:
        if (pointer.RightButton) {
            popupX_ = pointer.X;
            popupY_ = pointer.Y;
            if (ChooseFromMenu(TextId::AddPoint)) AddPoint();
        } else if (leftPressedOnPicture_ && pointer.Inside) {
            // Only the left button clicks: a right-click never zooms.
            ClickWithTool();
        }
        leftPressedOnPicture_ = false;
        break;
    }
}

void PreviewTools::DragWithGrabTool(double x, double y) {
    const double zoom = model_.ZoomFactor();
    const int maximum = PreviewScrollMaximum(zoom);
    if (maximum <= 0) return;
    const GrabAxis across{zoom * kPreviewWidthTwips, kPreviewWidthTwips, maximum};
    const GrabAxis down{zoom * kPreviewHeightTwips, kPreviewHeightTwips, maximum};
    const int h = ScrollValue(IDC_HSCROLLPREVIEW), v = ScrollValue(IDC_VSCROLLPREVIEW);
    const int newH = across.Dragged(x, grabX_, h), newV = down.Dragged(y, grabY_, v);
    if (newH == h && newV == v) return;
    SetScrollPos(Item(IDC_HSCROLLPREVIEW), SB_CTL, newH, TRUE);
    SetScrollPos(Item(IDC_VSCROLLPREVIEW), SB_CTL, newV, TRUE);
    PlacePreview();
}

void PreviewTools::ClickWithTool() {
    const double before = model_.ZoomFactor();
    const bool zoomed = tool_ == Tool::ZoomIn ? model_.ZoomIn() : tool_ == Tool::ZoomOut && model_.ZoomOut();
    if (!zoomed) return;
    const double zoom = model_.ZoomFactor();
    const int maximum = PreviewScrollMaximum(zoom);
    const auto valueFor = [&](double grab, double size) {
        return tool_ == Tool::ZoomIn ? ZoomInScrollValue(zoom, before, grab, zoom * size, maximum)
                                     : ZoomOutScrollValue(grab, zoom * size, maximum);
    };
    ShowZoomControls();
    SetScrollPos(Item(IDC_HSCROLLPREVIEW), SB_CTL, valueFor(grabX_, kPreviewWidthTwips), TRUE);
    SetScrollPos(Item(IDC_VSCROLLPREVIEW), SB_CTL, valueFor(grabY_, kPreviewHeightTwips), TRUE);
    PlacePreview();
}

void PreviewTools::AddPoint() {
    const PathMarkers before = model_.Path();
    if (!model_.Path().AddPointOnSegment(static_cast<float>(popupX_), static_cast<float>(popupY_))) {
        Inform(texts_.GetLangString(TextId::NoPointAdded) + "\r\n" +
               texts_.GetLangString(TextId::AddOnlyBetweenPoints));
        return;
    }
    Record(before);
    preview_.ShowMarkers(model_.Path());
}

void PreviewTools::AddPointAfterSelected() {
    const PathMarkers before = model_.Path();
    if (!model_.Path().AddPointAfter(selectedMarker_)) {
        Inform(texts_.GetLangString(TextId::NoPointAdded) + "\r\n" +
               texts_.GetLangString(TextId::AddOnlyBetweenPoints));
        return;
    }
    Record(before);
    preview_.ShowMarkers(model_.Path());
}

void PreviewTools::RemovePoint() {
    const PathMarkers before = model_.Path();
    if (!model_.Path().RemovePointKeepingThree(selectedMarker_)) {
        Inform(texts_.GetLangString(TextId::CannotRemoveAllPoints));
        return;
    }
    Record(before);
    Select(std::min(selectedMarker_, model_.Path().Count() - 1));
    preview_.ShowMarkers(model_.Path());
}

void PreviewTools::ResetPath() {
    if (model_.Path().Count() <= 3) return;
    const PathMarkers before = model_.Path();
    model_.Path().ResetToThreePoints();
    Record(before);
    Select(std::min<std::size_t>(selectedMarker_, 2));
    render_(false);
}

void PreviewTools::Select(std::size_t marker) {
    selectedMarker_ = marker;
    preview_.Select(marker);
}

void PreviewTools::Record(const PathMarkers& before) { history_.Record(before, model_.Path(), model_.ZoomFactor()); }

void PreviewTools::MoveSelected(int right, int down) {
    // One pixel of the preview as it is shown, in twips of the zoomed preview picture.
    const double step = preview_.TwipsPerPixel() * ((GetKeyState(VK_SHIFT) & 0x8000) != 0 ? 10 : 1);
    const double zoom = model_.ZoomFactor();
    const PathMarkers before = model_.Path();
    model_.Path().MoveBy(selectedMarker_, right * step, down * step, zoom * kPreviewWidthTwips,
                         zoom * kPreviewHeightTwips);
    Record(before);
    preview_.ShowMarkers(model_.Path());
}

void PreviewTools::ShowHistoryStep(const std::optional<PathMarkers>& path) {
    if (!path) return;
    model_.Path() = *path;
    Select(std::min(selectedMarker_, model_.Path().Count() - 1));
    preview_.ShowMarkers(model_.Path());
}

bool PreviewTools::OnKey(UINT key) {
    const bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0, shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const std::size_t count = model_.Path().Count();
    switch (key) {
    case 0:
        Select(0);
        return true;
    case VK_NEXT:
        Select((selectedMarker_ + 1) % count);
        return true;
    case VK_PRIOR:
        Select((selectedMarker_ + count - 1) % count);
        return true;
    case VK_LEFT:
        MoveSelected(-1, 0);
        return true;
    case VK_RIGHT:
        MoveSelected(1, 0);
        return true;
    case VK_UP:
        MoveSelected(0, -1);
        return true;
    case VK_DOWN:
        MoveSelected(0, 1);
        return true;
    case VK_DELETE:
        RemovePoint();
        return true;
    case VK_INSERT:
        AddPointAfterSelected();
        return true;
    case 'Z':
        if (!control) return false;
        ShowHistoryStep(shift ? history_.Redo(model_.ZoomFactor()) : history_.Undo(model_.ZoomFactor()));
        return true;
    case 'Y':
        if (!control) return false;
        ShowHistoryStep(history_.Redo(model_.ZoomFactor()));
        return true;
    }
    return false;
}

bool PreviewTools::ChooseFromMenu(TextId item) const {
    Menu menu(CreatePopupMenu());
    if (!menu) return false;
    constexpr UINT kItem = 1;
    AppendMenuW(menu.get(), MF_STRING, kItem, Widen(texts_.GetLangString(item)).c_str());
    POINT at{};
    GetCursorPos(&at);
    HWND owner = GetAncestor(page_, GA_ROOT);
    return TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, owner,
                          nullptr) == static_cast<BOOL>(kItem);
}

void PreviewTools::Inform(const std::string& text) const {
    MessageBoxW(GetAncestor(page_, GA_ROOT), Widen(text).c_str(), L"Lurvane", MB_OK | MB_ICONINFORMATION);
}

}  // namespace lurvane::win32
