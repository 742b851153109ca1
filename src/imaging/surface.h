// The one pixel format the core works on: 32-bit pixels with bytes blue, green, red, unused,
// rows top-down with no padding (stride = width). The Win32 shell wraps its top-down DIB
// sections in a SurfaceView; the core and the tests own pixels through a PixelBuffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lurvane {

// A non-owning view; an empty view (no pixels, or a side of 0 or less) has no rows at all.
struct SurfaceView {
    uint32_t* Pixels = nullptr;
    int Width = 0;
    int Height = 0;

    bool Empty() const { return Pixels == nullptr || Width <= 0 || Height <= 0; }
    size_t PixelCount() const { return Empty() ? 0 : static_cast<size_t>(Width) * static_cast<size_t>(Height); }
    uint32_t* Row(int y) const { return Pixels + static_cast<size_t>(y) * static_cast<size_t>(Width); }
};

class PixelBuffer {
public:
    PixelBuffer() = default;
    PixelBuffer(int width, int height, uint32_t fill = 0) { Resize(width, height, fill); }

    // Negative sides count as 0, so a degenerate wave area gives an empty buffer, not a throw.
    void Resize(int width, int height, uint32_t fill = 0) {
        width_ = width > 0 ? width : 0;
        height_ = height > 0 ? height : 0;
        pixels_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), fill);
    }

    // Becomes a copy of the view's pixels (empty for an empty view).
    void CopyFrom(const SurfaceView& view) {
        width_ = view.Empty() ? 0 : view.Width;
        height_ = view.Empty() ? 0 : view.Height;
        pixels_.assign(view.Pixels, view.Pixels + view.PixelCount());
    }

    int Width() const { return width_; }
    int Height() const { return height_; }
    SurfaceView View() { return {pixels_.data(), width_, height_}; }
    std::vector<uint32_t>& Pixels() { return pixels_; }
    const std::vector<uint32_t>& Pixels() const { return pixels_; }

private:
    std::vector<uint32_t> pixels_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace lurvane
