#include "imaging/monitor_layout.h"

#include <gtest/gtest.h>

namespace lurvane {
namespace {

using Monitors = std::vector<MonitorArea>;

TEST(MonitorLayout, ThePrimaryComesFirstAndTheOthersKeepTheSystemsOrder) {
    const MonitorArea left{-1280, 0, 1280, 1024, false}, primary{0, 0, 1920, 1080, true},
        above{300, -900, 1600, 900, false};
    const Monitors planned = PlanMonitors({left, primary, above}, 800, 600);
    ASSERT_EQ(planned.size(), 3u);
    EXPECT_EQ(planned[0], primary);
    EXPECT_EQ(planned[1], left);
    EXPECT_EQ(planned[2], above);

    // Two monitors, the primary listed second and to the right of a portrait one.
    const MonitorArea portrait{-1080, -400, 1080, 1920, false}, wide{0, 0, 2560, 1440, true};
    EXPECT_EQ(PlanMonitors({portrait, wide}, 800, 600), (Monitors{wide, portrait}));
}

TEST(MonitorLayout, EmptyMirroredOrPrimaryLessListsStillGiveExactlyOnePrimary) {
    EXPECT_EQ(PlanMonitors({}, 1024, 768), (Monitors{{0, 0, 1024, 768, true}}));
    EXPECT_EQ(PlanMonitors({{0, 0, 0, 768, true}, {5, 5, 100, -1, false}}, 640, 480), (Monitors{{0, 0, 640, 480, true}}));

    // A mirrored display reports the primary's rectangle again: one run, still the primary.
    const MonitorArea primary{0, 0, 1920, 1080, true};
    EXPECT_EQ(PlanMonitors({{0, 0, 1920, 1080, false}, primary}, 1, 1), (Monitors{primary}));

    // No monitor says it is the primary: the first usable one becomes it, and only it.
    const Monitors planned = PlanMonitors({{0, 0, 0, 0, false}, {-800, 0, 800, 600, false}, {0, 0, 1024, 768, false}}, 1, 1);
    ASSERT_EQ(planned.size(), 2u);
    EXPECT_EQ(planned[0], (MonitorArea{-800, 0, 800, 600, true}));
    EXPECT_FALSE(planned[1].Primary);
}

}  // namespace
}  // namespace lurvane
