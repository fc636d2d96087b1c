// Start-up, the mode loop and shut-down.
#pragma once

#include <cstdint>

#include "platform/messages.h"

// The program's entry: 1 after a normal shut-down, 0 when the window could
// not be made. A host must be installed first.
int game_main();

void run_modes();
void init_game();

// The mode the loop is running (0 before the first one starts).
extern int current_mode;
// The mode run_modes starts with (the runner may choose another).
extern int first_mode;
// Called by run_modes as each mode begins (the runner counts from there).
extern void (*mode_started_hook)(int mode);
