#include "saver/shade.h"

#include <algorithm>
#include <cmath>

namespace lurvane {

uint32_t ShadeFactor(int32_t darkness) {
    // 64-bit: (100 - d) overflows 32 bits near the bottom of the range.
    const double factor = static_cast<double>(100 - int64_t{darkness}) * 2.56;
    return static_cast<uint32_t>(static_cast<int64_t>(std::nearbyint(factor)) & 0xFF);
}

void ShadePixels(std::span<const uint32_t> source, std::span<uint32_t> target, int32_t darkness) {
    const uint32_t f = ShadeFactor(darkness);
    const size_t count = std::min(source.size(), target.size());
    const uint32_t* from = source.data();
    uint32_t* to = target.data();
    // Plain shifts and masks on independent pixels: the compiler turns this into vector code.
    for (size_t i = 0; i < count; ++i) {
        const uint32_t p = from[i];
        const uint32_t b = ((p & 0xFF) * f) >> 8;
        const uint32_t g = (((p >> 8) & 0xFF) * f) >> 8;
        const uint32_t r = (((p >> 16) & 0xFF) * f) >> 8;
        to[i] = b | (g << 8) | (r << 16);
    }
}

bool ShadeBitmap(const SurfaceView& source, const SurfaceView& target, int32_t darkness) {
    if (source.Width != target.Width || source.Height != target.Height) return false;
    ShadePixels({source.Pixels, source.PixelCount()}, {target.Pixels, target.PixelCount()}, darkness);
    return true;
}

}  // namespace lurvane
