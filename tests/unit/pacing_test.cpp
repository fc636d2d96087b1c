// The 20 ms schedule: late frames catch up, very late ones restart it, and
// the tick's wrap-around changes nothing.
#include <gtest/gtest.h>

#include "services/present.h"

namespace {

// Presents a frame that finished its work at `now`; returns when it shows.
uint32_t present_at(uint32_t* due, uint32_t now) {
    while (frame_must_wait(*due, now)) ++now;
    *due = next_frame_due(*due, now);
    return now;
}

TEST(Pacing, ALateFrameShowsAtOnceAndTheCadenceHolds) {
    for (uint32_t start : {1000u, 0xFFFFFFF0u}) {
        uint32_t due = start;
        EXPECT_EQ(present_at(&due, start + 5), start + 20);
        // This frame took 30 ms: shown at once, the next is due 10 ms later.
        EXPECT_EQ(present_at(&due, start + 50), start + 50);
        EXPECT_EQ(due, start + 40);
        EXPECT_EQ(present_at(&due, start + 51), start + 60);
    }
}

TEST(Pacing, AFrameFiveOrMorePeriodsLateRestartsTheSchedule) {
    for (uint32_t start : {1000u, 0xFFFFFFC0u}) {
        uint32_t due = start;
        // 150 ms of work: shown at once, and the next is due a full 20 ms on.
        EXPECT_EQ(present_at(&due, start + 150), start + 150);
        EXPECT_EQ(due, start + 150);
        EXPECT_EQ(present_at(&due, start + 151), start + 170);
        // Exactly five periods after the last due time (four periods late)
        // restarts; one millisecond less keeps the backlog.
        due = start;
        EXPECT_EQ(present_at(&due, start + 100), start + 100);
        EXPECT_EQ(due, start + 100);
        due = start;
        EXPECT_EQ(present_at(&due, start + 99), start + 99);
        EXPECT_EQ(due, start + 20);
    }
}

}  // namespace
