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

TEST(BoundingBox, OnScreenPartIsWhatASurfaceShowsOfTheArea) {
    // Area pixel (x, y) lies at surface pixel (MinX + x, MinY + y).
    EXPECT_EQ(OnScreenPart({10, 20, 50, 60}, 1920, 1080), (AreaPart{0, 0, 40, 40}));
    EXPECT_EQ(OnScreenPart({-15, -5, 50, 60}, 40, 30), (AreaPart{15, 5, 55, 35}));
    EXPECT_EQ(OnScreenPart({-32768, -32768, 32767, 32767}, 1920, 1080), (AreaPart{32768, 32768, 34688, 33848}));
    EXPECT_EQ(OnScreenPart({1900, 1000, 32767, 32767}, 1920, 1080), (AreaPart{0, 0, 20, 80}));
    // Nothing on the surface, or no pixels at all: an empty part.
    for (const BoundingBox& off : {BoundingBox{-50, 0, 0, 10}, BoundingBox{40, 0, 90, 10}, BoundingBox{0, 30, 9, 99},
                                   BoundingBox{-32768, -32768, -1, -1}, BoundingBox{5, 5, 5, 20},
                                   BoundingBox{5, 5, 20, 5}})
        EXPECT_EQ(OnScreenPart(off, 40, 30), AreaPart{}) << off.MinX << "," << off.MinY;
    EXPECT_EQ(OnScreenPart({0, 0, 10, 10}, 0, 30), AreaPart{});
}

}  // namespace
}  // namespace lurvane
