// Pausing in the hosts: which messages reach the game while paused, what
// happens to keys pressed or let go meanwhile, and quitting from a pause. The
// frame schedule after one is the SDL host suite's test, on the real wiring.
#include "hosts/common/pause.h"

#include <gtest/gtest.h>

#include <utility>

#include "platform/host.h"

namespace {

Message down(uint32_t vk) {
    return {WM_KEYDOWN, vk, 0};
}
Message up(uint32_t vk) {
    return {WM_KEYUP, vk, 0};
}

TEST(Pause, OnlyQuittingReachesThePausedGameAndItEndsThePause) {
    for (const Message& quit : {Message{WM_CLOSE, 0, 0}, Message{WM_QUIT, 0, 0},
                                Message{WM_COMMAND, MENU_COMMAND_SALIR, 0}, down(VK_ESCAPE)}) {
        PauseGate gate;
        toggle_pause(&gate);
        EXPECT_FALSE(pause_admit(&gate, down(VK_SPACE)));
        EXPECT_FALSE(pause_admit(&gate, Message{WM_LBUTTONDOWN, 0, 0}));
        EXPECT_TRUE(is_paused(gate));
        EXPECT_TRUE(pause_admit(&gate, quit));
        EXPECT_FALSE(is_paused(gate));
        EXPECT_TRUE(take_pause_ended(&gate));
    }
}

TEST(Pause, KeysLetGoWhilePausedAreLetGoAndKeysPressedWhilePausedNeverArrive) {
    PauseGate gate;
    EXPECT_TRUE(pause_admit(&gate, down(VK_LEFT)));
    toggle_pause(&gate);
    // Left was held into the pause: its repeats stay out, its release goes in.
    EXPECT_FALSE(pause_admit(&gate, down(VK_LEFT)));
    EXPECT_TRUE(pause_admit(&gate, up(VK_LEFT)));
    // Space pressed while paused and held past the pause: its repeats and
    // its release never reach the game.
    EXPECT_FALSE(pause_admit(&gate, down(VK_SPACE)));
    toggle_pause(&gate);
    EXPECT_FALSE(pause_admit(&gate, down(VK_SPACE)));
    EXPECT_FALSE(pause_admit(&gate, up(VK_SPACE)));
    // Once let go, the key is the game's again.
    EXPECT_TRUE(pause_admit(&gate, down(VK_SPACE)));
    EXPECT_TRUE(pause_admit(&gate, up(VK_SPACE)));
    // A key pressed and let go within the pause leaves no trace.
    toggle_pause(&gate);
    EXPECT_FALSE(pause_admit(&gate, down(VK_RIGHT)));
    EXPECT_FALSE(pause_admit(&gate, up(VK_RIGHT)));
    toggle_pause(&gate);
    EXPECT_TRUE(pause_admit(&gate, down(VK_RIGHT)));
}

TEST(Pause, TheFocusResumesOnlyItsOwnPause) {
    PauseGate gate;
    pause_for(&gate, PAUSE_BY_FOCUS, true);
    EXPECT_TRUE(is_paused(gate));
    pause_for(&gate, PAUSE_BY_FOCUS, false);
    EXPECT_FALSE(is_paused(gate));
    EXPECT_TRUE(take_pause_ended(&gate));
    EXPECT_FALSE(take_pause_ended(&gate));

    // Paused by the player, then the focus comes and goes: still paused.
    toggle_pause(&gate);
    pause_for(&gate, PAUSE_BY_FOCUS, true);
    pause_for(&gate, PAUSE_BY_FOCUS, false);
    EXPECT_TRUE(is_paused(gate));
    EXPECT_FALSE(take_pause_ended(&gate));
    // The player's control ends a pause whatever holds it.
    pause_for(&gate, PAUSE_BY_FOCUS, true);
    toggle_pause(&gate);
    EXPECT_FALSE(is_paused(gate));
    EXPECT_TRUE(take_pause_ended(&gate));
    // Regaining a focus never lost changes nothing.
    pause_for(&gate, PAUSE_BY_FOCUS, false);
    EXPECT_FALSE(take_pause_ended(&gate));
}

TEST(Pause, TheHostsOwnKeys) {
    const std::pair<uint32_t, HostKey> keys[] = {
        {'P', HostKey::Pause},       {0x13, HostKey::Pause},      {'M', HostKey::Mute},
        {0xBD, HostKey::VolumeDown}, {0xDB, HostKey::VolumeDown}, {0xBB, HostKey::VolumeUp},
        {0xDD, HostKey::VolumeUp},   {VK_LEFT, HostKey::None},    {VK_RIGHT, HostKey::None},
        {VK_SPACE, HostKey::None},   {VK_ESCAPE, HostKey::None},  {VK_Z, HostKey::None},
        {VK_X, HostKey::None}};
    for (const auto& [vk, key] : keys) EXPECT_EQ(host_key_for(vk), key) << vk;
}

}  // namespace
