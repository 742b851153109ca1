#include "saver/win32/main_form.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstdio>

#include "startup/win32/message_loop.h"
#include "startup/win32/startup.h"
#include "util/text_rules.h"

namespace lurvane::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"LurvaneSaverWindow";

void RegisterWindowClass(WNDPROC procedure) {
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kWindowClass;
    windowClass.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(100));
    registered = RegisterClassExW(&windowClass) != 0;
}

RECT DesktopRect() {
    RECT rect{};
    GetWindowRect(GetDesktopWindow(), &rect);
    return rect;
}

}  // namespace

MainForm::MainForm() {
    InitCommonControls();
    if (!gdiplus_.Started())
        MessageBoxW(nullptr, L"Error loading GDI+!", L"Lurvane", MB_OK | MB_ICONERROR);
}

MainForm::~MainForm() {
    if (window_ != nullptr) Unload();
}

bool MainForm::Load() {
    if (window_ != nullptr) return true;
    RegisterWindowClass(&MainForm::WindowProc);
    const RECT desktop = DesktopRect();
    CreateWindowExW(0, kWindowClass, kSaverWindowTitle, WS_POPUP | WS_CLIPCHILDREN, desktop.left, desktop.top,
                    desktop.right - desktop.left, desktop.bottom - desktop.top, nullptr, nullptr,
                    GetModuleHandleW(nullptr), this);
    return window_ != nullptr;
}

void MainForm::ShowFullScreen() {
    const RECT desktop = DesktopRect();
    SetWindowPos(window_, HWND_TOPMOST, desktop.left, desktop.top, desktop.right - desktop.left,
                 desktop.bottom - desktop.top, SWP_SHOWWINDOW);
}

LRESULT CALLBACK MainForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MainForm* form = nullptr;
    if (message == WM_NCCREATE) {
        form = static_cast<MainForm*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    } else {
        form = reinterpret_cast<MainForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    return form != nullptr ? form->HandleMessage(message, wParam, lParam)
                           : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT MainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_CHAR:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
        OnInput();
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_SETCURSOR:
        break;
    case WM_CLOSE:
        Unload();
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        window_ = nullptr;
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void MainForm::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    if (!main_.Empty())
        BitBlt(dc, paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right - paint.rcPaint.left,
               paint.rcPaint.bottom - paint.rcPaint.top, main_.Dc(), paint.rcPaint.left, paint.rcPaint.top, SRCCOPY);
    else
        FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EndPaint(window_, &paint);
}

void MainForm::OnInput() { EndScreenSaver(false); }

void MainForm::OnMouseMove(int x, int y) {
    if (engine_.InputArmed && HasMousePositionChanged(static_cast<float>(x), static_cast<float>(y)))
        EndScreenSaver(false);
}

bool MainForm::HasMousePositionChanged(float x, float y) {
    if (lastMouseX_ == 0 && lastMouseY_ == 0) {
        lastMouseX_ = x;
        lastMouseY_ = y;
        return false;
    }
    if (previewMode_) return false;
    return x > lastMouseX_ + 5 || x < lastMouseX_ - 5 || y > lastMouseY_ + 5 || y < lastMouseY_ - 5;
}

void MainForm::StartScreenSaver(bool preview, bool startedManually) {
    TraceQuietly(std::string("StartScreenSaver, Preview: ") + (preview ? "True" : "False"));
    previewMode_ = preview;
    startedManual_ = startedManually;
    ShowWindow(window_, SW_SHOW);

    RECT rect{};
    GetWindowRect(window_, &rect);
    if (HWND parent = GetParent(window_)) MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    HDC screen = GetDC(nullptr);
    const double twipsX = 1440.0 / GetDeviceCaps(screen, LOGPIXELSX);
    const double twipsY = 1440.0 / GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    char handle[32];
    std::snprintf(handle, sizeof handle, "%llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window_)));
    TraceQuietly("Left: " + NumberText(static_cast<float>(rect.left * twipsX)) +
                 "Top: " + NumberText(static_cast<float>(rect.top * twipsY)) +
                 "Width: " + NumberText(static_cast<float>((rect.right - rect.left) * twipsX)) +
                 "Height: " + NumberText(static_cast<float>((rect.bottom - rect.top) * twipsY)) +
                 "Picture Hwnd: " + handle);
    TraceQuietly("coordinates set");

    CaptureDesktop();
    TraceQuietly("Screen captured");

    PresentAll();
    TraceQuietly("Saver visible");
    engine_.InputArmed = true;
    StartAnimationTimer();
}

void MainForm::CaptureDesktop() {
    RECT client{};
    GetClientRect(window_, &client);
    const RECT desktop = DesktopRect();
    const int width = previewMode_ ? client.right : desktop.right - desktop.left;
    const int height = previewMode_ ? client.bottom : desktop.bottom - desktop.top;
    main_.Resize(width, height);
    backBuffer_.Resize(width, height);
    image_.Resize(width, height);

    ShowWindow(window_, SW_HIDE);
    PumpPendingMessages();
    Sleep(250);
    PumpPendingMessages();
    HDC screen = GetDC(nullptr);
    bool copied = false;
    if (previewMode_) {
        SetStretchBltMode(main_.Dc(), HALFTONE);
        copied = StretchBlt(main_.Dc(), 0, 0, width, height, screen, desktop.left, desktop.top,
                            desktop.right - desktop.left, desktop.bottom - desktop.top, SRCCOPY) != FALSE;
    } else {
        copied = BitBlt(main_.Dc(), 0, 0, width, height, screen, desktop.left, desktop.top, SRCCOPY) != FALSE;
    }
    ReleaseDC(nullptr, screen);
    BitBlt(backBuffer_.Dc(), 0, 0, width, height, main_.Dc(), 0, 0, SRCCOPY);
    BitBlt(image_.Dc(), 0, 0, width, height, main_.Dc(), 0, 0, SRCCOPY);
    ShowWindow(window_, SW_SHOW);
    if (!copied) main_.Clear();
}

void MainForm::PresentAll() {
    InvalidateRect(window_, nullptr, FALSE);
    UpdateWindow(window_);
}

void MainForm::EndScreenSaver(bool forceStop) {
    if (forceStop || !previewMode_) {
        engine_.WavesRunning = false;
        RestoreSystemState();
    }
}

void MainForm::StartAnimationTimer() {
    engine_.WavesRunning = true;
    const int framerate = engine_.Framerate > 0 ? engine_.Framerate : 20;
    timer_.Start(RoundToInt32(1000.0 / framerate));
}

void MainForm::StopAnimationTimer() {
    timer_.Stop();
    Unload();
}

void MainForm::OnAnimationTimer() {
    if (!engine_.WavesRunning) StopAnimationTimer();
}

void MainForm::Unload() {
    if (window_ == nullptr || unloading_) return;
    unloading_ = true;
    DestroyWindow(window_);
}

void MainForm::OnDestroy() {
    // Reached through Unload, or when the preview host takes its child window down with it.
    TraceQuietly("Form_Unload");
    timer_.Stop();
    EndScreenSaver(true);
    PostQuitMessage(0);
}

}  // namespace lurvane::win32
