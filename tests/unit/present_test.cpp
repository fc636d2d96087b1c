// The 20 ms schedule and the frame wait: late frames catch up and very late
// ones restart the schedule, the tick's wrap-around changes nothing; a host's
// wait_until waits once per frame to the due tick, messages that cut a wait
// short are taken at once, and frames are shown on the same ticks as with the
// 1 ms steps.
#include "services/present.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/host.h"
#include "services/keys.h"
#include "services/message_pump.h"

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

uint32_t fake_clock = 0;
std::vector<uint32_t> shown_at;
std::vector<uint32_t> waits;  // the due tick of every wait
std::vector<Message> inbox;
// A key that comes in after this many ms of a wait, ending it there.
int key_after_ms = -1;

bool take(Message* out) {
    if (inbox.empty()) return false;
    *out = inbox.front();
    inbox.erase(inbox.begin());
    return true;
}

void wait_until(uint32_t due) {
    waits.push_back(due);
    if (key_after_ms >= 0 && static_cast<int32_t>(due - fake_clock) > key_after_ms) {
        fake_clock += key_after_ms;
        inbox.push_back({WM_KEYDOWN, VK_LEFT, 0});
        key_after_ms = -1;
        return;
    }
    fake_clock = due;
}

Host waiting_host() {
    Host h = {};
    h.ticks_ms = [] { return fake_clock; };
    h.sleep_ms = [](uint32_t ms) { fake_clock += ms; };
    h.take_message = take;
    h.frame_started = [] {};
    h.show_frame = [](const uint32_t*, int, int, int) { shown_at.push_back(fake_clock); };
    h.frame_finished = [] {};
    h.wait_until = wait_until;
    return h;
}

class FrameWait : public ::testing::Test {
protected:
    void SetUp() override {
        host_ = waiting_host();
        install_host(&host_);
        reset_message_loop();
        KeyState = 0;
        fake_clock = 0xFFFFFFF0u;  // the wrap falls inside the frames below
        shown_at.clear();
        waits.clear();
        inbox.clear();
        key_after_ms = -1;
        restart_frame_schedule();
        present_frame();
    }
    Host host_;
};

TEST_F(FrameWait, WaitsOncePerFrameForTheDueTick) {
    fake_clock += 7;  // the frame's work
    present_frame();
    fake_clock += 25;  // a slow frame: no wait, the cadence catches up
    present_frame();
    const uint32_t start = 0xFFFFFFF0u;
    EXPECT_EQ(waits, (std::vector<uint32_t>{start + 20}));
    EXPECT_EQ(shown_at, (std::vector<uint32_t>{start, start + 20, start + 45}));
}

TEST_F(FrameWait, AKeyEndsTheWaitIsTakenAndTheWaitGoesOnToTheSameTick) {
    key_after_ms = 5;
    present_frame();
    const uint32_t start = 0xFFFFFFF0u;
    EXPECT_EQ(waits, (std::vector<uint32_t>{start + 20, start + 20}));
    EXPECT_EQ(KeyState & KEY_LEFT, KEY_LEFT);
    EXPECT_EQ(shown_at.back(), start + 20);
}

TEST_F(FrameWait, AHostWithoutAWaitStepsAMillisecondAtATimeToTheSameTicks) {
    host_.wait_until = nullptr;
    fake_clock += 7;
    present_frame();
    present_frame();
    const uint32_t start = 0xFFFFFFF0u;
    EXPECT_TRUE(waits.empty());
    EXPECT_EQ(shown_at, (std::vector<uint32_t>{start, start + 20, start + 40}));
}

TEST_F(FrameWait, AQuitDuringTheWaitEndsThePresentUnshown) {
    inbox.push_back({WM_QUIT, 0, 0});
    present_frame();
    EXPECT_EQ(shown_at.size(), 1u);
    EXPECT_TRUE(waits.empty());
}

}  // namespace
