// The per-frame pixel work: the shifted rows of the wave area, only inside the path, straight
// into the visible surface. One pass of span copies replaces "shift every row into a wave
// picture, copy it onto the screen, then put the outside back through a mask".
#pragma once

#include <cstdint>

#include "imaging/surface.h"
#include "waves/engine_settings.h"
#include "waves/path_mask.h"

namespace lurvane {

// What the wave buffer of the whole area held where the area lay off the screen: nothing was
// ever copied there, so those pixels kept the black of a fresh or cleared surface. A shifted row
// can take its source from there.
inline constexpr uint32_t kOffScreenPixel = 0x00000000;

// For every row y of the mask's part and every run [x0, x1) of that row, copies pixels x0..x1-1
// of the unshifted area row rows[part.Top + y] to the visible surface, where the area's top-left
// corner lies at (originX, originY). `waveBuffer` holds the unshifted pixels of the mask's part
// (its pixel (0, 0) is the part's top-left pixel); area rows it does not hold are off the screen
// and give kOffScreenPixel. Rows past the table (area row > 4000) are not shifted, and a table
// entry outside the area is taken as the nearest row of it. Everything is clipped to both
// surfaces, so any origin and any sizes are safe. Allocates nothing.
void ComposeFrame(const PathMask& mask, const WaveTable& rows, SurfaceView waveBuffer, SurfaceView visible,
                  int originX, int originY);

}  // namespace lurvane
