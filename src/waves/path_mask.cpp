#include "waves/path_mask.h"

#include <algorithm>

namespace lurvane {
namespace {

constexpr int64_t kCoordinateLimit = int64_t{1} << 24;

struct Point64 {
    int64_t X, Y;
};

Point64 Clamped(const PathPoint& p) {
    return {std::clamp<int64_t>(p.X, -kCoordinateLimit, kCoordinateLimit),
            std::clamp<int64_t>(p.Y, -kCoordinateLimit, kCoordinateLimit)};
}

// Floor of num / den for den > 0, rounding towards minus infinity also for negative num.
int64_t FloorDiv(int64_t num, int64_t den) {
    int64_t q = num / den;
    return (num % den != 0 && num < 0) ? q - 1 : q;
}

int64_t CeilDiv(int64_t num, int64_t den) { return -FloorDiv(-num, den); }

// num / den rounded to nearest with halves up, den > 0.
int64_t RoundDiv(int64_t num, int64_t den) { return FloorDiv(2 * num + den, 2 * den); }

struct OutlineRun {
    int64_t Y, X0, X1;
    bool operator<(const OutlineRun& other) const { return Y != other.Y ? Y < other.Y : X0 < other.X0; }
};

// The outline pixels of one edge inside the area, as runs of one row each. Walking only the
// part of the major axis that overlaps the area bounds the work by the area's size.
void TraceEdge(Point64 a, Point64 b, int64_t width, int64_t height, std::vector<OutlineRun>& runs) {
    const int64_t dx = b.X - a.X;
    const int64_t dy = b.Y - a.Y;
    if ((dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy)) {
        if (b.X < a.X) std::swap(a, b);
        const int64_t run = b.X - a.X;
        const int64_t rise = b.Y - a.Y;
        const int64_t first = std::max<int64_t>(a.X, 0);
        const int64_t last = std::min<int64_t>(b.X, width - 1);
        for (int64_t x = first; x <= last;) {
            const int64_t y = run == 0 ? a.Y : a.Y + RoundDiv((x - a.X) * rise, run);
            int64_t end = x + 1;
            while (end <= last && (a.Y + RoundDiv((end - a.X) * rise, run)) == y) ++end;
            if (y >= 0 && y < height) runs.push_back({y, x, end});
            x = end;
        }
    } else {
        if (b.Y < a.Y) std::swap(a, b);
        const int64_t run = b.Y - a.Y;
        const int64_t slope = b.X - a.X;
        const int64_t first = std::max<int64_t>(a.Y, 0);
        const int64_t last = std::min<int64_t>(b.Y, height - 1);
        for (int64_t y = first; y <= last; ++y) {
            const int64_t x = a.X + RoundDiv((y - a.Y) * slope, run);
            if (x >= 0 && x < width) runs.push_back({y, x, x + 1});
        }
    }
}

}  // namespace

void PathMask::Build(std::span<const PathPoint> points, int width, int height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    spans_.clear();
    rowStart_.assign(1, 0);
    if (width_ == 0 || height_ == 0) {
        width_ = height_ = 0;
        return;
    }

    std::vector<Point64> polygon(points.size());
    std::transform(points.begin(), points.end(), polygon.begin(), Clamped);
    const size_t n = polygon.size();

    std::vector<OutlineRun> outline;
    for (size_t k = 0; k < n; ++k) TraceEdge(polygon[k], polygon[(k + 1) % n], width_, height_, outline);
    std::sort(outline.begin(), outline.end());

    std::vector<int64_t> crossings;
    std::vector<RowSpan> row;
    size_t next = 0;
    rowStart_.reserve(static_cast<size_t>(height_) + 1);
    for (int64_t y = 0; y < height_; ++y) {
        crossings.clear();
        for (size_t k = 0; k < n; ++k) {
            Point64 a = polygon[k];
            Point64 b = polygon[(k + 1) % n];
            if (a.Y == b.Y || y < std::min(a.Y, b.Y) || y >= std::max(a.Y, b.Y)) continue;
            if (b.Y < a.Y) std::swap(a, b);
            // The first pixel at or right of the crossing; clamping to 0..width keeps the
            // parity of every pixel in the area.
            const int64_t firstRight = a.X + CeilDiv((y - a.Y) * (b.X - a.X), b.Y - a.Y);
            crossings.push_back(std::clamp<int64_t>(firstRight, 0, width_));
        }
        std::sort(crossings.begin(), crossings.end());

        row.clear();
        for (size_t k = 0; k + 1 < crossings.size(); k += 2)
            if (crossings[k] < crossings[k + 1])
                row.push_back({static_cast<int>(crossings[k]), static_cast<int>(crossings[k + 1])});
        for (; next < outline.size() && outline[next].Y == y; ++next)
            row.push_back({static_cast<int>(outline[next].X0), static_cast<int>(outline[next].X1)});

        std::sort(row.begin(), row.end(), [](const RowSpan& l, const RowSpan& r) { return l.X0 < r.X0; });
        for (const RowSpan& span : row) {
            const bool joins = spans_.size() > rowStart_.back() && span.X0 <= spans_.back().X1;
            if (joins) spans_.back().X1 = std::max(spans_.back().X1, span.X1);
            else spans_.push_back(span);
        }
        rowStart_.push_back(spans_.size());
    }
}

}  // namespace lurvane
