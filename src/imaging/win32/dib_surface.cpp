#include "imaging/win32/dib_surface.h"

#include <algorithm>
#include <utility>

namespace lurvane::win32 {

DibSurface::DibSurface(DibSurface&& other) noexcept { *this = std::move(other); }

DibSurface& DibSurface::operator=(DibSurface&& other) noexcept {
    if (this == &other) return *this;
    Release();
    dc_ = std::move(other.dc_);
    bitmap_ = std::move(other.bitmap_);
    originalBitmap_ = std::exchange(other.originalBitmap_, nullptr);
    pixels_ = std::exchange(other.pixels_, nullptr);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    return *this;
}

DibSurface::~DibSurface() { Release(); }

void DibSurface::Release() {
    if (dc_ && originalBitmap_) SelectObject(dc_.get(), originalBitmap_);
    originalBitmap_ = nullptr;
    bitmap_.reset();
    dc_.reset();
    pixels_ = nullptr;
    width_ = height_ = 0;
}

bool DibSurface::Resize(int width, int height) {
    if (width == width_ && height == height_ && pixels_ != nullptr) return true;
    Release();
    if (width <= 0 || height <= 0) return true;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows, as the core expects
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    GdiObject bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDc dc(CreateCompatibleDC(nullptr));
    if (!bitmap || !dc || bits == nullptr) return false;
    originalBitmap_ = SelectObject(dc.get(), bitmap.get());
    dc_ = std::move(dc);
    bitmap_ = std::move(bitmap);
    pixels_ = static_cast<uint32_t*>(bits);
    width_ = width;
    height_ = height;
    return true;
}

void DibSurface::Fill(COLORREF colour) {
    if (pixels_ == nullptr) return;
    const uint32_t pixel = PixelOf(colour);
    uint32_t* pixels = Pixels();
    std::fill(pixels, pixels + static_cast<size_t>(width_) * static_cast<size_t>(height_), pixel);
}

}  // namespace lurvane::win32
