#include "waves/bounding_box.h"

#include <algorithm>
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

AreaPart OnScreenPart(const BoundingBox& area, int width, int height) {
    if (area.Width() <= 0 || area.Height() <= 0) return {};
    const int64_t left = std::max(0, -area.MinX);
    const int64_t top = std::max(0, -area.MinY);
    const int64_t right = std::min<int64_t>(area.Width(), int64_t{width} - area.MinX);
    const int64_t bottom = std::min<int64_t>(area.Height(), int64_t{height} - area.MinY);
    if (right <= left || bottom <= top) return {};
    return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right), static_cast<int>(bottom)};
}

}  // namespace lurvane
