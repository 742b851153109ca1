// The wave area: the bounding box of the path in screen pixels.
#pragma once

#include <span>

#include "waves/engine_settings.h"

namespace lurvane {

// Smallest and largest X and Y over all points (a single point gives a box of size 0 there).
// The bounds are 16-bit values: a coordinate outside that range raises RangeError, and an
// empty path raises std::invalid_argument, since there is no first point to start from.
BoundingBox GetBoundingBox(std::span<const PathPoint> points);

// A rectangle of the wave area in area pixels (0, 0 being the box's top-left corner): columns
// Left to Right - 1, rows Top to Bottom - 1.
struct AreaPart {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool Empty() const { return Width() <= 0 || Height() <= 0; }
    friend bool operator==(const AreaPart&, const AreaPart&) = default;
};

// The part of the wave area (Width() x Height() pixels from (MinX, MinY)) that lies on a
// surface of width x height pixels: all that a frame can show of it, so all that the wave
// buffer and the mask need to hold, however far the path reaches. All 0 when nothing of the
// area lies on the surface.
AreaPart OnScreenPart(const BoundingBox& area, int width, int height);

}  // namespace lurvane
