// The path both frame benchmarks wave inside, and how much of the area it covers.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "waves/engine_settings.h"
#include "waves/path_mask.h"

namespace lurvane::bench {

// A 64-corner ellipse touching the area's sides: pi/4, about three quarters of the area.
inline std::vector<PathPoint> EllipsePath(int width, int height) {
    std::vector<PathPoint> points;
    for (int k = 0; k < 64; ++k) {
        const double angle = k * 6.283185307179586 / 64;
        points.push_back({static_cast<int32_t>(std::lround((width - 1) * (0.5 + 0.5 * std::cos(angle)))),
                          static_cast<int32_t>(std::lround((height - 1) * (0.5 + 0.5 * std::sin(angle))))});
    }
    return points;
}

// The share of the mask's area that lies inside the path.
inline double Coverage(const PathMask& mask) {
    double inside = 0;
    for (int y = 0; y < mask.Height(); ++y)
        for (const RowSpan& span : mask.Row(y)) inside += span.X1 - span.X0;
    return inside / (static_cast<double>(mask.Width()) * mask.Height());
}

}  // namespace lurvane::bench
