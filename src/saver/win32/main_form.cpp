#include "saver/win32/main_form.h"

#include <commctrl.h>
#include <windowsx.h>

#include <utility>

#include "resource.h"
#include "util/win32/dpi.h"
#include "util/win32/text_convert.h"

namespace lurvane::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"LurvaneSaverWindow";

// The label's place and size at 96 DPI.
constexpr RECT kFpsLabelPlace{8, 8, 168, 28};

RECT DesktopRect() {
    RECT rect{};
    GetWindowRect(GetDesktopWindow(), &rect);
    return rect;
}

}  // namespace

MainForm::~MainForm() {
    if (Window() != nullptr) {
        destroyed_ = true;  // the program is ending anyway: no quit message, no events
        DestroyWindow(Window());
    }
}

bool MainForm::Load(HWND host) {
    if (Window() != nullptr) return true;
    InitCommonControls();
    WNDCLASSEXW windowClass{};
    // The frames take the window's device context many times a second. A device context of its
    // own keeps its state; a common one is reset on every GetDC, its font chosen again, which
    // under Wine reads the X resource files each time.
    windowClass.style = CS_OWNDC;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kWindowClass;
    windowClass.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_LURVANE));
    // A preview window is born a child of its host: Wine does not show a top-level window that
    // is re-parented into another process's window afterwards.
    const DWORD style = (host != nullptr ? WS_CHILD : WS_POPUP) | WS_CLIPCHILDREN;
    if (!Create(windowClass, 0, kSaverWindowTitle, style, DesktopRect(), host)) return false;
    fpsLabel_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, Window(), nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    OnDpiChanged(WindowDpi(Window()));
    restNotifications_.emplace(Window());
    return true;
}

void MainForm::ShowFullScreen(std::optional<RECT> area) {
    const RECT desktop = area.value_or(DesktopRect());
    SetWindowPos(Window(), HWND_TOPMOST, desktop.left, desktop.top, desktop.right - desktop.left,
                 desktop.bottom - desktop.top, SWP_SHOWWINDOW);
}

void MainForm::Unload() {
    if (Window() != nullptr && !destroyed_) DestroyWindow(Window());
}

LRESULT MainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        // Before BeginPaint, which takes the area to paint from the clip of the same context.
        if (ownDcClip_ != OwnDcClip::None) Unclip(WindowDc(Window()).get());
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(Window(), &paint);
        if (events_ != nullptr) events_->BeforePaint();
        Paint(dc, paint.rcPaint);
        EndPaint(Window(), &paint);
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT client{};
        GetClientRect(Window(), &client);
        if (events_ != nullptr) events_->BeforePaint();
        Paint(reinterpret_cast<HDC>(wParam), client);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_CHAR:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
        if (events_ != nullptr) events_->OnInput();
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam));
        return 0;
    case WM_POWERBROADCAST:
        if (const auto on = DisplayStateFromPowerMessage(wParam, lParam); on && events_ != nullptr)
            events_->OnDisplayChanged(*on);
        return TRUE;
    case WM_WTSSESSION_CHANGE:
        if (const auto unlocked = SessionStateFromMessage(wParam); unlocked && events_ != nullptr)
            events_->OnSessionChanged(*unlocked);
        return 0;
    case WM_CLOSE:
        Unload();
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_NCDESTROY:
        fpsLabel_ = nullptr;
        break;
    }
    return DefaultHandling(message, wParam, lParam);
}

void MainForm::Paint(HDC dc, const RECT& area) const {
    if (picture_ != nullptr && !picture_->Empty())
        BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, picture_->Dc(), area.left,
               area.top, SRCCOPY);
    else
        FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

void MainForm::Present(std::span<const RECT> areas) {
    if (!Alive() || areas.empty()) return;
    WindowDc dc(Window());
    if (dc) Present(dc.get(), areas);
}

void MainForm::Present(HDC dc, std::span<const RECT> areas) {
    Unclip(dc);
    for (const RECT& area : areas)
        if (!IsRectEmpty(&area)) Paint(dc, area);
}

void MainForm::SetPathClip(GdiObject region) {
    pathClip_ = std::move(region);
    if (ownDcClip_ == OwnDcClip::Path) ownDcClip_ = OwnDcClip::OldPath;
}

void MainForm::ClipToPath(HDC dc) {
    if (ownDcClip_ == OwnDcClip::Path || !pathClip_) return;
    SelectClipRgn(dc, static_cast<HRGN>(pathClip_.get()));  // the context keeps a copy
    ownDcClip_ = OwnDcClip::Path;
}

void MainForm::Unclip(HDC dc) {
    if (ownDcClip_ == OwnDcClip::None) return;
    SelectClipRgn(dc, nullptr);
    ownDcClip_ = OwnDcClip::None;
}

void MainForm::SetFpsLabel(bool visible, const std::string& caption) {
    if (fpsLabel_ == nullptr) return;
    if (!caption.empty()) SetWindowTextW(fpsLabel_, Widen(caption).c_str());
    if ((IsWindowVisible(fpsLabel_) != FALSE) != visible) ShowWindow(fpsLabel_, visible ? SW_SHOWNA : SW_HIDE);
}

void MainForm::OnDpiChanged(UINT dpi) {
    dpi_ = dpi;
    if (fpsLabel_ == nullptr) return;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    // The system's message font is given at the system DPI; scale it to this window's.
    WindowDc screen(nullptr);
    const int systemDpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : static_cast<int>(kDefaultDpi);
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), systemDpi);
    labelFont_.reset(CreateFontIndirectW(&metrics.lfMessageFont));
    SendMessageW(fpsLabel_, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont_.get()), FALSE);
    SetWindowPos(fpsLabel_, nullptr, ScaleForDpi(kFpsLabelPlace.left, dpi), ScaleForDpi(kFpsLabelPlace.top, dpi),
                 ScaleForDpi(kFpsLabelPlace.right - kFpsLabelPlace.left, dpi),
                 ScaleForDpi(kFpsLabelPlace.bottom - kFpsLabelPlace.top, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainForm::OnMouseMove(int x, int y) {
    if (events_ != nullptr && events_->InputArmed() &&
        HasMousePositionChanged(static_cast<float>(x), static_cast<float>(y)))
        events_->OnInput();
}

bool MainForm::HasMousePositionChanged(float x, float y) {
    if (lastMouseX_ == 0 && lastMouseY_ == 0) {
        lastMouseX_ = x;
        lastMouseY_ = y;
        return false;
    }
    if (preview_) return false;
    return x > lastMouseX_ + 5 || x < lastMouseX_ - 5 || y > lastMouseY_ + 5 || y < lastMouseY_ - 5;
}

void MainForm::OnDestroy() {
    restNotifications_.reset();
    if (destroyed_) return;
    destroyed_ = true;
    if (events_ != nullptr) events_->OnFormDestroyed();
}

}  // namespace lurvane::win32
