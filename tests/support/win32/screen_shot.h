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

// Lets `draw(memory, screen)` paint into a 32-bit DIB section of the given size and copies it out.
template <typename Draw>
ScreenShot CaptureWith(int width, int height, Draw draw) {
    ScreenShot shot;
    shot.Width = width;
    shot.Height = height;
    shot.Pixels.assign(static_cast<size_t>(width) * height, 0);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    draw(memory, screen);
    GdiFlush();
    std::memcpy(shot.Pixels.data(), bits, shot.Pixels.size() * 4);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

inline ScreenShot CaptureScreen(const RECT& rect) {
    return CaptureWith(rect.right - rect.left, rect.bottom - rect.top, [&](HDC memory, HDC screen) {
        BitBlt(memory, 0, 0, rect.right - rect.left, rect.bottom - rect.top, screen, rect.left,
               rect.top, SRCCOPY);
    });
}

// What a window of this process draws into its client area, asked for with WM_PRINTCLIENT:
// only the window's own drawing, without the child windows over it.
inline ScreenShot CaptureClient(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return CaptureWith(client.right, client.bottom, [&](HDC memory, HDC) {
        SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    });
}

}  // namespace support
