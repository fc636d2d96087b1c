// The held-key mask and the window procedure that keeps it.
#pragma once

#include <cstdint>

#include "platform/messages.h"

constexpr uint32_t KEY_LEFT = 0x1;
constexpr uint32_t KEY_RIGHT = 0x2;
constexpr uint32_t KEY_UP = 0x4;
constexpr uint32_t KEY_DOWN = 0x8;
constexpr uint32_t KEY_SPACE = 0x10;
constexpr uint32_t KEY_X = 0x20;
constexpr uint32_t KEY_Z = 0x40;
constexpr uint32_t KEY_S = 0x80;
constexpr uint32_t KEY_A = 0x100;
constexpr uint32_t KEY_SHIFT = 0x200;
constexpr uint32_t KEY_F1 = 0x400;
constexpr uint32_t KEY_F2 = 0x800;
constexpr uint32_t KEY_QUIT = 0x8000;

// A bit is 1 while its key is held; KEY_QUIT is a request that stays set.
extern uint32_t KeyState;

// Acting on a press empties the mask, so held keys read as released until
// their next key message. A quit request that came in meanwhile is kept: a
// close click must never be lost to a Space press in the same frame.
void take_key_press();

intptr_t window_proc(uint32_t message, uint32_t wparam, int32_t lparam);
