// How the SDL host's files share the work: the clock, the quit signals, the
// window and its picture, and the events that become the game's messages.
// Only the host's own files include this.
#pragma once

#include <cstdint>

#include "platform/messages.h"

struct MenuBar;

// The clock (sdl_clock.cpp): whole milliseconds since start_sdl_clock.
void start_sdl_clock();
uint32_t sdl_ticks_ms();
void sdl_sleep_ms(uint32_t ms);
// Sleeps until the clock reaches `due_ms`, on the tick as sdl_sleep_ms does,
// or until `watched_fd` (when not -1) has something to read or a signal
// comes; true when the due tick was reached.
bool sdl_sleep_until_tick(uint32_t due_ms, int watched_fd);
int sdl_local_milliseconds();

// Quit signals (sdl_signals.cpp): SIGINT, SIGTERM and SIGHUP become the quit
// message, and close a message box that is up.
void catch_quit_signals();
bool take_quit_signal();
bool quit_signal_waiting();
void sdl_message_box(const char* text, const char* caption);

// The window (sdl_window.cpp): the menu bar above the game area, scaled by
// whole factors and centred on black.
bool sdl_create_window(const char* caption, int width, int height);
void sdl_show_frame(const uint32_t* pixels, int width, int height, int pitch);
void sdl_render();
void sdl_toggle_fullscreen();
// The canvas pixel under a window point, or (-1, -1) off the canvas.
void sdl_canvas_point(int x, int y, int* cx, int* cy);
MenuBar* sdl_menu();
void sdl_menu_changed();
void sdl_destroy_window();

// Events (sdl_events.cpp): SDL's events become messages in the host's queue.
bool sdl_take_message(Message* out);
void sdl_post_message(const Message& m);
// The frame wait: until the due tick, or until SDL has an event (a key, the
// close button, the menu bar) or a quit signal comes.
void sdl_wait_until(uint32_t due_ms);
// The X server connection's socket, readable as soon as an event comes for
// the window (sdl_display_socket.cpp); -1 under any other video driver,
// where the wait sleeps to the due tick and SDL's events are taken there.
int sdl_display_fd();
void sdl_forget_events();

// Pausing (sdl_events.cpp): while paused, the game waits here, inside its
// frame wait, and the window goes on answering; the schedule restarts after.
void sdl_hold_while_paused();
// The player's volume and mute from the settings file, applied to the sound.
void sdl_load_settings();
// The window dims the last frame under "PAUSED" while paused.
void sdl_show_paused(bool paused);

// The keys, for the first run's line.
constexpr const char* KEYS_HELP =
    "arrows move, Space fires, Escape quits, P pauses, M mutes, - and + set the volume, F11 "
    "toggles fullscreen";
