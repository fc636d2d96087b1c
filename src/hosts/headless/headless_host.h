// A host with no window, no sound card and no wall clock: time moves only
// when the game sleeps, messages come from a script, and every present is
// reported to an observer. The runner and the tests drive the game with it.
#pragma once

#include <cstdint>

#include "platform/host.h"
#include "replay/script_feed.h"

struct HeadlessObserver {
    // Present N begins (after the frame's work and drawing, before its pump).
    void (*frame_started)(int frame, void* user);
    // Present N copies the back surface at virtual time `ms`.
    void (*frame_shown)(int frame, uint32_t ms, const uint32_t* pixels, int pitch, void* user);
    // Present N is over (shown or cut short by the quit message).
    void (*frame_finished)(int frame, uint32_t ms, void* user);
    void (*sound)(int slot, void* user);
    void (*tune_call)(const char* call, void* user);
    void (*message_box)(const char* text, void* user);
    // What the game's audio device played while the clock moved: `frames`
    // interleaved stereo frames at `rate`, silence while no device is open.
    // Given, the host pulls the device's mix for exactly the time that
    // passed (rate * ms / 1000 frames, the remainder carried); not given,
    // the device is never pulled.
    void (*audio)(const int16_t* samples, int frames, int rate, void* user);
    void* user;
};

struct HeadlessConfig {
    const ScriptedMessage* script = nullptr;  // frame numbers never decrease
    int script_length = 0;
    int quit_after_frame = 100000;  // WM_QUIT is posted after this present
    int ms_of_second = 0;
    const ScriptedTime* times = nullptr;  // recorded reads of the local time
    int time_count = 0;
    bool audio_available = true;  // a silent device the game can open
    HeadlessObserver observer = {};
};

// Installs the headless host with this configuration (copied) and resets its
// clock to 1000 ms, its frame count to 0 and its queue to empty.
void install_headless_host(const HeadlessConfig& config);

// The number of presents begun so far and the virtual clock.
int headless_frame();
uint32_t headless_clock();

// The audio observer hears nothing more and the device is no longer pulled
// (a look-ahead copy of the game plays silently).
void headless_stop_audio_observer();

// The rate the observer's frames come at: the device's once it opened,
// until then the rate it will be asked for by default.
int headless_audio_rate();
