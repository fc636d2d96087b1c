// The host of the real game: an SDL window with the menu bar above the game
// area, the keyboard, the high-resolution clock and the sound card.
#pragma once

#include "hosts/common/pad_map.h"
#include "platform/host.h"

struct SDL_Window;
union SDL_Event;

// Installs the SDL host: starts its clock and turns SIGINT, SIGTERM and SIGHUP into
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

// The game controllers (sdl_pad.cpp): those present when the window opens
// and those plugged in later. An event for them becomes the key messages in
// `out`; false for every other event.
void sdl_open_pads();
bool sdl_translate_pad_event(const SDL_Event& event, HeldKeys* held, KeyMessages* out);
void sdl_close_pads();
// A controller's button (an SDL_GameControllerButton) pressed or let go;
// buttons that stand for no key give no message.
KeyMessages pad_button(HeldKeys* held, int slot, int button, bool pressed);
// A controller's Start pressed: the pause control.
bool sdl_pad_start_pressed(const SDL_Event& event);
