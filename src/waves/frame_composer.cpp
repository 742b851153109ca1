#include "waves/frame_composer.h"

#include <algorithm>
#include <cstring>

namespace lurvane {

void ComposeFrame(const PathMask& mask, const WaveTable& rows, SurfaceView waveBuffer, SurfaceView visible,
                  int originX, int originY) {
    if (waveBuffer.Empty() || visible.Empty()) return;
    const AreaPart& part = mask.Part();
    // Where pixel (0, 0) of the part lands; 64-bit so that no origin, however far off, can
    // overflow the clipping sums.
    const int64_t ox = int64_t{originX} + part.Left;
    const int64_t oy = int64_t{originY} + part.Top;
    const int64_t firstRow = std::max<int64_t>(0, -oy);
    const int64_t endRow = std::min<int64_t>(mask.Height(), visible.Height - oy);
    const int64_t firstColumn = std::max<int64_t>(0, -ox);
    const int64_t endColumn = std::min<int64_t>(waveBuffer.Width, visible.Width - ox);

    for (int64_t y = firstRow; y < endRow; ++y) {
        const int64_t areaRow = part.Top + y;
        int64_t source = areaRow < kWaveTableSize ? rows[static_cast<size_t>(areaRow)] : areaRow;
        source = std::clamp<int64_t>(source, 0, mask.AreaHeight() - 1) - part.Top;
        const bool held = source >= 0 && source < waveBuffer.Height;
        const uint32_t* from = held ? waveBuffer.Row(static_cast<int>(source)) : nullptr;
        uint32_t* to = visible.Row(static_cast<int>(y + oy));
        for (const RowSpan& span : mask.Row(static_cast<int>(y))) {
            const int64_t x0 = std::max<int64_t>(span.X0, firstColumn);
            const int64_t x1 = std::min<int64_t>(span.X1, endColumn);
            if (x0 >= x1) continue;
            if (held) std::memcpy(to + (x0 + ox), from + x0, static_cast<size_t>(x1 - x0) * sizeof(uint32_t));
            else std::fill(to + (x0 + ox), to + (x1 + ox), kOffScreenPixel);
        }
    }
}

}  // namespace lurvane
