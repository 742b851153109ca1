// An in-memory 32-bit drawing surface: a top-down DIB section selected into its own memory
// device context, so GDI can draw into it and the core can touch its pixels directly.
#pragma once

#include <windows.h>

#include <cstdint>

#include "imaging/surface.h"
#include "util/win32/handles.h"

namespace lurvane::win32 {

class DibSurface {
public:
    DibSurface() = default;
    // A moved-from surface is empty: the pixels, the bitmap and the device context all go along.
    DibSurface(DibSurface&& other) noexcept;
    DibSurface& operator=(DibSurface&& other) noexcept;
    ~DibSurface();

    // Makes the surface width x height pixels (contents undefined); 0 x 0 releases it.
    // Returns false when the bitmap cannot be made; the surface is then empty.
    bool Resize(int width, int height);
    void Fill(COLORREF colour);
    // The pixel that Fill writes for `colour`.
    static uint32_t PixelOf(COLORREF colour) {
        return (static_cast<uint32_t>(GetRValue(colour)) << 16) | (static_cast<uint32_t>(GetGValue(colour)) << 8) |
               GetBValue(colour);
    }
    void Clear() { Fill(RGB(0, 0, 0)); }

    HDC Dc() const { return dc_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // GDI may still be drawing into the bits in the background: flush before touching them.
    uint32_t* Pixels() const {
        GdiFlush();
        return pixels_;
    }
    bool Empty() const { return pixels_ == nullptr; }
    SurfaceView View() const { return {Pixels(), width_, height_}; }

private:
    void Release();

    MemoryDc dc_;
    GdiObject bitmap_;
    HGDIOBJ originalBitmap_ = nullptr;
    uint32_t* pixels_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace lurvane::win32
