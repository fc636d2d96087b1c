// Placeholder effects until the audio device lands: nothing sounds, every
// call is still seen by the runner.
#include "platform/sound.h"

#include "platform/host.h"

namespace {
SoundDevice* device = nullptr;
}

void set_sound_device(SoundDevice* d) { device = d; }

int DirectSound_Voice_Load_Resource(const char*, int) { return 1; }

int parse_wave(const uint8_t*, size_t, WaveFormat*, const uint8_t**, uint32_t*) { return 0; }

void play_sound(int slot) { host().note_sound(slot); }

void release_sounds() {}
