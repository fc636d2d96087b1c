// The host of the game on Windows: a Win32 window with the real menu bar,
// the keyboard and XInput controllers, the high-resolution clock and the
// sound card through waveOut. No SDL.
#pragma once

#include "platform/host.h"

// Installs the Win32 host: makes the process DPI aware, starts its clock at
// a 1 ms timer resolution and turns Ctrl+C and a console's close into the
// quit message. The window opens when the game asks for it.
void install_win32_host();

// Closes the sound device and the window and gives the timer resolution back.
void shut_down_win32_host();
