#include "services/game_state.h"

int32_t score = 0;
int32_t stage_number = 1;
