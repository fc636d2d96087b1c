// What the page's script does for the host (web_library.js). Times are the
// page's performance clock in milliseconds.
#pragma once

#include <cstdint>

extern "C" {
double web_now_ms();
int web_local_ms();
// Both yield to the page and resume the game later (Asyncify): at `target`
// on the page's clock, or as soon as the page has had its turn.
void web_sleep_until(double target);
void web_yield();
// Shows a modal box and resumes when it is closed.
void web_message_box(const char* text, const char* caption);

int web_create_canvas(int width, int height);
// Puts RGBA rows [top, top + height) of the canvas picture on the page.
void web_show_rows(const uint8_t* rgba, int width, int top, int height);
void web_toggle_fullscreen();
// One present begins: its number and the frame's hash (when recorded).
void web_present_begun(int present, uint32_t hash, int hashed);
void web_present_shown();
// What the checks watch as a present begins: the mode, the held keys and
// the ship's x in a stage (0 elsewhere).
void web_game_state(int mode, uint32_t keys, int32_t ship_x);
void web_poll_pads();
// Quitting ended a pause (Escape, "Salir"): the page lets the game's sleep go.
void web_pause_lifted();

// 1 when the page can play sound at `rate`; else 0 with a reason.
int web_audio_open(int rate, char* reason, int reason_size);
void web_audio_write(const int16_t* frames, int count);
void web_audio_close();
}
