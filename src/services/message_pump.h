// The message pump: hands every waiting window message to the window
// procedure, and notices the quit message that ends the game.
#pragma once

// False once the quit message has been taken (and on every call after that).
bool pump_messages();

// Forgets a taken quit message; for tests that run the game more than once.
void reset_message_loop();
