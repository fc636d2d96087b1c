// What outlives a mode: the running score and the stage, and the mode numbers.
#pragma once

#include <cstdint>

constexpr int MODE_QUIT = 0;
constexpr int MODE_TITLE = 1;
constexpr int MODE_STAGE_BATTLE = 2;
constexpr int MODE_BOSS_BATTLE = 3;
constexpr int MODE_ENDING = 4;

extern int32_t score;
extern int32_t stage_number;
