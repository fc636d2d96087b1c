// Pads and keyboard holding the game's keys together: one press and one
// release per hold, the stick's dead zone and hysteresis, pads pulled out.
#include "hosts/common/pad_map.h"

#include <SDL_gamecontroller.h>
#include <gtest/gtest.h>

#include "hosts/sdl/sdl_host.h"

namespace {

constexpr Message KEY_DOWN_LEFT = {WM_KEYDOWN, VK_LEFT, 0};
constexpr Message KEY_UP_LEFT = {WM_KEYUP, VK_LEFT, 0};

void expect_one(const KeyMessages& m, uint32_t id, uint32_t vk) {
    ASSERT_EQ(m.count, 1);
    EXPECT_EQ(m.list[0].id, id);
    EXPECT_EQ(m.list[0].wparam, vk);
}

TEST(PadMap, OnlyTheGamesButtonsAndRealPressesCount) {
    HeldKeys held = {};
    for (int other : {SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_Y, SDL_CONTROLLER_BUTTON_START,
                      SDL_CONTROLLER_BUTTON_DPAD_UP}) {
        EXPECT_EQ(pad_button(&held, 0, other, true).count, 0);
    }
    // A release never pressed (held when the pad was opened) is no release.
    EXPECT_EQ(pad_button(&held, 0, SDL_CONTROLLER_BUTTON_A, false).count, 0);
    // Slots past the last are ignored rather than overflowing the source mask.
    EXPECT_EQ(pad_button(&held, MAX_PADS, SDL_CONTROLLER_BUTTON_A, true).count, 0);
    EXPECT_EQ(pad_button(&held, -1, SDL_CONTROLLER_BUTTON_A, true).count, 0);
}

TEST(PadMap, AKeyHeldBySeveralSourcesIsOneHold) {
    HeldKeys held = {};
    // Keyboard, D-pad, stick and a second pad all on Left.
    EXPECT_EQ(share_keyboard_key(&held, KEY_DOWN_LEFT, false).id, WM_KEYDOWN);
    int8_t stick = 0;
    EXPECT_EQ(pad_button(&held, 0, SDL_CONTROLLER_BUTTON_DPAD_LEFT, true).count, 0);
    EXPECT_EQ(pad_stick_x(&held, 0, &stick, -20000).count, 0);
    EXPECT_EQ(pad_button(&held, 7, SDL_CONTROLLER_BUTTON_DPAD_LEFT, true).count, 0);
    // Auto-repeat of the keyboard passes as before: the key is held anyway.
    EXPECT_EQ(share_keyboard_key(&held, KEY_DOWN_LEFT, true).id, WM_KEYDOWN);
    // Let go in any order: only the last one out is heard.
    EXPECT_EQ(share_keyboard_key(&held, KEY_UP_LEFT, false).id, 0u);
    EXPECT_EQ(pad_button(&held, 0, SDL_CONTROLLER_BUTTON_DPAD_LEFT, false).count, 0);
    EXPECT_EQ(pad_button(&held, 7, SDL_CONTROLLER_BUTTON_DPAD_LEFT, false).count, 0);
    expect_one(pad_stick_x(&held, 0, &stick, 0), WM_KEYUP, VK_LEFT);

    // The pad first: the keyboard's press is not a second one, and its
    // release ends the hold once the pad has let go.
    expect_one(pad_button(&held, 1, SDL_CONTROLLER_BUTTON_A, true), WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(share_keyboard_key(&held, {WM_KEYDOWN, VK_SPACE, 0}, false).id, 0u);
    EXPECT_EQ(pad_button(&held, 1, SDL_CONTROLLER_BUTTON_A, false).count, 0);
    EXPECT_EQ(share_keyboard_key(&held, {WM_KEYUP, VK_SPACE, 0}, false).id, WM_KEYUP);

    // A keyboard release always arrives unless a pad still holds the key
    // (a key pressed with Alt was never counted as held).
    EXPECT_EQ(share_keyboard_key(&held, {WM_KEYUP, VK_RIGHT, 0}, false).id, WM_KEYUP);
    // Keys no pad has pass untouched, and so do system keys.
    const Message z = {WM_KEYDOWN, VK_Z, 0};
    EXPECT_EQ(share_keyboard_key(&held, z, false).wparam, VK_Z);
    const Message alt_space = {WM_SYSKEYDOWN, VK_SPACE, 0};
    EXPECT_EQ(share_keyboard_key(&held, alt_space, false).id, WM_SYSKEYDOWN);
}

// The stick's direction from where it was and where it is now: a dead
// zone, held until back inside the release threshold on either side, and a
// flick straight across changes side. (The host's test steers through it.)
TEST(PadMap, StickHasADeadZoneAndHysteresis) {
    const int cases[][3] = {
        {0, STICK_PRESS - 1, 0},  {0, STICK_PRESS, 1},
        {0, -STICK_PRESS + 1, 0}, {0, -STICK_PRESS, -1},
        {0, -32768, -1},          {1, STICK_RELEASE + 1, 1},
        {1, STICK_RELEASE, 0},    {-1, -STICK_RELEASE - 1, -1},
        {-1, -STICK_RELEASE, 0},  {1, -STICK_PRESS, -1},
        {-1, 32767, 1},
    };
    for (const auto& [previous, value, direction] : cases)
        EXPECT_EQ(stick_direction(previous, value), direction) << previous << " " << value;
}

TEST(PadMap, APadPulledOutLetsGoOfWhatOnlyItHeld) {
    HeldKeys held = {};
    int8_t stick = 0;
    pad_stick_x(&held, 4, &stick, -30000);
    pad_button(&held, 4, SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    pad_button(&held, 4, SDL_CONTROLLER_BUTTON_A, true);
    pad_button(&held, 4, SDL_CONTROLLER_BUTTON_BACK, true);
    pad_button(&held, 5, SDL_CONTROLLER_BUTTON_B, true);  // another pad fires too
    const KeyMessages out = release_pad(&held, 4);
    ASSERT_EQ(out.count, 2);
    EXPECT_EQ(out.list[0].id, WM_KEYUP);
    EXPECT_EQ(out.list[0].wparam, VK_LEFT);
    EXPECT_EQ(out.list[1].wparam, VK_ESCAPE);
    // The other pad still holds Space, and lets go of it itself.
    expect_one(pad_button(&held, 5, SDL_CONTROLLER_BUTTON_B, false), WM_KEYUP, VK_SPACE);
    EXPECT_EQ(release_pad(&held, 4).count, 0);
    // A key the keyboard holds too stays held.
    HeldKeys both = {};
    EXPECT_EQ(share_keyboard_key(&both, KEY_DOWN_LEFT, false).id, WM_KEYDOWN);
    EXPECT_EQ(pad_button(&both, 4, SDL_CONTROLLER_BUTTON_DPAD_LEFT, true).count, 0);
    EXPECT_EQ(release_pad(&both, 4).count, 0);
}

}  // namespace
