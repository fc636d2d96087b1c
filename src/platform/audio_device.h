// The audio device the tune library opens: static voice buffers for the sound effects
// and the tune player, mixed together in the host's audio callback and passed
// through the output stage of platform/mix_output.h.
//
// A buffer is made the way the effects expect of a sound card: create it from
// a format and a byte count, lock it, copy the samples in, unlock it (which
// converts them once to the device's rate and stereo 16-bit form), then stop,
// rewind and play it as often as needed, and release it at the end.
//
// Every call here that touches what the callback reads takes the host's
// audio lock, so the game thread and the callback never see half a change.
#pragma once

#include <cstdint>

#include "platform/mix_output.h"
#include "platform/sound.h"
#include "vorbel/synth.h"

constexpr int DEVICE_BUFFERS = 32;
// The host pulls at most this many frames at a time: about 23 ms at 22050 Hz.
constexpr int DEVICE_BLOCK_FRAMES = 512;

struct DeviceBuffer {
    bool used;
    bool playing;
    WaveFormat format;
    uint8_t* raw;  // the bytes as the caller wrote them
    uint32_t raw_bytes;
    int16_t* frames;  // converted: stereo, device rate
    uint32_t frame_count;
    uint32_t position;  // next frame to play
};

struct SoundDevice {
    int rate = 22050;
    bool stereo = true;
    bool open = false;  // the host's audio device is running
    DeviceBuffer buffers[DEVICE_BUFFERS] = {};
    vorbel::TunePlayer music;
    MixOutput output;  // set up for `rate` at the first mix

    // A new buffer's handle (0 and up), or -1 when the format is not PCM
    // 8/16-bit mono/stereo, the size is 0 or no handle is free.
    int create_buffer(const WaveFormat& format, uint32_t bytes);
    // Gives the region [offset, offset + bytes) as two parts (the second
    // empty for a static buffer); false when the buffer or region is bad.
    bool lock(int buffer, uint32_t offset, uint32_t bytes, void** part1, uint32_t* size1,
              void** part2, uint32_t* size2);
    // Converts what was written into the form the mixer plays.
    bool unlock(int buffer);
    void stop(int buffer);
    void set_position(int buffer, uint32_t frame);
    void play(int buffer);  // once, not looping
    void release(int buffer);
    void release_all();

    // Adds `frames` stereo frames of the music and the playing buffers to
    // `sums`, moving them on: what the output stage is given.
    void add_voices(int32_t* sums, int frames);
    // Mixes `frames` stereo frames for the card: add_voices, then the output
    // stage (no offset, headroom, a limiter that never reaches full scale).
    void mix(int16_t* out, int frames);
};

// The host's audio callback: `user` is the SoundDevice.
void sound_device_callback(int16_t* out, int frames, void* user);
