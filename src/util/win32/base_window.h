// The shell's window base: one class per window, `this` kept with the window from
// WM_NCCREATE on, and one HandleMessage in the derived class that unpacks each message.
#pragma once

#include <windows.h>

namespace lurvane::win32 {

template <typename Derived>
class BaseWindow {
public:
    BaseWindow() = default;
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;

    // The window while it exists; null before it is made and from WM_NCDESTROY on.
    HWND Window() const { return window_; }

protected:
    ~BaseWindow() = default;

    // Registers the class on first use (a second registration of the same name is harmless)
    // and creates the window; false when it cannot be made.
    bool Create(WNDCLASSEXW windowClass, DWORD exStyle, const wchar_t* title, DWORD style, const RECT& place,
                HWND parent) {
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &BaseWindow::WindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
        CreateWindowExW(exStyle, windowClass.lpszClassName, title, style, place.left, place.top,
                        place.right - place.left, place.bottom - place.top, parent, nullptr, windowClass.hInstance,
                        this);
        return window_ != nullptr;
    }

    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(window_, message, wParam, lParam);
    }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        BaseWindow* self = nullptr;
        if (message == WM_NCCREATE) {
            self = static_cast<BaseWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            self->window_ = window;
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<BaseWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        }
        if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
        const LRESULT result = static_cast<Derived*>(self)->HandleMessage(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            self->window_ = nullptr;
        }
        return result;
    }

    HWND window_ = nullptr;
};

}  // namespace lurvane::win32
