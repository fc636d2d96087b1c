// The seam between the game and the machine. One host is installed before
// the game starts: the SDL host for the real game, the headless host for the
// runner and the tests. Game code reaches the machine only through here.
#pragma once

#include <cstdint>

#include "platform/messages.h"

// Fills `frames` stereo frames of signed 16-bit samples (interleaved L, R).
using AudioCallback = void (*)(int16_t* out, int frames, void* user);

struct Host {
    // Clock: a monotonic millisecond count and a 1 ms sleep.
    uint32_t (*ticks_ms)();
    void (*sleep_ms)(uint32_t ms);
    // Milliseconds of the current second of the local time (0 to 999).
    int (*local_milliseconds)();

    // The window: created once at start-up; false when that fails.
    bool (*create_window)(const char* caption, int width, int height);
    // Takes the next waiting message off the queue; false when none waits.
    bool (*take_message)(Message* out);
    void (*post_message)(const Message& message);

    // Presentation. frame_started and frame_finished bracket every call of
    // present_frame; show_frame copies the finished back surface (0x00RRGGBB
    // pixels, pitch in bytes) to the screen and is skipped when the wait
    // was cut short by the quit message.
    void (*frame_started)();
    void (*show_frame)(const uint32_t* pixels, int width, int height, int pitch);
    void (*frame_finished)();

    // A modal box with an OK button, owned by the window.
    void (*message_box)(const char* text, const char* caption);

    // The audio device: stereo 16-bit at `rate`, pulled in blocks of at most
    // `frames` frames from another thread. open_audio returns false (and
    // writes a reason) when no device can be had.
    bool (*open_audio)(int rate, int frames, AudioCallback callback, void* user, char* reason,
                       int reason_size);
    void (*lock_audio)();
    void (*unlock_audio)();
    void (*close_audio)();

    // Observation points for the headless runner's trace; no-ops elsewhere.
    void (*note_sound)(int slot);
    void (*note_tune_call)(const char* call);

    // The frame wait: returns once ticks_ms() has reached `due_ms` (compared
    // as a difference, across the wrap), or earlier when a message arrives
    // or the host is asked to quit; it may also return early for no reason.
    // A host that leaves it out is waited on with sleep_ms(1) steps. A
    // virtual clock moves to `due_ms` at once, as the steps would have.
    void (*wait_until)(uint32_t due_ms);
};

const Host& host();
void install_host(const Host* host);
