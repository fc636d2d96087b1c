// The message pump: hands every waiting window message to the window
// procedure, and notices the quit message that ends the game.
#pragma once

#include "platform/messages.h"

// The start-up step's window handle (there is one window).
extern WindowHandle main_window;

// 0 once the quit message has been taken (and on every call after that).
int pump_messages();

// Forgets a taken quit message; for tests that run the game more than once.
void reset_message_loop();
