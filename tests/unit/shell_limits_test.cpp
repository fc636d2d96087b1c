// Limits the shell keeps whatever the host does: a flooded message queue
// still delivers quit and close and never loses a key's last message, and
// objects left drifting for hours stop far off screen instead of
// overflowing.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <vector>

#include "objects/game_object.h"
#include "platform/message_queue.h"

namespace {

std::vector<uint32_t> popped_ids(MessageQueue<16>& q) {
    std::vector<uint32_t> ids;
    for (Message m; q.pop(&m);) ids.push_back(m.id);
    return ids;
}

TEST(MessageQueueLimits, AFloodNeverPushesOutQuitCloseOrSalir) {
    MessageQueue<16> q;
    for (int i = 0; i < 100; ++i) q.push({WM_KEYDOWN, VK_LEFT, 0});
    q.push({WM_COMMAND, MENU_COMMAND_SALIR, 0});
    q.push({WM_CLOSE, 0, 0});
    q.push({WM_QUIT, 0, 0});
    std::vector<uint32_t> ids = popped_ids(q);
    ASSERT_EQ(ids.size(), 15u);
    EXPECT_EQ(std::count(ids.begin(), ids.end(), WM_KEYDOWN), 12);
    EXPECT_EQ(ids[12], WM_COMMAND);
    EXPECT_EQ(ids[13], WM_CLOSE);
    EXPECT_EQ(ids[14], WM_QUIT);

    // A flood of closes cannot take the quit's place either, and other
    // commands are ordinary messages.
    for (int i = 0; i < 12; ++i) q.push({WM_KEYUP, VK_LEFT, 0});
    for (int i = 0; i < 50; ++i) q.push({WM_CLOSE, 0, 0});
    q.push({WM_COMMAND, 40002, 0});
    q.push({WM_QUIT, 0, 0});
    ids = popped_ids(q);
    ASSERT_EQ(ids.size(), 14u);
    EXPECT_EQ(ids[12], WM_CLOSE);
    EXPECT_EQ(ids[13], WM_QUIT);
}

// The keys a window procedure would hold after taking every waiting
// message, starting from `held`.
void take_all(MessageQueue<256>& q, std::map<uint32_t, bool>* held) {
    for (Message m; q.pop(&m);) {
        if (m.id == WM_KEYDOWN) (*held)[m.wparam] = true;
        if (m.id == WM_KEYUP) (*held)[m.wparam] = false;
    }
}

TEST(MessageQueueLimits, AfterAnyFloodTheHeldKeysAreThePhysicalKeys) {
    const uint32_t keys[] = {VK_LEFT, VK_RIGHT, VK_SPACE, VK_ESCAPE, VK_SHIFT, VK_Z};
    std::mt19937 random(12345);
    for (int round = 0; round < 50; ++round) {
        MessageQueue<256> q;
        std::map<uint32_t, bool> physical, held;
        for (int step = 0; step < 3000; ++step) {
            const uint32_t key = keys[random() % 6];
            const bool down = random() % 2 == 0;
            q.push({down ? WM_KEYDOWN : WM_KEYUP, key, 0});  // repeats included
            physical[key] = down;
            if (random() % 500 == 0) take_all(q, &held);
        }
        take_all(q, &held);
        for (uint32_t key : keys) EXPECT_EQ(held[key], physical[key]) << round << " " << key;
    }
}

// With no message of its own waiting, a key still gets a place on a full
// queue: a press takes a message made moot by a later one of its key, and a
// release with no moot place left takes the newest press.
TEST(MessageQueueLimits, AKeyWithNothingWaitingStillGetsAPlace) {
    MessageQueue<256> q;
    std::map<uint32_t, bool> held;
    for (int i = 0; i < 300; ++i) q.push({WM_KEYDOWN, VK_LEFT, 0});
    q.push({WM_KEYDOWN, VK_Z, 0});
    take_all(q, &held);
    EXPECT_TRUE(held[VK_Z]);

    held[VK_SPACE] = true;  // pressed before, its press already taken
    for (uint32_t key = 1; key < 256; ++key)
        if (key != VK_SPACE) q.push({WM_KEYDOWN, key, 0});  // every one distinct
    q.push({WM_KEYUP, VK_SPACE, 0});
    take_all(q, &held);
    EXPECT_FALSE(held[VK_SPACE]);
}

TEST(DriftingObjects, StopFarOffScreenInsteadOfOverflowing) {
    GameObject sinking = {};
    sinking.y = 0x28000;  // the boss's last place on screen
    sinking.vy = 0x280;   // and how fast it sinks after a defeat
    sinking.x = -0x1000;
    sinking.vx = -128;
    // Some 19 hours of frames, jumped over to the last few.
    sinking.y += static_cast<int32_t>(((int64_t{1} << 30) - sinking.y) / sinking.vy * sinking.vy);
    sinking.x = -(1 << 30) + 256;
    for (int frame = 0; frame < 1000; ++frame) move_object(sinking);
    EXPECT_EQ(sinking.y, 1 << 30);
    EXPECT_EQ(sinking.x, -(1 << 30));
    // Nothing ever moved near the screen is touched.
    GameObject on_screen = {};
    on_screen.x = 100 * 512;
    on_screen.vx = -0x4000;
    move_object(on_screen);
    EXPECT_EQ(on_screen.x, 100 * 512 - 0x4000);
}

}  // namespace
