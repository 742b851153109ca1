// A copy of a rectangle of the screen, for tests that check what a user sees.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace support {

struct ScreenShot {
    int Width = 0, Height = 0;
    std::vector<uint32_t> Pixels;
    uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x] & 0xFFFFFF; }
};

inline ScreenShot CaptureScreen(const RECT& rect) {
    ScreenShot shot;
    shot.Width = rect.right - rect.left;
    shot.Height = rect.bottom - rect.top;
    shot.Pixels.assign(static_cast<size_t>(shot.Width) * shot.Height, 0);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = shot.Width;
    info.bmiHeader.biHeight = -shot.Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.Width, shot.Height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    std::memcpy(shot.Pixels.data(), bits, shot.Pixels.size() * 4);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

// What a window of this process draws into its client area, asked for with WM_PRINTCLIENT:
// only the window's own drawing, without the child windows over it.
inline ScreenShot CaptureClient(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    ScreenShot shot;
    shot.Width = client.right;
    shot.Height = client.bottom;
    shot.Pixels.assign(static_cast<size_t>(shot.Width) * shot.Height, 0);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = shot.Width;
    info.bmiHeader.biHeight = -shot.Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    GdiFlush();
    std::memcpy(shot.Pixels.data(), bits, shot.Pixels.size() * 4);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

}  // namespace support
