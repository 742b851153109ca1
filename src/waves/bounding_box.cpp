#include "waves/bounding_box.h"

#include <stdexcept>

#include "util/text_rules.h"

namespace lurvane {
namespace {

int16_t Narrow(int32_t value) { return RoundToInt16(static_cast<double>(value)); }

}  // namespace

BoundingBox GetBoundingBox(std::span<const PathPoint> points) {
    if (points.empty()) throw std::invalid_argument("path has no points");
    BoundingBox box{Narrow(points[0].X), Narrow(points[0].Y), Narrow(points[0].X), Narrow(points[0].Y)};
    for (const PathPoint& point : points) {
        int16_t x = Narrow(point.X);
        int16_t y = Narrow(point.Y);
        if (x < box.MinX) box.MinX = x;
        if (y < box.MinY) box.MinY = y;
        if (x > box.MaxX) box.MaxX = x;
        if (y > box.MaxY) box.MaxY = y;
    }
    return box;
}

}  // namespace lurvane
