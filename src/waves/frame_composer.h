// The per-frame pixel work: the shifted rows of the wave area, only inside the path, straight
// into the visible surface. One pass of span copies replaces "shift every row into a wave
// picture, copy it onto the screen, then put the outside back through a mask".
#pragma once

#include "imaging/surface.h"
#include "waves/engine_settings.h"
#include "waves/path_mask.h"

namespace lurvane {

// For every row y of the mask and every run [x0, x1) of that row, copies pixels x0..x1-1 of
// row rows[y] of `waveBuffer` (the unshifted wave area) to (originX + x, originY + y) of
// `visible`. Rows past the table (y > 4000) are not shifted, and a table entry outside the
// buffer is taken as the nearest row of it. Everything is clipped to both surfaces, so any
// origin and any sizes are safe. Allocates nothing.
void ComposeFrame(const PathMask& mask, const WaveTable& rows, SurfaceView waveBuffer, SurfaceView visible,
                  int originX, int originY);

}  // namespace lurvane
