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

// The first v in [low, high] for which `holds` is true, `holds` being false and then true along
// v; high + 1 when it holds nowhere.
template <typename Holds>
int64_t FirstWhere(int64_t low, int64_t high, Holds&& holds) {
    int64_t end = high + 1;
    while (low < end) {
        const int64_t middle = low + (end - low) / 2;
        if (holds(middle)) end = middle;
        else low = middle + 1;
    }
    return low;
}

// The stretch [first, last] of the major axis narrowed to where the monotonic minor coordinate
// `minor` lies within 0..size-1, so that an edge passing far outside costs no walking.
template <typename Minor>
void NarrowToMinorRange(int64_t& first, int64_t& last, bool rising, int64_t size, Minor&& minor) {
    if (rising) {
        first = FirstWhere(first, last, [&](int64_t v) { return minor(v) >= 0; });
        last = FirstWhere(first, last, [&](int64_t v) { return minor(v) >= size; }) - 1;
    } else {
        first = FirstWhere(first, last, [&](int64_t v) { return minor(v) < size; });
        last = FirstWhere(first, last, [&](int64_t v) { return minor(v) < 0; }) - 1;
    }
}

// The outline pixels of one edge inside the area, as runs of one row each. Only the stretch of
// the edge that lies inside the area is walked, which bounds the work by the area's size.
void TraceEdge(Point64 a, Point64 b, int64_t width, int64_t height, std::vector<OutlineRun>& runs) {
    const int64_t dx = b.X - a.X;
    const int64_t dy = b.Y - a.Y;
    if ((dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy)) {
        if (b.X < a.X) std::swap(a, b);
        const int64_t run = b.X - a.X;
        const int64_t rise = b.Y - a.Y;
        auto rowAt = [&](int64_t x) { return run == 0 ? a.Y : a.Y + RoundDiv((x - a.X) * rise, run); };
        int64_t first = std::max<int64_t>(a.X, 0);
        int64_t last = std::min<int64_t>(b.X, width - 1);
        NarrowToMinorRange(first, last, rise >= 0, height, rowAt);
        for (int64_t x = first; x <= last;) {
            const int64_t y = rowAt(x);
            int64_t end = x + 1;
            while (end <= last && rowAt(end) == y) ++end;
            if (y >= 0 && y < height) runs.push_back({y, x, end});
            x = end;
        }
    } else {
        if (b.Y < a.Y) std::swap(a, b);
        const int64_t run = b.Y - a.Y;
        const int64_t slope = b.X - a.X;
        auto columnAt = [&](int64_t y) { return a.X + RoundDiv((y - a.Y) * slope, run); };
        int64_t first = std::max<int64_t>(a.Y, 0);
        int64_t last = std::min<int64_t>(b.Y, height - 1);
        NarrowToMinorRange(first, last, slope >= 0, width, columnAt);
        for (int64_t y = first; y <= last; ++y) {
            const int64_t x = columnAt(y);
            if (x >= 0 && x < width) runs.push_back({y, x, x + 1});
        }
    }
}

}  // namespace

void PathMask::Build(std::span<const PathPoint> points, int width, int height) {
    Build(points, width, height, AreaPart{0, 0, width, height});
}

void PathMask::Build(std::span<const PathPoint> points, int width, int height, const AreaPart& part) {
    areaHeight_ = std::max(height, 0);
    part_ = {std::max(part.Left, 0), std::max(part.Top, 0), std::min(part.Right, width), std::min(part.Bottom, height)};
    spans_.clear();
    rowStart_.assign(1, 0);
    if (part_.Empty()) {
        part_ = {};
        width_ = height_ = 0;
        return;
    }
    width_ = part_.Width();
    height_ = part_.Height();

    // Every rule above stays the same when the origin moves, so the part is worked on as an area
    // of its own, with the polygon moved by the part's corner. Clamping comes first: its limit
    // is in area coordinates.
    std::vector<Point64> polygon(points.size());
    std::transform(points.begin(), points.end(), polygon.begin(), [this](const PathPoint& p) {
        const Point64 clamped = Clamped(p);
        return Point64{clamped.X - part_.Left, clamped.Y - part_.Top};
    });
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
