#include "app/Clock.h"

#include <gtest/gtest.h>

namespace zuk {

TEST(VirtualClock, SleepJumpsForwardNeverBack) {
    VirtualClock clock;
    clock.sleepUntil(3500);
    EXPECT_EQ(clock.monotonicMs(), 3500);
    clock.sleepUntil(100);
    EXPECT_EQ(clock.monotonicMs(), 3500);
    EXPECT_EQ(clock.now().time(), QTime(9, 0, 3, 500));
}

} // namespace zuk
