#include "waves/frame_composer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <span>
#include <utility>
#include <vector>

#include "support/fake_frame_host.h"
#include "waves/bounding_box.h"
#include "waves/frame_renderer.h"
#include "waves/wave_step.h"
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

// The compose rule pixel by pixel: `buffer` holds the unshifted pixels of `part` of a
// width x height area; every area pixel of the part that is inside the path shows the pixel of
// its column in the area row the table names (clamped to the area), black where the buffer
// does not hold that row.
void ReferenceCompose(const std::vector<PathPoint>& points, int width, int height, AreaPart part, const WaveTable& rows,
                      PixelBuffer& buffer, PixelBuffer& visible, int originX, int originY) {
    part = {std::max(part.Left, 0), std::max(part.Top, 0), std::min(part.Right, width), std::min(part.Bottom, height)};
    if (buffer.Width() == 0 || buffer.Height() == 0) return;
    for (int y = part.Top; y < part.Bottom; ++y) {
        const int source = std::clamp<int>(y < kWaveTableSize ? rows[static_cast<size_t>(y)] : y, 0, height - 1);
        for (int x = part.Left; x < part.Right && x - part.Left < buffer.Width(); ++x) {
            const int64_t vx = int64_t{originX} + x, vy = int64_t{originY} + y;
            if (vx < 0 || vy < 0 || vx >= visible.Width() || vy >= visible.Height() || !Inside(points, x, y)) continue;
            const int bufferRow = source - part.Top;
            const bool held = bufferRow >= 0 && bufferRow < buffer.Height();
            visible.Pixels()[static_cast<size_t>(vy * visible.Width() + vx)] =
                held ? buffer.Pixels()[static_cast<size_t>(bufferRow * buffer.Width() + x - part.Left)] : 0u;
        }
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
        // Usually the mask holds the whole area; sometimes only a part, which may reach past it.
        AreaPart part{0, 0, w, h};
        if (uniform(0, 2) == 0) {
            part.Left = uniform(-5, w);
            part.Top = uniform(-5, h);
            part.Right = uniform(part.Left, w + 5);
            part.Bottom = uniform(part.Top, h + 5);
        }
        const AreaPart kept{std::max(part.Left, 0), std::max(part.Top, 0), std::min(part.Right, w),
                            std::min(part.Bottom, h)};
        // Usually the buffer is the part's size; sometimes not, to check the clipping.
        const bool sameSize = uniform(0, 4) != 0;
        const int bw = sameSize ? std::max(kept.Width(), 0) : uniform(0, 60);
        const int bh = sameSize ? std::max(kept.Height(), 0) : uniform(0, 60);
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
        } else if (h > 0) {
            ComputeWaveTable({static_cast<int16_t>(uniform(0, 29)), 30, h, uniform(1, 20), uniform(1, 10),
                              uniform(0, 40), uniform(0, 2)},
                             rows);
        }

        PixelBuffer expected = visible;
        ReferenceCompose(points, w, h, part, rows, buffer, expected, originX, originY);
        mask.Build(points, w, h, part);
        ComposeFrame(mask, rows, buffer.View(), visible.View(), originX, originY);
        ASSERT_EQ(visible.Pixels(), expected.Pixels()) << "round " << round;
    }
}

