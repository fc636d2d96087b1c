// A host for the sound and tune-library tests: no window, an audio device
// that opens (or refuses to) on demand and is never pulled, and a record of
// what the sound code told the host.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "platform/host.h"

struct SoundTestHost {
    bool audio_available = true;
    bool audio_open = false;
    int open_rate = 0;
    int open_frames = 0;
    int lock_depth = 0;
    int max_lock_depth = 0;
    int locks = 0;
    std::vector<int> sounds;
    std::vector<std::string> tune_calls;
};

inline SoundTestHost& sound_test_host() {
    static SoundTestHost state;
    return state;
}

inline void install_sound_test_host() {
    static const Host h = [] {
        Host x{};
        x.ticks_ms = [] { return 1000u; };
        x.sleep_ms = [](uint32_t) {};
        x.local_milliseconds = [] { return 0; };
        x.create_window = [](const char*, int, int) { return true; };
        x.take_message = [](Message*) { return false; };
        x.post_message = [](const Message&) {};
        x.frame_started = [] {};
        x.show_frame = [](const uint32_t*, int, int, int) {};
        x.frame_finished = [] {};
        x.message_box = [](const char*, const char*) {};
        x.open_audio = [](int rate, int frames, AudioCallback, void*, char* reason, int size) {
            SoundTestHost& s = sound_test_host();
            if (!s.audio_available) {
                std::snprintf(reason, static_cast<size_t>(size), "no device in this test");
                return false;
            }
            s.audio_open = true;
            s.open_rate = rate;
            s.open_frames = frames;
            return true;
        };
        x.lock_audio = [] {
            SoundTestHost& s = sound_test_host();
            ++s.locks;
            if (++s.lock_depth > s.max_lock_depth) s.max_lock_depth = s.lock_depth;
        };
        x.unlock_audio = [] { --sound_test_host().lock_depth; };
        x.close_audio = [] { sound_test_host().audio_open = false; };
        x.note_sound = [](int slot) { sound_test_host().sounds.push_back(slot); };
        x.note_tune_call = [](const char* call) { sound_test_host().tune_calls.push_back(call); };
        return x;
    }();
    sound_test_host() = SoundTestHost{};
    install_host(&h);
}
