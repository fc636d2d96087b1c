// The host of the real game: an SDL window with the menu bar above the game
// area, the keyboard, the high-resolution clock and the sound card.
#pragma once

#include "platform/host.h"

struct SDL_Window;

// Installs the SDL host: starts its clock and turns SIGINT and SIGTERM into
// the quit message. The window opens when the game asks for it.
void install_sdl_host();

// Closes the sound device and the window and shuts SDL down.
void shut_down_sdl_host();

// The game's window once created (for tests that feed it events).
SDL_Window* sdl_host_window();

// The audio half of the host (sdl_audio.cpp).
bool sdl_open_audio(int rate, int frames, AudioCallback callback, void* user, char* reason,
                    int reason_size);
void sdl_lock_audio();
void sdl_unlock_audio();
void sdl_close_audio();
