#include "util/win32/animation_timer.h"

#include <gtest/gtest.h>

namespace lurvane::win32 {
namespace {

// A loop that sleeps as long as the timer says until a frame is due wakes a few times, rather
// than spinning through the last fraction of a millisecond before each frame.
TEST(AnimationTimer, SleepingAsLongAsItSaysReachesEachFrameWithoutSpinning) {
    AnimationTimer timer;
    timer.Start(20);
    for (int frame = 0; frame < 5; ++frame) {
        int wakes = 0;
        while (!timer.TakeDue()) {
            Sleep(timer.MillisecondsUntilDue());
            ++wakes;
        }
        EXPECT_LE(wakes, 4) << "frame " << frame;
    }
}

}  // namespace
}  // namespace lurvane::win32
