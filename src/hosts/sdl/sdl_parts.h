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
int sdl_local_milliseconds();

// Quit signals (sdl_signals.cpp): SIGINT, SIGTERM and SIGHUP become the quit
// message, and close a message box that is up.
void catch_quit_signals();
bool take_quit_signal();
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
void sdl_forget_events();
