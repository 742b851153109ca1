#include "waves/frame_composer.h"

#include <algorithm>
#include <cstring>

namespace lurvane {

void ComposeFrame(const PathMask& mask, const WaveTable& rows, SurfaceView waveBuffer, SurfaceView visible,
                  int originX, int originY) {
    if (waveBuffer.Empty() || visible.Empty()) return;
    // 64-bit so that no origin, however far off, can overflow the clipping sums.
    const int64_t ox = originX;
    const int64_t oy = originY;
    const int64_t firstRow = std::max<int64_t>(0, -oy);
    const int64_t endRow = std::min<int64_t>({mask.Height(), waveBuffer.Height, visible.Height - oy});
    const int64_t firstColumn = std::max<int64_t>(0, -ox);
    const int64_t endColumn = std::min<int64_t>(waveBuffer.Width, visible.Width - ox);

    for (int64_t y = firstRow; y < endRow; ++y) {
        int source = y < kWaveTableSize ? rows[static_cast<size_t>(y)] : static_cast<int>(y);
        source = std::clamp(source, 0, waveBuffer.Height - 1);
        const uint32_t* from = waveBuffer.Row(source);
        uint32_t* to = visible.Row(static_cast<int>(y + oy));
        for (const RowSpan& span : mask.Row(static_cast<int>(y))) {
            const int64_t x0 = std::max<int64_t>(span.X0, firstColumn);
            const int64_t x1 = std::min<int64_t>(span.X1, endColumn);
            if (x0 < x1) std::memcpy(to + (x0 + ox), from + x0, static_cast<size_t>(x1 - x0) * sizeof(uint32_t));
        }
    }
}

}  // namespace lurvane
