// The Display control panel's preview monitor for "/p" runs: a small window that the driver
// pumps, and waiting for the saver inside it.
#pragma once

#include <windows.h>

#include <string>

#include "saver_driver.h"

namespace e2e {

// The preview monitor: a top-level window with a 152 x 112 client area, pumped by the driver.
class PreviewHost {
public:
    PreviewHost() {
        static bool registered = false;
        if (!registered) {
            WNDCLASSW windowClass{};
            windowClass.lpfnWndProc = DefWindowProcW;
            windowClass.hInstance = GetModuleHandleW(nullptr);
            windowClass.lpszClassName = L"LurvanePreviewHost";
            windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
            registered = RegisterClassW(&windowClass) != 0;
        }
        RECT rect{0, 0, 152, 112};
        AdjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, FALSE);
        window_ = CreateWindowW(L"LurvanePreviewHost", L"Preview host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 200, 150,
                                rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        Pump(100);
    }
    ~PreviewHost() { Destroy(); }
    void Destroy() {
        if (window_ != nullptr) DestroyWindow(window_);
        window_ = nullptr;
    }
    HWND Window() const { return window_; }
    std::wstring Handle() const { return std::to_wstring(reinterpret_cast<uintptr_t>(window_)); }

    static void Pump(DWORD milliseconds) {
        const ULONGLONG end = GetTickCount64() + milliseconds;
        do {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        } while (GetTickCount64() < end);
    }
    // Waits, pumping, for the saver to become a child of the host; nullptr after the timeout.
    HWND WaitForChild(DWORD milliseconds) const {
        const ULONGLONG end = GetTickCount64() + milliseconds;
        do {
            HWND child = FindWindowExW(window_, nullptr, nullptr, L"LurvaneScreenSaver");
            if (child != nullptr && IsWindowVisible(child)) return child;
            Pump(20);
        } while (GetTickCount64() < end);
        return nullptr;
    }

private:
    HWND window_ = nullptr;
};

inline bool WaitPumping(const SaverProcess& saver, DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    do {
        if (saver.WaitForExit(0)) return true;
        PreviewHost::Pump(5);
    } while (GetTickCount64() < end);
    return saver.WaitForExit(0);
}

}  // namespace e2e
