#include "waves/bounding_box.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "util/text_rules.h"

namespace lurvane {
namespace {

TEST(BoundingBox, OnePointGivesAnEmptyBoxAtThatPoint) {
    const std::vector<PathPoint> points = {{-12, 40}};
    EXPECT_EQ(GetBoundingBox(points), (BoundingBox{-12, 40, -12, 40}));
}

TEST(BoundingBox, AnyOrderGivesTheSameBoxWithNegativesIncluded) {
    std::vector<PathPoint> points = {{5, -3}, {-20, 7}, {13, 2}, {0, -30}, {-1, 31}};
    const BoundingBox expected{-20, -30, 13, 31};
    std::sort(points.begin(), points.end(), [](auto a, auto b) { return a.X < b.X; });
    do {
        ASSERT_EQ(GetBoundingBox(points), expected);
    } while (std::next_permutation(points.begin(), points.end(), [](auto a, auto b) { return a.X < b.X; }));
}

TEST(BoundingBox, RefusesPathsItCannotHold) {
    EXPECT_THROW(GetBoundingBox(std::vector<PathPoint>{}), std::invalid_argument);
    EXPECT_THROW(GetBoundingBox(std::vector<PathPoint>{{0, 0}, {40000, 1}}), RangeError);
    EXPECT_THROW(GetBoundingBox(std::vector<PathPoint>{{0, -32769}}), RangeError);
    EXPECT_EQ(GetBoundingBox(std::vector<PathPoint>{{-32768, 32767}}), (BoundingBox{-32768, 32767, -32768, 32767}));
}

}  // namespace
}  // namespace lurvane
