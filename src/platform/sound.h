// Short sound effects, one voice per slot, on the device the tune library lends.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/resource_list.h"

constexpr int SOUND_SHOT = sound_slot("shot");
constexpr int SOUND_BOM = sound_slot("bom");
constexpr int SOUND_LASER = sound_slot("laser");
constexpr int SOUND_SLOTS = 10;

struct SoundDevice;  // the tune library's audio device

struct WaveFormat {
    uint16_t format_tag;
    uint16_t channels;
    uint32_t samples_per_second;
    uint32_t average_bytes_per_second;
    uint16_t block_align;
    uint16_t bits_per_sample;
    uint16_t extra_size;
};

void set_sound_device(SoundDevice* device);
int DirectSound_Voice_Load_Resource(const char* name, int slot);
// 1 and the format, samples and sample byte count for a supported WAVE.
int parse_wave(const uint8_t* bytes, size_t size, WaveFormat* format, const uint8_t** samples,
               uint32_t* sample_bytes);
void play_sound(int slot);
void release_sounds();
