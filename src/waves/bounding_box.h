// The wave area: the bounding box of the path in screen pixels.
#pragma once

#include <span>

#include "waves/engine_settings.h"

namespace lurvane {

// Smallest and largest X and Y over all points (a single point gives a box of size 0 there).
// The bounds are 16-bit values: a coordinate outside that range raises RangeError, and an
// empty path raises std::invalid_argument, since there is no first point to start from.
BoundingBox GetBoundingBox(std::span<const PathPoint> points);

}  // namespace lurvane
