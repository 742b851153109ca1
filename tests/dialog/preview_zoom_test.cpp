#include "dialog/preview_zoom.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace lurvane
