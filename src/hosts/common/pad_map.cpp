#include "hosts/common/pad_map.h"

namespace {

constexpr int KEYBOARD_SOURCE = 0;

int pad_source(int slot, int input) {
    return 1 + slot * PAD_INPUTS + input;
}

uint64_t source_bit(int source) {
    return uint64_t{1} << source;
}

// The index of a shared key in HeldKeys, or -1.
int shared_index(uint32_t vk) {
    switch (vk) {
        case VK_LEFT:
            return 0;
        case VK_RIGHT:
            return 1;
        case VK_SPACE:
            return 2;
        case VK_ESCAPE:
            return 3;
        default:
            return -1;
    }
}

constexpr uint32_t SHARED_KEY_CODES[SHARED_KEYS] = {VK_LEFT, VK_RIGHT, VK_SPACE, VK_ESCAPE};

uint32_t input_key(int input) {
    switch (input) {
        case PAD_DPAD_LEFT:
        case PAD_STICK_LEFT:
            return VK_LEFT;
        case PAD_DPAD_RIGHT:
        case PAD_STICK_RIGHT:
            return VK_RIGHT;
        case PAD_SOUTH:
        case PAD_EAST:
            return VK_SPACE;
        default:
            return VK_ESCAPE;
    }
}

// One source presses or lets go of a shared key; true when the game must
// hear of it: the first source down, or the last one up.
bool change_hold(HeldKeys* held, int key, int source, bool pressed) {
    uint64_t& sources = held->sources[key];
    const uint64_t bit = source_bit(source);
    if (pressed) {
        const bool first = sources == 0;
        sources |= bit;
        return first;
    }
    if ((sources & bit) == 0) return false;
    sources &= ~bit;
    return sources == 0;
}

void add_change(KeyMessages* out, HeldKeys* held, int slot, int input, bool pressed) {
    const uint32_t vk = input_key(input);
    if (change_hold(held, shared_index(vk), pad_source(slot, input), pressed))
        out->list[out->count++] = Message{pressed ? WM_KEYDOWN : WM_KEYUP, vk, 0};
}

}  // namespace

Message share_keyboard_key(HeldKeys* held, const Message& message, bool repeat) {
    const int key = shared_index(message.wparam);
    if (key < 0 || (message.id != WM_KEYDOWN && message.id != WM_KEYUP)) return message;
    const uint64_t keyboard = source_bit(KEYBOARD_SOURCE);
    if (message.id == WM_KEYDOWN) {
        if (repeat) {
            held->sources[key] |= keyboard;
            return message;
        }
        return change_hold(held, key, KEYBOARD_SOURCE, true) ? message : Message{};
    }
    // Every keyboard release reaches the game unless a pad still holds the
    // key, so no key stays held after it was let go.
    held->sources[key] &= ~keyboard;
    return held->sources[key] == 0 ? message : Message{};
}

KeyMessages pad_input(HeldKeys* held, int slot, int input, bool pressed) {
    KeyMessages out = {};
    if (input >= 0 && input < PAD_INPUTS && slot >= 0 && slot < MAX_PADS)
        add_change(&out, held, slot, input, pressed);
    return out;
}

int stick_direction(int previous, int value) {
    if (value <= -STICK_PRESS) return -1;
    if (value >= STICK_PRESS) return 1;
    if (previous < 0 && value < -STICK_RELEASE) return -1;
    if (previous > 0 && value > STICK_RELEASE) return 1;
    return 0;
}

KeyMessages pad_stick_x(HeldKeys* held, int slot, int8_t* direction, int value) {
    KeyMessages out = {};
    if (slot < 0 || slot >= MAX_PADS) return out;
    const int next = stick_direction(*direction, value);
    if (next == *direction) return out;
    // Let go of the old side before pressing the new one.
    if (*direction < 0) add_change(&out, held, slot, PAD_STICK_LEFT, false);
    if (*direction > 0) add_change(&out, held, slot, PAD_STICK_RIGHT, false);
    if (next < 0) add_change(&out, held, slot, PAD_STICK_LEFT, true);
    if (next > 0) add_change(&out, held, slot, PAD_STICK_RIGHT, true);
    *direction = static_cast<int8_t>(next);
    return out;
}

KeyMessages release_pad(HeldKeys* held, int slot) {
    KeyMessages out = {};
    if (slot < 0 || slot >= MAX_PADS) return out;
    uint64_t pad_bits = 0;
    for (int input = 0; input < PAD_INPUTS; ++input)
        pad_bits |= source_bit(pad_source(slot, input));
    for (int key = 0; key < SHARED_KEYS; ++key) {
        uint64_t& sources = held->sources[key];
        if ((sources & pad_bits) == 0) continue;
        sources &= ~pad_bits;
        if (sources == 0) out.list[out.count++] = Message{WM_KEYUP, SHARED_KEY_CODES[key], 0};
    }
    return out;
}
