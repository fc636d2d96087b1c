#include "platform/audio_device.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/host.h"
#include "platform/output_level.h"

namespace {

// The game thread's side of the lock; the callback already runs inside it.
// A device that is not open has no callback to keep out (offline rendering).
struct AudioLock {
    explicit AudioLock(const SoundDevice& d) : held(d.open) {
        if (held) host().lock_audio();
    }
    ~AudioLock() {
        if (held) host().unlock_audio();
    }
    bool held;
};

bool valid(const SoundDevice& d, int buffer) {
    return buffer >= 0 && buffer < DEVICE_BUFFERS && d.buffers[buffer].used;
}

int32_t source_sample(const DeviceBuffer& b, uint32_t frame, int channel) {
    const int channels = b.format.channels;
    const int c = channel < channels ? channel : 0;
    const uint32_t index = frame * channels + c;
    if (b.format.bits_per_sample == 8) return (static_cast<int32_t>(b.raw[index]) - 128) << 8;
    const uint8_t* p = b.raw + 2 * index;
    return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
}

}  // namespace

int SoundDevice::create_buffer(const WaveFormat& format, uint32_t bytes) {
    if (format.format_tag != 1 || (format.channels != 1 && format.channels != 2) ||
        (format.bits_per_sample != 8 && format.bits_per_sample != 16) ||
        format.samples_per_second < 1000 || format.samples_per_second > 192000 || bytes == 0)
        return -1;
    const uint32_t frame_bytes = format.channels * format.bits_per_sample / 8u;
    const uint64_t in_frames = bytes / frame_bytes;
    const uint64_t out_frames =
        (in_frames * rate + format.samples_per_second - 1) / format.samples_per_second;
    if (in_frames == 0 || out_frames > (1u << 26)) return -1;
    for (int i = 0; i < DEVICE_BUFFERS; ++i) {
        if (buffers[i].used) continue;
        auto* raw = new (std::nothrow) uint8_t[bytes]();
        auto* frames = new (std::nothrow) int16_t[out_frames * 2]();
        if (!raw || !frames) {
            delete[] raw;
            delete[] frames;
            return -1;
        }
        AudioLock lock(*this);
        DeviceBuffer& b = buffers[i];
        b = DeviceBuffer{true, false, format, raw, bytes, frames, static_cast<uint32_t>(out_frames),
                         0};
        return i;
    }
    return -1;
}

bool SoundDevice::lock(int buffer, uint32_t offset, uint32_t bytes, void** part1, uint32_t* size1,
                       void** part2, uint32_t* size2) {
    if (!valid(*this, buffer)) return false;
    DeviceBuffer& b = buffers[buffer];
    if (offset > b.raw_bytes || bytes > b.raw_bytes - offset) return false;
    *part1 = b.raw + offset;
    *size1 = bytes;
    *part2 = nullptr;
    *size2 = 0;
    return true;
}

bool SoundDevice::unlock(int buffer) {
    if (!valid(*this, buffer)) return false;
    AudioLock lock(*this);
    DeviceBuffer& b = buffers[buffer];
    const uint32_t frame_bytes = b.format.channels * b.format.bits_per_sample / 8u;
    const uint32_t in_frames = b.raw_bytes / frame_bytes;
    const uint64_t src_rate = b.format.samples_per_second;
    // Linear interpolation between source frames, in 16.16 fixed point.
    for (uint32_t f = 0; f < b.frame_count; ++f) {
        uint64_t pos = (static_cast<uint64_t>(f) * src_rate << 16) / rate;
        uint32_t i = static_cast<uint32_t>(pos >> 16);
        int32_t frac = static_cast<int32_t>(pos & 0xFFFF);
        uint32_t j = std::min(i + 1, in_frames - 1);
        i = std::min(i, in_frames - 1);
        for (int c = 0; c < 2; ++c) {
            int32_t a = source_sample(b, i, c);
            int32_t z = source_sample(b, j, c);
            int32_t v = a + static_cast<int32_t>((static_cast<int64_t>(z - a) * frac) >> 16);
            b.frames[2 * f + c] = static_cast<int16_t>(v);
        }
    }
    return true;
}

void SoundDevice::stop(int buffer) {
    if (!valid(*this, buffer)) return;
    AudioLock lock(*this);
    buffers[buffer].playing = false;
}

void SoundDevice::set_position(int buffer, uint32_t frame) {
    if (!valid(*this, buffer)) return;
    AudioLock lock(*this);
    buffers[buffer].position = std::min(frame, buffers[buffer].frame_count);
}

void SoundDevice::play(int buffer) {
    if (!valid(*this, buffer)) return;
    AudioLock lock(*this);
    DeviceBuffer& b = buffers[buffer];
    b.playing = b.position < b.frame_count;
}

void SoundDevice::release(int buffer) {
    if (!valid(*this, buffer)) return;
    uint8_t* raw;
    int16_t* frames;
    {
        AudioLock lock(*this);
        DeviceBuffer& b = buffers[buffer];
        raw = b.raw;
        frames = b.frames;
        b = DeviceBuffer{};
    }
    delete[] raw;
    delete[] frames;
}

void SoundDevice::release_all() {
    for (int i = 0; i < DEVICE_BUFFERS; ++i) release(i);
}

void SoundDevice::add_voices(int32_t* sums, int frames) {
    music.render_add(sums, frames);
    for (DeviceBuffer& b : buffers) {
        if (!b.playing) continue;
        const int take = static_cast<int>(std::min<uint32_t>(frames, b.frame_count - b.position));
        const int16_t* src = b.frames + 2 * b.position;
        for (int i = 0; i < 2 * take; ++i) sums[i] += src[i];
        b.position += static_cast<uint32_t>(take);
        if (b.position >= b.frame_count) b.playing = false;
    }
}

void SoundDevice::mix(int16_t* out, int frames) {
    if (output.rate != rate) output.reset(rate);
    int32_t sums[2 * DEVICE_BLOCK_FRAMES];
    while (frames > 0) {
        const int n = std::min(frames, DEVICE_BLOCK_FRAMES);
        std::memset(sums, 0, sizeof(int32_t) * 2 * n);
        add_voices(sums, n);
        output.process(sums, out, n);
        out += 2 * n;
        frames -= n;
    }
}

void sound_device_callback(int16_t* out, int frames, void* user) {
    // The player's master level, after the mix: held while paused.
    if (output_held()) {
        std::memset(out, 0, sizeof(int16_t) * 2 * static_cast<size_t>(frames));
        return;
    }
    static_cast<SoundDevice*>(user)->mix(out, frames);
    apply_output_gain(out, frames);
}
