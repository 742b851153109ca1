#include "dialog/preview_zoom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace lurvane {
namespace {

constexpr double kViewport = 4995;

TEST(PreviewZoom, ScrollValuesSlideThePreviewFromItsStartToItsEndAtEveryZoom) {
    EXPECT_EQ(PreviewScrollMaximum(1), 0);
    EXPECT_EQ(ZoomLabel(1, ","), "1x");
    EXPECT_EQ(ZoomLabel(2.5, ","), "2,5x");
    EXPECT_EQ(ZoomLabel(3.5, "."), "3.5x");
    EXPECT_EQ(PreviewOffset(3, 0, kViewport, kViewport), 0);
    for (double zoom = 1.5; zoom <= 4; zoom += 0.5) {
        const int maximum = PreviewScrollMaximum(zoom);
        EXPECT_EQ(maximum, static_cast<int>(zoom * 2));
        const double preview = zoom * kViewport;
        EXPECT_EQ(PreviewOffset(0, maximum, preview, kViewport), 0);
        // At the end the preview's far edge meets the viewport's.
        EXPECT_DOUBLE_EQ(PreviewOffset(maximum, maximum, preview, kViewport) + preview, kViewport) << zoom;
        for (int value = 1; value <= maximum; ++value)
            EXPECT_LT(PreviewOffset(value, maximum, preview, kViewport),
                      PreviewOffset(value - 1, maximum, preview, kViewport));
    }
}

TEST(PreviewZoom, TheGrabToolTakesOneStepPerMoveAndOnlyPastAWholeStep) {
    const GrabAxis axis{2 * kViewport, kViewport, 4};
    EXPECT_EQ(axis.Step(), 1249);  // 4995 / 4, whole twips
    double grab = 1000;
    EXPECT_EQ(axis.Dragged(2249, grab, 2), 2) << "exactly one step is not enough";
    EXPECT_EQ(grab, 1000);
    EXPECT_EQ(axis.Dragged(9000, grab, 2), 1) << "a long move still takes one step";
    EXPECT_EQ(grab, 9000);
    EXPECT_EQ(axis.Dragged(12000, grab, 0), 0) << "never below the start";
    EXPECT_EQ(axis.Dragged(0, grab, 4), 4) << "never past the end";
    EXPECT_EQ(grab, 0);
    double still = 50;
    EXPECT_EQ((GrabAxis{kViewport, kViewport, 0}).Dragged(9000, still, 0), 0) << "zoom 1 scrolls nothing";
}

TEST(PreviewZoom, AZoomClickKeepsTheClickedPartInView) {
    // Zoom in from 1 to 1.5 at the preview's middle: the middle scroll value of 0 to 3.
    EXPECT_EQ(ZoomInScrollValue(1.5, 1, kViewport / 2, 1.5 * kViewport, 3), 2);  // 1.5 rounds to even
    EXPECT_EQ(ZoomInScrollValue(4, 3.5, 3.5 * kViewport, 4 * kViewport, 8), 8);
    EXPECT_EQ(ZoomInScrollValue(2, 1.5, 0, 2 * kViewport, 4), 0);
    // Zoom out is not scaled by the ratio, keeps within the maximum, and gives 0 at zoom 1.
    EXPECT_EQ(ZoomOutScrollValue(2 * kViewport, 1.5 * kViewport, 3), 3);
    EXPECT_EQ(ZoomOutScrollValue(4 * kViewport, 3 * kViewport, 6), 6);
    EXPECT_EQ(ZoomOutScrollValue(2000, kViewport, 0), 0);
}

// Every rule gives a defined value whatever it is handed: no NaN or out-of-range number reaches
// an integer, no scroll value overflows, and a scroll value stays on its bar.
struct HostileCall {
    const char* Name;
    std::function<double()> Call;
    double Expected;
};

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kIntMin = std::numeric_limits<int>::min();
double Dragged(double pointer, int value) {
    double grab = 0;
    return GrabAxis{2 * kViewport, kViewport, 4}.Dragged(pointer, grab, value);
}

TEST(PreviewZoom, AnyInputGivesTheDefinedValue) {
    const HostileCall calls[] = {
        // A preview without a positive, finite size, or a place that is no number, shows the start.
        {"in, size 0 at 0", [] { return ZoomInScrollValue(1.5, 1, 0, 0, 3); }, 0},
        {"in, size 0 at 100", [] { return ZoomInScrollValue(1.5, 1, 100, 0, 3); }, 0},
        {"in, size NaN", [] { return ZoomInScrollValue(1.5, 1, 100, kNan, 3); }, 0},
        {"in, grab NaN", [] { return ZoomInScrollValue(1.5, 1, kNan, kViewport, 3); }, 0},
        {"in, from zoom 0 at 0", [] { return ZoomInScrollValue(1.5, 0, 0, kViewport, 3); }, 0},
        {"out, size 0 at 0", [] { return ZoomOutScrollValue(0, 0, 3); }, 0},
        // A place beyond the end of a real preview keeps to that end of the bar.
        {"in, grab inf", [] { return ZoomInScrollValue(1.5, 1, kInf, kViewport, 3); }, 3},
        {"out, tiny size", [] { return ZoomOutScrollValue(1, 1e-320, kIntMax); }, kIntMax},
        // The scroll range and the offsets.
        {"maximum of NaN", [] { return PreviewScrollMaximum(kNan); }, 0},
        {"maximum of inf", [] { return PreviewScrollMaximum(kInf); }, kIntMax},
        {"offset of the lowest value", [] { return PreviewOffset(kIntMin, 4, 2 * kViewport, kViewport); },
         -static_cast<double>(kIntMin) * kViewport / 4},
        // The grab tool steps from a value off its bar without overflowing, onto the bar.
        {"grab right from the highest value", [] { return Dragged(5000, kIntMax); }, 3},
        {"grab left from the highest value", [] { return Dragged(-5000, kIntMax); }, 4}};
    for (const HostileCall& call : calls) EXPECT_EQ(call.Call(), call.Expected) << call.Name;
}

}  // namespace
}  // namespace lurvane
