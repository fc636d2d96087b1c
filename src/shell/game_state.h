// What outlives a mode: the running score, the stage and the mode loop's place.
#pragma once

#include <cstdint>

constexpr int MODE_QUIT = 0;
constexpr int MODE_TITLE = 1;
constexpr int MODE_STAGE_BATTLE = 2;
constexpr int MODE_BOSS_BATTLE = 3;
constexpr int MODE_ENDING = 4;

extern int32_t score;
extern int32_t stage_number;
// The mode the loop is running (0 before the first one starts).
extern int current_mode;
// The mode run_modes starts with (the runner may choose another).
extern int first_mode;
// Called by run_modes as each mode begins (the runner counts from there).
extern void (*mode_started_hook)(int mode);
