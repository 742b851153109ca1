#include "waves/frame_composer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "waves/wave_table.h"

namespace lurvane {
namespace {

// --- Reference: the documented coverage rule one pixel at a time, then the plain pipeline of
// shifting every row into a full wave picture and composing it through a mask bitmap. ---

struct P64 {
    int64_t X, Y;
};

P64 ClampedPoint(const PathPoint& p) {
    constexpr int64_t limit = int64_t{1} << 24;
    return {std::clamp<int64_t>(p.X, -limit, limit), std::clamp<int64_t>(p.Y, -limit, limit)};
}

bool OnEdge(P64 a, P64 b, int64_t x, int64_t y) {
    const int64_t dx = b.X - a.X, dy = b.Y - a.Y;
    if (std::abs(dx) >= std::abs(dy)) {
        if (b.X < a.X) return OnEdge(b, a, x, y);
        if (x < a.X || x > b.X) return false;
        if (dx == 0) return y == a.Y;
        const int64_t error = 2 * (x - a.X) * dy - 2 * (y - a.Y) * dx;
        return -dx <= error && error < dx;
    }
    if (b.Y < a.Y) return OnEdge(b, a, x, y);
    if (y < a.Y || y > b.Y) return false;
    const int64_t error = 2 * (y - a.Y) * dx - 2 * (x - a.X) * dy;
    return -dy <= error && error < dy;
}

bool Inside(const std::vector<PathPoint>& points, int64_t x, int64_t y) {
    const size_t n = points.size();
    bool odd = false;
    for (size_t k = 0; k < n; ++k) {
        P64 a = ClampedPoint(points[k]);
        P64 b = ClampedPoint(points[(k + 1) % n]);
        if (OnEdge(a, b, x, y)) return true;
        if (a.Y == b.Y) continue;
        if (b.Y < a.Y) std::swap(a, b);
        if (y < a.Y || y >= b.Y) continue;
        // crossing a.X + (y - a.Y)(b.X - a.X)/(b.Y - a.Y) lies at or left of x
        if (a.X * (b.Y - a.Y) + (y - a.Y) * (b.X - a.X) <= x * (b.Y - a.Y)) odd = !odd;
    }
    return odd;
}

void ReferenceCompose(const std::vector<PathPoint>& points, int maskWidth, int maskHeight, const WaveTable& rows,
                      PixelBuffer& buffer, PixelBuffer& visible, int originX, int originY) {
    const int w = std::min(maskWidth, buffer.Width());
    const int h = std::min(maskHeight, buffer.Height());
    std::vector<uint32_t> shifted(static_cast<size_t>(std::max(w, 0)) * static_cast<size_t>(std::max(h, 0)));
    for (int y = 0; y < h; ++y) {
        const int source = std::clamp<int>(y < kWaveTableSize ? rows[static_cast<size_t>(y)] : y, 0, buffer.Height() - 1);
        for (int x = 0; x < w; ++x)
            shifted[static_cast<size_t>(y * w + x)] = buffer.Pixels()[static_cast<size_t>(source * buffer.Width() + x)];
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int vx = originX + x, vy = originY + y;
            if (vx < 0 || vy < 0 || vx >= visible.Width() || vy >= visible.Height()) continue;
            if (Inside(points, x, y))
                visible.Pixels()[static_cast<size_t>(vy * visible.Width() + vx)] = shifted[static_cast<size_t>(y * w + x)];
        }
}

// --- Fast path checks ---

PixelBuffer Numbered(int width, int height, uint32_t base) {
    PixelBuffer buffer(width, height);
    for (size_t i = 0; i < buffer.Pixels().size(); ++i) buffer.Pixels()[i] = base + static_cast<uint32_t>(i);
    return buffer;
}

std::vector<RowSpan> Spans(const PathMask& mask, int y) {
    auto row = mask.Row(y);
    return {row.begin(), row.end()};
}

TEST(PathMask, RectangleCoversItsBorderRowsAndColumns) {
    PathMask mask;
    const std::vector<PathPoint> rectangle = {{2, 1}, {6, 1}, {6, 4}, {2, 4}};
    mask.Build(rectangle, 10, 6);
    EXPECT_TRUE(Spans(mask, 0).empty());
    for (int y = 1; y <= 4; ++y) EXPECT_EQ(Spans(mask, y), (std::vector<RowSpan>{{2, 7}})) << y;
    EXPECT_TRUE(Spans(mask, 5).empty());
}

TEST(PathMask, DegeneratePathsKeepOnlyTheirOutline) {
    PathMask mask;
    mask.Build(std::vector<PathPoint>{{3, 2}}, 8, 8);
    for (int y = 0; y < 8; ++y) EXPECT_EQ(Spans(mask, y).size(), y == 2 ? 1u : 0u);
    EXPECT_EQ(Spans(mask, 2), (std::vector<RowSpan>{{3, 4}}));
    mask.Build(std::vector<PathPoint>{{-5, 4}, {20, 4}}, 8, 8);  // zero area, off both sides
    EXPECT_EQ(Spans(mask, 4), (std::vector<RowSpan>{{0, 8}}));
    mask.Build(std::vector<PathPoint>{}, 8, 8);
    for (int y = 0; y < 8; ++y) EXPECT_TRUE(Spans(mask, y).empty());
    mask.Build(std::vector<PathPoint>{{0, 0}, {4, 4}}, 0, 8);
    EXPECT_EQ(mask.Height(), 0);
}

TEST(PathMask, CrossingLoopsLeaveTheirOverlapOut) {
    // Two overlapping squares traced as one path: the even-odd rule cuts out the overlap.
    const std::vector<PathPoint> loops = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0},
                                          {5, 5}, {15, 5}, {15, 15}, {5, 15}, {5, 5}};
    PathMask mask;
    mask.Build(loops, 20, 20);
    EXPECT_EQ(Spans(mask, 7), (std::vector<RowSpan>{{0, 6}, {10, 16}}));  // 6..9 is the overlap
    EXPECT_EQ(Spans(mask, 2), (std::vector<RowSpan>{{0, 11}}));
}

