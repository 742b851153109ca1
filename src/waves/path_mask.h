// Which pixels of the wave area lie inside the path: built once per start, as a list of
// horizontal runs per row, so that a frame copies whole runs instead of testing pixels.
//
// The rule, pixel for pixel (the tests check the runs against it):
// - Pixel (x, y) of the area stands for the lattice point (x, y), as GDI addresses pixels by
//   point coordinates. Coordinates beyond +-2^24 are first clamped to it, which no screen
//   reaches and which keeps the arithmetic exact in 64 bits.
// - Fill, even-odd (alternate) rule over the closed polygon, the last point joined to the
//   first: an edge from a to b with a.Y != b.Y counts on row y when min(a.Y, b.Y) <= y <
//   max(a.Y, b.Y) and crosses it at xc = a.X + (y - a.Y) (b.X - a.X) / (b.Y - a.Y); pixel x is
//   filled when an odd number of these crossings has xc <= x.
// - Outline, one pixel wide, as the polygon is also outlined in the fill colour: each edge
//   (both end points included; a one-point path is one pixel) steps along its longer axis.
//   When |dx| >= |dy| it walks x from its left end to its right end with y = left.Y +
//   round((x - left.X) dy / dx); otherwise it walks y from its top end with x = top.X +
//   round((y - top.Y) dx / dy). Halves round up.
// - Inside = filled or outlined, clipped to the area.
// The mask can hold only a part of the area (the part on the screen): the work and the memory of
// a build then grow with that part, not with the area, however far the path reaches.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "waves/bounding_box.h"
#include "waves/engine_settings.h"

namespace lurvane {

struct RowSpan {
    int X0 = 0;  // first pixel inside
    int X1 = 0;  // one past the last pixel inside
    friend bool operator==(const RowSpan&, const RowSpan&) = default;
};

class PathMask {
public:
    // Coverage of the polygon through `points` (relative to the area's top-left corner) in an
    // area of width x height pixels. Any points are accepted: none, one, off the area,
    // negative, self-intersecting. Sides of 0 or less give an empty mask.
    void Build(std::span<const PathPoint> points, int width, int height);

    // The same coverage, kept only inside `part` of the area (clipped to the area). The mask then
    // has the part's size: its row 0 and column 0 are the part's top row and left column.
    void Build(std::span<const PathPoint> points, int width, int height, const AreaPart& part);

    // The size of the part the mask holds (all 0 when it holds nothing).
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Where the mask lies in the area, and the area's height.
    const AreaPart& Part() const { return part_; }
    int AreaHeight() const { return areaHeight_; }

    // The runs of all rows together.
    size_t RunCount() const { return spans_.size(); }
    // The runs of row y of the part, left to right, disjoint and not touching, each within
    // 0..Width() (part columns).
    std::span<const RowSpan> Row(int y) const {
        const size_t row = static_cast<size_t>(y);
        return {spans_.data() + rowStart_[row], rowStart_[row + 1] - rowStart_[row]};
    }

private:
    int width_ = 0;
    int height_ = 0;
    AreaPart part_;
    int areaHeight_ = 0;
    std::vector<RowSpan> spans_;
    std::vector<size_t> rowStart_{0};  // runs of row y are spans_[rowStart_[y], rowStart_[y + 1])
};

}  // namespace lurvane
