#include "imaging/picture_fit.h"

#include <gtest/gtest.h>

namespace lurvane {
namespace {

using Placement = PicturePlacement;

TEST(PictureFit, ProportionalFitSpansOneSideAndCentresTheOther) {
    EXPECT_EQ(FitPicture(1280, 720, 1920, 1080, false, 100), (Placement{0, 0, 1280, 720}));
    EXPECT_EQ(FitPicture(1280, 1024, 1600, 1200, false, 100), (Placement{0, 32, 1280, 960}));
    EXPECT_EQ(FitPicture(1280, 1024, 1000, 2000, false, 100), (Placement{384, 0, 512, 1024}));
}

TEST(PictureFit, SizePercentScalesTheFitAndMaximizeIgnoresIt) {
    EXPECT_EQ(FitPicture(1280, 1024, 1600, 1200, false, 50), (Placement{320, 272, 640, 480}));
    EXPECT_EQ(FitPicture(1280, 1024, 1600, 1200, true, 50), (Placement{0, 0, 1280, 1024}));
    EXPECT_EQ(FitPicture(1280, 1024, 1000, 2000, true, 100), (Placement{0, 0, 1280, 1024}));
}

TEST(PictureFit, HalvesRoundToEven) {
    EXPECT_EQ(FitPicture(101, 100, 100, 100, false, 100), (Placement{0, 0, 100, 100}));  // margin 0.5
    EXPECT_EQ(FitPicture(103, 100, 100, 100, false, 100), (Placement{2, 0, 100, 100}));  // margin 1.5
    EXPECT_EQ(FitPicture(100, 100, 100, 100, false, 5), (Placement{48, 48, 5, 5}));      // margin 47.5
    EXPECT_EQ(FitPicture(100, 100, 100, 100, false, 25), (Placement{38, 38, 25, 25}));   // margin 37.5
}

TEST(PictureFit, UnusablePicturesOrSizesGiveNoPlacement) {
    EXPECT_FALSE(FitPicture(1280, 1024, 0, 100, false, 100));
    EXPECT_FALSE(FitPicture(1280, 1024, 100, 0, true, 100));
    EXPECT_FALSE(FitPicture(1280, 1024, -4, 100, false, 100));
    EXPECT_FALSE(FitPicture(1280, 1024, 100, 100, false, 2000000000));
}

}  // namespace
}  // namespace lurvane