TEST(FrameComposer, WhitePixelsOutsideThePathDoNotWave) {
    PixelBuffer buffer(8, 8, 0x00FFFFFF);  // a pure white picture with one dark row
    std::fill_n(buffer.Pixels().begin() + 3 * 8, 8, 0x00102030u);
    PixelBuffer visible = buffer;
    WaveTable rows{};
    for (int i = 0; i < 8; ++i) rows[static_cast<size_t>(i)] = static_cast<int16_t>(3);
    PathMask mask;
    mask.Build(std::vector<PathPoint>{{0, 0}, {3, 0}, {3, 7}, {0, 7}}, 8, 8);
    ComposeFrame(mask, rows, buffer.View(), visible.View(), 0, 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(visible.Pixels()[static_cast<size_t>(y * 8 + x)], x <= 3 ? 0x00102030u : buffer.Pixels()[static_cast<size_t>(y * 8 + x)])
                << x << "," << y;
}

TEST(FrameComposer, MatchesTheReferenceOnRandomPicturesPathsAndPhases) {
    std::mt19937 random(20261208);
    auto uniform = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    PathMask mask;
    for (int round = 0; round < 1500; ++round) {
        const int w = uniform(0, 60), h = uniform(0, 60);
        // Usually the buffer is the area's size; sometimes not, to check the clipping.
        const bool sameSize = uniform(0, 4) != 0;
        const int bw = sameSize ? w : uniform(0, 60), bh = sameSize ? h : uniform(0, 60);
        PixelBuffer buffer(bw, bh);
        for (uint32_t& pixel : buffer.Pixels()) pixel = static_cast<uint32_t>(random());
        PixelBuffer visible(uniform(0, 90), uniform(0, 90));
        for (uint32_t& pixel : visible.Pixels()) pixel = static_cast<uint32_t>(random());
        const int originX = uniform(-70, 90), originY = uniform(-70, 90);

        std::vector<PathPoint> points(static_cast<size_t>(uniform(1, 9)));
        for (PathPoint& p : points) {
            p = {uniform(-15, w + 15), uniform(-15, h + 15)};
            if (uniform(0, 30) == 0) p.X = uniform(0, 1) ? 2000000000 : -2000000000;
        }

        WaveTable rows{};
        if (uniform(0, 5) == 0) {
            for (int16_t& row : rows) row = static_cast<int16_t>(uniform(-10, 80));  // stale or foreign rows
        } else if (bh > 0) {
            ComputeWaveTable({static_cast<int16_t>(uniform(0, 29)), 30, bh, uniform(1, 20), uniform(1, 10),
                              uniform(0, 40), uniform(0, 2)},
                             rows);
        }

        PixelBuffer expected = visible;
        ReferenceCompose(points, w, h, rows, buffer, expected, originX, originY);
        mask.Build(points, w, h);
        ComposeFrame(mask, rows, buffer.View(), visible.View(), originX, originY);
        ASSERT_EQ(visible.Pixels(), expected.Pixels()) << "round " << round;
    }
}

TEST(FrameComposer, RowsPastTheTableAreNotShifted) {
    PixelBuffer buffer = Numbered(2, kWaveTableSize + 3, 0);
    PixelBuffer visible(2, kWaveTableSize + 3);
    WaveTable rows{};  // every tabled row shows row 0
    PathMask mask;
    mask.Build(std::vector<PathPoint>{{0, 0}, {1, 0}, {1, kWaveTableSize + 2}, {0, kWaveTableSize + 2}}, 2,
               kWaveTableSize + 3);
    ComposeFrame(mask, rows, buffer.View(), visible.View(), 0, 0);
    EXPECT_EQ(visible.Pixels()[2 * 4000], 0u);
    EXPECT_EQ(visible.Pixels()[2 * 4001], buffer.Pixels()[2 * 4001]);
}

}  // namespace
}  // namespace lurvane