TEST(PathMask, APartHoldsExactlyTheWholeMaskCutToIt) {
    std::mt19937 random(77);
    auto uniform = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    PathMask whole, part;
    for (int round = 0; round < 2000; ++round) {
        const int w = uniform(0, 70), h = uniform(0, 70);
        std::vector<PathPoint> points(static_cast<size_t>(uniform(1, 12)));
        for (PathPoint& p : points) {
            p = {uniform(-40, w + 40), uniform(-40, h + 40)};
            if (uniform(0, 20) == 0) p.X = uniform(0, 1) ? 2000000000 : -(1 << 24) - uniform(0, 100);
            if (uniform(0, 20) == 0) p.Y = uniform(0, 1) ? -2000000000 : (1 << 24) + uniform(0, 100);
        }
        const AreaPart cut{uniform(-10, w + 5), uniform(-10, h + 5), uniform(-10, w + 10), uniform(-10, h + 10)};
        whole.Build(points, w, h);
        part.Build(points, w, h, cut);

        const AreaPart kept{std::max(cut.Left, 0), std::max(cut.Top, 0), std::min(cut.Right, w),
                            std::min(cut.Bottom, h)};
        if (kept.Empty()) {
            ASSERT_EQ(part.Width(), 0) << round;
            ASSERT_EQ(part.Height(), 0) << round;
            continue;
        }
        ASSERT_EQ(part.Part(), kept) << round;
        ASSERT_EQ(part.Width(), kept.Width()) << round;
        ASSERT_EQ(part.Height(), kept.Height()) << round;
        ASSERT_EQ(part.AreaHeight(), h) << round;
        for (int y = 0; y < kept.Height(); ++y) {
            std::vector<RowSpan> expected;
            for (const RowSpan& span : whole.Row(kept.Top + y)) {
                const int x0 = std::max(span.X0, kept.Left), x1 = std::min(span.X1, kept.Right);
                if (x0 < x1) expected.push_back({x0 - kept.Left, x1 - kept.Left});
            }
            ASSERT_EQ(Spans(part, y), expected) << "round " << round << " row " << y;
        }
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

// --- A whole frame, wherever the path reaches: the renderer, given the wave buffer a saver
// window prepares, against waving the whole wave area as one picture. ---

// The saver window as the renderer sees it: a background, a visible surface, the wave buffer
// cut from the background as the window cuts it, a notice strip of its own height, and a screen
// that holds what was presented.
class PictureHost : public FrameHost {
public:
    PictureHost(const PixelBuffer& background, PixelBuffer shown, const BoundingBox& area, int stripRows)
        : visible(std::move(shown)), screen(visible), waveBuffer(WaveBufferOf(background, area)),
          background_(background), stripRows_(stripRows) {}
    double Now() override { return now; }
    bool HasParent() override { return true; }
    void SetFpsLabel(bool, const std::string&) override {}
    SurfaceView Visible() override { return visible.View(); }
    SurfaceView WaveBuffer() override { return waveBuffer.View(); }
    void DrawNotice(const std::string&) override {
        ++notices;
        DrawNoticeOn(visible);
    }
    BoundingBox EraseNoticeStrip() override {
        ++erases;
        strip_ = EraseStripOf(visible);
        return strip_;
    }
    // As the saver window does, the strip the notice changed goes out beside the frame's rows.
    void Present(std::span<const BoundingBox> dirty) override {
        std::vector<BoundingBox> shownBoxes(dirty.begin(), dirty.end());
        shownBoxes.push_back(std::exchange(strip_, {}));
        Show(shownBoxes);
    }
    // A host that composes each slice of rows in a buffer of its own and shows it from there,
    // or one that leaves the rows to the visible surface and Present. The buffer is refilled
    // with noise each time, as a reused one holds whatever the slice before left.
    SurfaceView SliceBuffer(int rows) override {
        if (!showsSlices) return {};
        slice.Resize(visible.Width(), rows);
        for (uint32_t& pixel : slice.Pixels()) pixel = static_cast<uint32_t>(++noise * 2654435761u);
        return slice.View();
    }
    void ShowSlice(std::span<const BoundingBox> rows, int top) override { Show(rows, slice, top); }
    // A host that copies rows from the wave buffer to the screen, clipped to the path's runs.
    void ClipToPath(std::span<const RowBand> runs) override {
        inRun.assign(screen.Pixels().size(), false);
        for (const RowBand& run : runs)
            for (int y = run.Top; y < run.Bottom; ++y)
                for (int x = run.Left; x < run.Right; ++x) inRun[static_cast<size_t>(y * screen.Width() + x)] = true;
    }
    bool CopiesShiftedRows() override { return copiesShifted; }
    void ShowShiftedRows(std::span<const ShiftedRows> blocks) override {
        for (const ShiftedRows& block : blocks)
            for (int y = block.Target.Top; y < block.Target.Bottom; ++y)
                for (int x = block.Target.Left; x < block.Target.Right; ++x)
                    if (inRun[static_cast<size_t>(y * screen.Width() + x)])
                        screen.Pixels()[static_cast<size_t>(y * screen.Width() + x)] =
                            waveBuffer.View().Row(block.SourceTop + y - block.Target.Top)[block.SourceLeft + x -
                                                                                           block.Target.Left];
    }
    void Show(std::span<const BoundingBox> boxes) { Show(boxes, visible, 0); }
    void Show(std::span<const BoundingBox> boxes, const PixelBuffer& from, int top) {
        for (const BoundingBox& box : boxes)
            for (int y = box.MinY; y < box.MaxY; ++y)
                for (int x = box.MinX; x < box.MaxX; ++x)
                    screen.Pixels()[static_cast<size_t>(y * visible.Width() + x)] =
                        from.Pixels()[static_cast<size_t>((y - top) * from.Width() + x)];
    }

    // What the erase and the notice do to a surface: the clean background back in the bottom
    // rows, then a line of "text" along the strip's top row.
    BoundingBox EraseStripOf(PixelBuffer& surface) const {
        const int top = std::max(surface.Height() - stripRows_, 0);
        std::copy(background_.Pixels().begin() + top * surface.Width(), background_.Pixels().end(),
                  surface.Pixels().begin() + top * surface.Width());
        return {0, static_cast<int16_t>(top), static_cast<int16_t>(surface.Width()),
                static_cast<int16_t>(surface.Height())};
    }
    void DrawNoticeOn(PixelBuffer& surface) const {
        const int top = surface.Height() - stripRows_;
        if (top < 0 || top >= surface.Height()) return;
        std::fill_n(surface.Pixels().begin() + top * surface.Width(), std::min(surface.Width(), 7), 0x00FFFFFFu);
    }

    double now = 100.0;
    int erases = 0, notices = 0;
    bool showsSlices = false, copiesShifted = false;
    uint32_t noise = 0;
    std::vector<bool> inRun;
    PixelBuffer visible, screen, waveBuffer, slice;

private:
    const PixelBuffer& background_;
    int stripRows_;
    BoundingBox strip_;
};

// Pixel (x, y) of the wave picture of the whole area: the background where the area lies on it,
// and black where it does not (nothing was ever copied there).
uint32_t WholeAreaPixel(const PixelBuffer& background, const BoundingBox& area, int x, int y) {
    const int64_t bx = int64_t{area.MinX} + x, by = int64_t{area.MinY} + y;
    if (bx < 0 || by < 0 || bx >= background.Width() || by >= background.Height()) return 0;
    return background.Pixels()[static_cast<size_t>(by * background.Width() + bx)];
}

int16_t Int16(int value) { return static_cast<int16_t>(std::clamp(value, -32768, 32767)); }

TEST(FrameComposer, FramesMatchWavingTheWholeAreaWherePathsReach) {
    std::mt19937 random(31337);
    auto uniform = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    auto extreme = [&](int near) {
        switch (uniform(0, 3)) {
        case 0: return -32768;
        case 1: return 32767;
        case 2: return uniform(-32768, 32767);
        default: return near + uniform(-100, 100);
        }
    };
    for (int round = 0; round < 700; ++round) {
        const int vw = uniform(0, 90), vh = uniform(0, 90);
        PixelBuffer background(vw, vh), shown(vw, vh);
        for (uint32_t& pixel : background.Pixels()) pixel = static_cast<uint32_t>(random());
        for (uint32_t& pixel : shown.Pixels()) pixel = static_cast<uint32_t>(random());

        BoundingBox area;
        switch (uniform(0, 2)) {
        case 0: {  // about the size of the surface, on it, partly or wholly off it
            area.MinX = Int16(uniform(-80, 100));
            area.MinY = Int16(uniform(-80, 100));
            area.MaxX = Int16(area.MinX + uniform(0, 60));
            area.MaxY = Int16(area.MinY + uniform(0, 60));
            break;
        }
        case 1: {  // tall, so that shifted rows come from far above or below the surface
            const int w = uniform(0, 200), h = uniform(100, 4000);
            area.MinX = Int16(uniform(-w - 10, 90));
            area.MinY = Int16(uniform(-h, 90));
            area.MaxX = Int16(area.MinX + w);
            area.MaxY = Int16(area.MinY + h);
            break;
        }
        default: {  // anywhere in the 16-bit range
            const int x0 = extreme(0), x1 = extreme(vw), y0 = extreme(0), y1 = extreme(vh);
            area = {Int16(std::min(x0, x1)), Int16(std::min(y0, y1)), Int16(std::max(x0, x1)), Int16(std::max(y0, y1))};
        }
        }
        const int w = area.Width(), h = area.Height();

        EngineSettings engine;
        engine.BoundMinX = area.MinX;
        engine.BoundMinY = area.MinY;
        engine.BoundMaxX = area.MaxX;
        engine.BoundMaxY = area.MaxY;
        engine.RelativePathPoints.resize(static_cast<size_t>(uniform(1, 9)));
        for (PathPoint& p : engine.RelativePathPoints) {
            if (uniform(0, 1) == 0)  // near the surface, so that the path often shows
                p = {-area.MinX + uniform(-20, vw + 20), -area.MinY + uniform(-20, vh + 20)};
            else
                p = {uniform(-15, w + 15), uniform(-15, h + 15)};
            if (uniform(0, 30) == 0) p.Y = uniform(0, 1) ? 2000000000 : -2000000000;
        }
        engine.WaveFreq = uniform(1, 40);
        engine.WaveAmp = uniform(0, 1) ? uniform(1, 3) : uniform(1, 300);  // few rows change, or most
        engine.WaveCount = uniform(1, 10);
        engine.WaveAsc = uniform(0, 40);
        engine.WaveDirection = uniform(0, 2);
        StartWavelor(engine);
        EngineSettings wholeEngine = engine;

        // The whole area's wave picture had no rows when it had no pixels.
        const int wholeRows = w > 0 && h > 0 ? h : 0;
        const int wholeColumns = wholeRows > 0 ? w : 0;
        std::vector<uint8_t> inside(static_cast<size_t>(vw) * static_cast<size_t>(vh));
        for (int vy = 0; vy < vh; ++vy)
            for (int vx = 0; vx < vw; ++vx) {
                const int x = vx - area.MinX, y = vy - area.MinY;
                inside[static_cast<size_t>(vy * vw + vx)] =
                    x >= 0 && x < wholeColumns && y >= 0 && y < wholeRows && Inside(engine.RelativePathPoints, x, y);
            }

        PictureHost host(background, shown, area, uniform(0, 40));
        PixelBuffer expected = std::move(shown);
        FrameRenderer renderer(engine, {});
        renderer.SetBandGap(uniform(0, 6));
        renderer.SetSliceRows(uniform(0, 1) ? 0 : uniform(1, 40));
        host.showsSlices = uniform(0, 1) == 0;
        host.copiesShifted = uniform(0, 1) == 0;
        if (uniform(0, 3) == 0) renderer.SetMaxClippedRuns(static_cast<size_t>(uniform(0, 40)));
        WaveStep wholeStep;
        const int16_t counter = static_cast<int16_t>(uniform(0, engine.WaveFreq - 1));
        renderer.Step().WaveCounter = counter;
        wholeStep.WaveCounter = counter;
        bool preview = false, manual = uniform(0, 1) == 0;
        const double tick = uniform(0, 1) ? 0.05 : 1.0;  // a manual start's notice ends within a round
        // Often long enough for the counter to wrap around to 0.
        for (int frame = 0, frames = uniform(1, engine.WaveFreq + 3); frame < frames; ++frame) {
            const int erasesBefore = host.erases, noticesBefore = host.notices;
            if (uniform(0, 30) == 0) renderer.RedrawAll();
            renderer.RenderFrame(preview, manual, host);
            host.now += tick;

            // Every frame a full recomposition, then what the notice did.
            wholeStep.Run(wholeEngine, wholeRows);
            for (int vy = 0; vy < vh; ++vy)
                for (int vx = 0; vx < vw; ++vx) {
                    if (!inside[static_cast<size_t>(vy * vw + vx)]) continue;
                    const int y = vy - area.MinY;
                    const int tabled = y < kWaveTableSize ? wholeStep.Rows()[static_cast<size_t>(y)] : y;
                    expected.Pixels()[static_cast<size_t>(vy * vw + vx)] =
                        WholeAreaPixel(background, area, vx - area.MinX, std::clamp(tabled, 0, h - 1));
                }
            if (host.erases > erasesBefore) host.EraseStripOf(expected);
            if (host.notices > noticesBefore) host.DrawNoticeOn(expected);
            ASSERT_EQ(host.screen.Pixels(), expected.Pixels()) << "presented, round " << round << " frame " << frame;
            // What a paint then copies from the visible surface.
            const bool painted = uniform(0, 3) == 0 || frame == frames - 1;
            if (painted) renderer.UpdateVisible(host);
            if ((host.showsSlices || host.copiesShifted) && !painted) continue;
            ASSERT_EQ(host.visible.Pixels(), expected.Pixels()) << "round " << round << " frame " << frame;
        }
    }
}

}  // namespace
}  // namespace lurvane
