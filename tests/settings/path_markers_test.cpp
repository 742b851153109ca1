#include "settings/path_markers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include <string>

namespace lurvane {
namespace {

// Markers whose centres lie at the given points (corner = centre - 97.5).
PathMarkers CentredAt(std::initializer_list<std::pair<float, float>> centres) {
    PathMarkers markers;
    bool first = true;
    for (auto [x, y] : centres) {
        if (first) markers.Move(0, x - 97.5f, y - 97.5f);
        else markers.AddPathPoint(x - 97.5f, y - 97.5f);
        first = false;
    }
    return markers;
}

std::string Lefts(const PathMarkers& markers) {
    std::string text;
    for (const MarkerPosition& marker : markers.Positions()) text += std::to_string(static_cast<int>(marker.Left)) + " ";
    return text;
}

TEST(PathMarkers, InsertAndRemoveShiftPositionsAlongThePath) {
    PathMarkers markers;
    for (float x : {100.f, 200.f, 300.f}) markers.AddPathPoint(x, 0);
    ASSERT_TRUE(markers.InsertPathPoint(1, 597.5f, 97.5f));
    EXPECT_EQ(Lefts(markers), "0 500 100 200 300 ");
    EXPECT_FALSE(markers.InsertPathPoint(9, 0, 0));

    ASSERT_TRUE(markers.RemovePathPoint(0));
    EXPECT_EQ(Lefts(markers), "500 100 200 300 ");
    EXPECT_FALSE(markers.RemovePathPoint(4));

    markers.ClearPathPoints();
    EXPECT_EQ(Lefts(markers), "500 ");
    EXPECT_FALSE(markers.RemovePathPoint(0));  // marker 0 is never removed
}

TEST(PathMarkers, AddPointNeedsAClickStrictlyInsideASegmentsRectangle) {
    PathMarkers single;
    EXPECT_FALSE(single.AddPointOnSegment(10, 10));

    PathMarkers markers = CentredAt({{1000, 1000}, {2000, 2000}, {3000, 1000}});
    EXPECT_FALSE(markers.AddPointOnSegment(1000, 1500));  // on the line x = minX
    EXPECT_FALSE(markers.AddPointOnSegment(1500, 2000));  // on the line y = maxY
    EXPECT_EQ(markers.Count(), 3u);
    EXPECT_TRUE(markers.AddPointOnSegment(1001, 1500));
    ASSERT_EQ(markers.Count(), 4u);
    EXPECT_DOUBLE_EQ(markers.Centre(1).X, 1001);
    EXPECT_DOUBLE_EQ(markers.Centre(1).Y, 1500);

    // The closing segment back to marker 0 is not offered, and a level segment takes nothing.
    PathMarkers open = CentredAt({{0, 0}, {500, 0}, {500, 500}});
    EXPECT_FALSE(open.AddPointOnSegment(250, 250));
    EXPECT_FALSE(open.AddPointOnSegment(250, 0));

    // Overlapping rectangles: the segment with the lower index wins.
    PathMarkers overlap = CentredAt({{0, 0}, {1000, 1000}, {0, 0}});
    ASSERT_TRUE(overlap.AddPointOnSegment(500, 500));
    EXPECT_DOUBLE_EQ(overlap.Centre(1).X, 500);
    EXPECT_DOUBLE_EQ(overlap.Centre(2).X, 1000);
}

TEST(PathMarkers, RemovalKeepsThreePointsAndResetKeepsTheFirstThree) {
    PathMarkers markers = CentredAt({{0, 0}, {10, 0}, {20, 0}});
    EXPECT_FALSE(markers.RemovePointKeepingThree(1));
    EXPECT_EQ(markers.Count(), 3u);
    for (float x = 30; x < 100; x += 10) markers.AddPathPoint(x, 0);
    ASSERT_EQ(markers.Count(), 10u);
    EXPECT_TRUE(markers.RemovePointKeepingThree(5));
    markers.ResetToThreePoints();
    EXPECT_EQ(Lefts(markers), "-97 -87 -77 ");
}

TEST(PathMarkers, ScalingByTwoAndThenByOneHalfReturnsEveryMarker) {
    PathMarkers markers = CentredAt({{0, 0}, {1234.5f, 77}, {-40, 3000}});
    const auto before = markers.Positions();
    markers.ScalePathPoints(2, 2);
    EXPECT_DOUBLE_EQ(markers.Centre(1).X, 2469);
    markers.ScalePathPoints(0.5, 0.5);
    EXPECT_EQ(markers.Positions(), before);
}

TEST(PathMarkers, ADraggedCentreFollowsThePointerStaysOnThePreviewAndNeverDrifts) {
    PathMarkers markers = CentredAt({{0, 0}, {100, 100}});
    std::mt19937 random(7);
    std::uniform_real_distribution<double> pointer(-3000, 13000);
    for (int i = 0; i < 1000; ++i) {
        const double x = pointer(random), y = pointer(random);
        ASSERT_TRUE(markers.DragTo(1, x, y, 9990, 7470));
        const MarkerCentre centre = markers.Centre(1);
        EXPECT_NEAR(centre.X, std::clamp(x, 0.0, 9990.0), 0.5) << x;
        EXPECT_NEAR(centre.Y, std::clamp(y, 0.0, 7470.0), 0.5) << y;
        EXPECT_EQ(markers.At(1).Left, std::nearbyint(markers.At(1).Left));
    }
    EXPECT_FALSE(markers.DragTo(2, 0, 0, 9990, 7470));
    // Halves go to even: a pointer at 150 twips puts the corner at 52.5, so 52.
    markers.DragTo(0, 150, 165, 4995, 3735);
    EXPECT_EQ(markers.At(0), (MarkerPosition{52, 68}));
    // A pointer that creeps a fifteenth of a pixel at a time and comes back finds the marker
    // where it was.
    markers.DragTo(0, 1000, 1000, 4995, 3735);
    const MarkerPosition start = markers.At(0);
    for (int i = 0; i < 300; ++i) markers.DragTo(0, 1000 + i, 1000 + i, 4995, 3735);
    for (int i = 300; i >= 0; --i) markers.DragTo(0, 1000 + i, 1000 + i, 4995, 3735);
    EXPECT_EQ(markers.At(0), start);
}

TEST(PathMarkers, AKeyboardMoveIsADragOfTheCentreAndInsertUsesTheAddRuleOnTheNextSegment) {
    PathMarkers markers = CentredAt({{1000, 1000}, {2000, 2000}, {3000, 1000}});
    // A pixel at zoom 2 and 96 DPI: 15 twips of the zoomed preview, kept in whole twips.
    ASSERT_TRUE(markers.MoveBy(1, 15, -7.5, 9990, 7470));
    EXPECT_EQ(markers.At(1), (MarkerPosition{1918, 1895}));  // 1917.5 goes to even
    // Shift's ten pixels stop with the centre on the preview's edge, as a drag does.
    for (int i = 0; i < 40; ++i) markers.MoveBy(2, 150, 0, 4995, 3735);
    EXPECT_DOUBLE_EQ(markers.Centre(2).X, 4995.5);
    EXPECT_FALSE(markers.MoveBy(3, 15, 15, 4995, 3735));

    // Insert after point 0 puts a point in the middle of its segment; the last point has none.
    PathMarkers path = CentredAt({{1000, 1000}, {2000, 2000}, {3000, 1000}});
    ASSERT_TRUE(path.AddPointAfter(0));
    ASSERT_EQ(path.Count(), 4u);
    EXPECT_DOUBLE_EQ(path.Centre(1).X, 1500);
    EXPECT_DOUBLE_EQ(path.Centre(1).Y, 1500);
    EXPECT_FALSE(path.AddPointAfter(3));
    PathMarkers level = CentredAt({{0, 500}, {1000, 500}, {1000, 900}});
    EXPECT_FALSE(level.AddPointAfter(0));
    EXPECT_EQ(level.Count(), 3u);
}

TEST(PathPointsText, WritesRoundedCornersAndReadsTheListRules) {
    PathMarkers markers;
    markers.Move(0, 10.5f, -3.5f);
    markers.AddPathPoint(11.5f, 40000);  // beyond 16 bits: written as the nearest 16-bit number
    EXPECT_EQ(GetPathPointsText(markers), "10,-4;12,32767");

    PathMarkers read;
    read.Move(0, 7, 8);
    EXPECT_FALSE(SetPathPointsFromText(read, ";500;abc,def;;1,2,3;40000,1"));
    EXPECT_EQ(GetPathPointsText(read), "7,8;500,0;0,0;1,2");

    PathMarkers many;
    std::string list;
    for (int i = 0; i < 1200; ++i) list += std::to_string(i) + "," + std::to_string(i) + ";";
    EXPECT_TRUE(SetPathPointsFromText(many, list));
    EXPECT_EQ(many.Count(), 1000u);
    EXPECT_FLOAT_EQ(many.At(999).Left, 999);
}

}  // namespace
}  // namespace lurvane
