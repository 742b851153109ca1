// A child window of the settings dialog that draws into its own DIB section and paints with
// one blit, so that redrawing never flickers. The derived class draws into Surface() and calls
// Present(); it may handle further messages in its own HandleMessage and pass the rest here.
#pragma once

#include <windows.h>

#include <span>

#include "imaging/win32/dib_surface.h"
#include "util/win32/base_window.h"

namespace lurvane::win32 {

template <typename Derived>
class SurfaceWindow : public BaseWindow<Derived> {
public:
    // Makes the window over `place` (parent client pixels) with the control id `id`.
    bool CreateChild(const wchar_t* className, HWND parent, int id, const RECT& place, DWORD extraStyle = 0,
                     DWORD exStyle = 0) {
        WNDCLASSEXW windowClass{};
        windowClass.lpszClassName = className;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        if (!this->Create(windowClass, exStyle, L"", WS_CHILD | WS_VISIBLE | extraStyle, place, parent)) return false;
        SetWindowLongPtrW(this->Window(), GWLP_ID, id);
        Resized();
        return true;
    }

    // Moves and sizes the window; the surface follows the new size.
    void Place(const RECT& place) {
        SetWindowPos(this->Window(), nullptr, place.left, place.top, place.right - place.left,
                     place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }

protected:
    DibSurface& Surface() { return surface_; }

    // Puts the surface on the screen at once.
    void Present() {
        if (this->Window() == nullptr) return;
        HDC dc = GetDC(this->Window());
        if (dc == nullptr) return;
        Paint(dc);
        ReleaseDC(this->Window(), dc);
    }

    // Puts only `part` of the surface on the screen.
    void Present(const RECT& part) { Present(std::span<const RECT>(&part, 1)); }
    // Puts only `parts` of the surface on the screen, each with a blit of its own.
    void Present(std::span<const RECT> parts) {
        if (this->Window() == nullptr) return;
        HDC dc = GetDC(this->Window());
        if (dc == nullptr) return;
        for (const RECT& part : parts)
            BitBlt(dc, part.left, part.top, part.right - part.left, part.bottom - part.top, surface_.Dc(), part.left,
                   part.top, SRCCOPY);
        ReleaseDC(this->Window(), dc);
    }

    LRESULT HandleSurfaceMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(this->Window(), &paint);
            Paint(dc);
            EndPaint(this->Window(), &paint);
            return 0;
        }
        case WM_PRINTCLIENT:
            Paint(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SIZE:
            Resized();
            return 0;
        }
        return this->DefaultHandling(message, wParam, lParam);
    }

private:
    void Resized() {
        RECT client{};
        GetClientRect(this->Window(), &client);
        if (client.right == surface_.Width() && client.bottom == surface_.Height() && !surface_.Empty()) return;
        surface_.Resize(client.right, client.bottom);
        static_cast<Derived*>(this)->Redraw();
    }

    void Paint(HDC dc) {
        if (surface_.Empty()) return;
        BitBlt(dc, 0, 0, surface_.Width(), surface_.Height(), surface_.Dc(), 0, 0, SRCCOPY);
    }

    DibSurface surface_;
};

}  // namespace lurvane::win32
