// Start-up, the mode loop, the message pump and shut-down.
#pragma once

#include <cstdint>

#include "platform/messages.h"

// The program's entry: 1 after a normal shut-down, 0 when the window could
// not be made. A host must be installed first.
int game_main();

int run_modes(WindowHandle window);
// 0 once the quit message has been taken (and on every call after that).
int pump_messages();
int init_game();
void set_client_offset(int32_t x, int32_t y);

// The start-up step's window handle (there is one window).
extern WindowHandle main_window;

// Forgets a taken quit message; for tests that run the game more than once.
void reset_message_loop();
