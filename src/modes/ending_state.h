// The ending mode's state: the scrolling text pictures and its step.
#pragma once

#include "objects/game_object.h"

namespace ending {

constexpr int ENDING_SLOTS = 32;
constexpr int END_MARK_SLOT = 15;  // the last slot ever shown

constexpr int ENDING_WAITING = 0;  // for the opening transition
constexpr int ENDING_SCROLLING = 1;
constexpr int ENDING_END_MARK = 2;

extern GameObject ending_objects[ENDING_SLOTS];
extern int ending_step;

// Clears every slot and gives each its picture, below the screen.
void InitEnding();

}  // namespace ending
