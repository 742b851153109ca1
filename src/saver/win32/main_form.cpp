#include "saver/win32/main_form.h"

#include <commctrl.h>
#include <windowsx.h>

#include "util/trace.h"
#include "util/win32/message_loop.h"
#include "startup/win32/startup.h"
#include "resource.h"
#include "util/text_rules.h"

namespace lurvane::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"LurvaneSaverWindow";

void RegisterWindowClass(WNDPROC procedure) {
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kWindowClass;
    windowClass.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_LURVANE));
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
    if (!gdiplus_.Started()) MessageBoxW(nullptr, L"Error loading GDI+!", L"Lurvane", MB_OK | MB_ICONERROR);
}

MainForm::~MainForm() {
    if (window_ != nullptr) {
        destroyed_ = true;  // the program is ending anyway: no quit message, no second unload
        DestroyWindow(window_);
    }
}

bool MainForm::Load(HWND host) {
    if (window_ != nullptr) return true;
    RegisterWindowClass(&MainForm::WindowProc);
    const RECT desktop = DesktopRect();
    // A preview window is born a child of its host: Wine does not show a top-level window that
    // is re-parented into another process's window afterwards.
    const DWORD style = (host != nullptr ? WS_CHILD : WS_POPUP) | WS_CLIPCHILDREN;
    CreateWindowExW(0, kWindowClass, kSaverWindowTitle, style, desktop.left, desktop.top,
                    desktop.right - desktop.left, desktop.bottom - desktop.top, host, nullptr,
                    GetModuleHandleW(nullptr), this);
    if (window_ == nullptr) return false;
    fpsLabel_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_LEFT | SS_NOPREFIX, 8, 8, 160, 20, window_, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    SendMessageW(fpsLabel_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return true;
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
        EndScreenSaver(false);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_CLOSE:
        Unload();
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        window_ = nullptr;
        fpsLabel_ = nullptr;
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void MainForm::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    const RECT& area = paint.rcPaint;
    if (!main_.Empty())
        BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, main_.Dc(), area.left,
               area.top, SRCCOPY);
    else
        FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EndPaint(window_, &paint);
}

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

void MainForm::EndScreenSaver(bool forceStop) {
    if (forceStop || !previewMode_) {
        endRequested_ = true;
        StopWavelor(engine_);
        RestoreSystemState();
    }
}

void MainForm::StartAnimationTimer() {
    // Input that arrived while the run was being prepared asked for the end: keep that request
    // for the first frame instead of starting the waves over it.
    if (!endRequested_) StartWavelor(engine_);
    const int framerate = engine_.Framerate > 0 ? engine_.Framerate : 1;
    timer_.Start(RoundToInt32(1000.0 / framerate));
}

void MainForm::StopAnimationTimer() {
    timer_.Stop();
    Unload();
}

void MainForm::OnAnimationTimer() { renderer_.RenderFrame(previewMode_, startedManual_, *this); }

int MainForm::Run() {
    return RunMessageLoop(timer_, [this] { OnAnimationTimer(); });
}

void MainForm::Unload() {
    if (window_ != nullptr && !destroyed_) DestroyWindow(window_);
}

void MainForm::OnDestroy() {
    // Reached through Unload, or when the preview host takes its child window down with it.
    if (destroyed_) return;
    destroyed_ = true;
    TraceQuietly("Form_Unload");
    timer_.Stop();
    EndScreenSaver(true);
    PostQuitMessage(0);
}

}  // namespace lurvane::win32
