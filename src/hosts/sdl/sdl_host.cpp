// The SDL host's table: the clock, the events, the window, the quit signals
// and the sound card, each in its own file.
#include "hosts/sdl/sdl_host.h"

#include <SDL.h>

#include "hosts/sdl/sdl_parts.h"

namespace {

void no_op() {}

// A paused game is held in its frame wait, before the sleep.
void sleep_or_hold(uint32_t ms) {
    sdl_hold_while_paused();
    sdl_sleep_ms(ms);
}
void wait_or_hold(uint32_t due_ms) {
    sdl_hold_while_paused();
    sdl_wait_until(due_ms);
}
void note_sound(int) {}
void note_tune_call(const char*) {}

const Host sdl_host = {
    .ticks_ms = sdl_ticks_ms,
    .sleep_ms = sleep_or_hold,
    .local_milliseconds = sdl_local_milliseconds,
    .create_window = sdl_create_window,
    .take_message = sdl_take_message,
    .post_message = sdl_post_message,
    .frame_started = no_op,
    .show_frame = sdl_show_frame,
    .frame_finished = no_op,
    .message_box = sdl_message_box,
    .open_audio = sdl_open_audio,
    .lock_audio = sdl_lock_audio,
    .unlock_audio = sdl_unlock_audio,
    .close_audio = sdl_close_audio,
    .note_sound = note_sound,
    .note_tune_call = note_tune_call,
    .wait_until = wait_or_hold,
};

}  // namespace

void install_sdl_host() {
    start_sdl_clock();
    catch_quit_signals();
    install_host(&sdl_host);
}

void shut_down_sdl_host() {
    sdl_close_audio();
    sdl_close_pads();
    sdl_forget_events();
    sdl_destroy_window();
    SDL_Quit();
}
