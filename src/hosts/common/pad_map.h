// Game controllers as the keyboard the game reads: the D-pad and the left
// stick steer with Left and Right, the south and east buttons are Space, and
// Back is Escape. A key shared by the keyboard and the pads is held while
// any of its sources holds it, so the game sees one press and one release
// per hold however many buttons, sticks and keys take part.
#pragma once

#include <cstdint>

#include "platform/messages.h"

constexpr int MAX_PADS = 8;

// The inputs of one pad that stand for keys.
enum PadInput : int {
    PAD_DPAD_LEFT,
    PAD_DPAD_RIGHT,
    PAD_STICK_LEFT,
    PAD_STICK_RIGHT,
    PAD_SOUTH,
    PAD_EAST,
    PAD_BACK,
    PAD_INPUTS
};

// The stick's x axis presses Left or Right past STICK_PRESS and lets go
// only back inside STICK_RELEASE, so a stick resting near the threshold
// does not chatter.
constexpr int STICK_PRESS = 16000;
constexpr int STICK_RELEASE = 8000;

// The keys that can have several sources, and which sources hold each.
constexpr int SHARED_KEYS = 4;  // Left, Right, Space, Escape
struct HeldKeys {
    uint64_t sources[SHARED_KEYS];
};

// At most one message per shared key changes hands at a time.
struct KeyMessages {
    Message list[SHARED_KEYS];
    int count;
};

// The keyboard's key message as the game must get it: the same message, or
// none (id 0) when another source already holds the key or still holds it.
// Auto-repeats pass as they always have.
Message share_keyboard_key(HeldKeys* held, const Message& message, bool repeat);

// One of a pad's inputs (a PadInput) pressed or let go. Each host names its
// controller's buttons as these inputs.
KeyMessages pad_input(HeldKeys* held, int slot, int input, bool pressed);

// The left stick's x axis moved to `value`; `direction` (-1, 0, 1) is the
// pad's stick state, updated here.
KeyMessages pad_stick_x(HeldKeys* held, int slot, int8_t* direction, int value);

// A pad went away: every key it held is let go.
KeyMessages release_pad(HeldKeys* held, int slot);

// The stick's direction after moving to `value` from `previous`.
int stick_direction(int previous, int value);
