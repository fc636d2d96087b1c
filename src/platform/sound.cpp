#include "platform/sound.h"

#include <cstring>

#include "platform/audio_device.h"
#include "platform/host.h"
#include "platform/resources.h"

namespace {

SoundDevice* sound_device = nullptr;
// The device buffer each slot holds, or -1.
int sound_table[SOUND_SLOTS] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};

uint16_t read16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t read32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Where the format record starts, and the fewest bytes that hold it.
constexpr size_t WAVE_FORMAT_OFFSET = 20;
constexpr size_t WAVE_FORMAT_SIZE = 18;

}  // namespace

void set_sound_device(SoundDevice* device) {
    sound_device = device;
}

int parse_wave(const uint8_t* bytes, size_t size, WaveFormat* format, const uint8_t** samples,
               uint32_t* sample_bytes) {
    if (!bytes || size < WAVE_FORMAT_OFFSET + WAVE_FORMAT_SIZE) return 0;
    if (std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVEfmt ", 8) != 0) return 0;
    // A 16-byte fmt chunk lends the record's last field from the next chunk;
    // PCM never reads it. A shorter one would lend format fields too.
    if (read32(bytes + 16) < 16) return 0;
    const uint8_t* f = bytes + WAVE_FORMAT_OFFSET;
    WaveFormat wf{read16(f),      read16(f + 2),  read32(f + 4), read32(f + 8),
                  read16(f + 12), read16(f + 14), read16(f + 16)};
    if (wf.format_tag != 1 || (wf.channels != 1 && wf.channels != 2) ||
        (wf.bits_per_sample != 8 && wf.bits_per_sample != 16))
        return 0;
    // Walk the chunks from the fmt chunk. The walk stays inside the resource:
    // a chunk whose header or body runs past the end refuses the WAVE, and
    // so does running out of chunks before a "data" one.
    size_t at = 12;
    while (size - at >= 8) {
        const uint32_t chunk_size = read32(bytes + at + 4);
        if (chunk_size > size - at - 8) return 0;
        if (std::memcmp(bytes + at, "data", 4) == 0) {
            *format = wf;
            *samples = bytes + at + 8;
            *sample_bytes = chunk_size;
            return 1;
        }
        at += 8 + static_cast<size_t>(chunk_size);  // no pad byte after an odd size
    }
    return 0;
}

int DirectSound_Voice_Load_Resource(const char* name, int slot) {
    if (!sound_device) return 1;
    if (slot < 0 || slot >= SOUND_SLOTS) return 0;
    ResourceData data;
    if (!find_resource("WAVE", name, &data)) return 0;
    WaveFormat format;
    const uint8_t* samples = nullptr;
    uint32_t sample_bytes = 0;
    if (!parse_wave(data.bytes, data.size, &format, &samples, &sample_bytes)) return 0;
    // A slot loaded a second time gives up its old buffer rather than losing it.
    if (sound_table[slot] >= 0) sound_device->release(sound_table[slot]);
    sound_table[slot] = sound_device->create_buffer(format, sample_bytes);
    if (sound_table[slot] < 0) return 0;
    void* part1;
    void* part2;
    uint32_t size1, size2;
    if (!sound_device->lock(sound_table[slot], 0, sample_bytes, &part1, &size1, &part2, &size2))
        return 0;
    std::memcpy(part1, samples, size1);
    if (size2 != 0) std::memcpy(part2, samples + size1, size2);
    return sound_device->unlock(sound_table[slot]) ? 1 : 0;
}

void play_sound(int slot) {
    host().note_sound(slot);
    if (!sound_device || slot < 0 || slot >= SOUND_SLOTS || sound_table[slot] < 0) return;
    const int buffer = sound_table[slot];
    sound_device->stop(buffer);
    sound_device->set_position(buffer, 0);
    sound_device->play(buffer);
}

void release_sounds() {
    if (!sound_device) return;
    for (int& buffer : sound_table) {
        if (buffer >= 0) sound_device->release(buffer);
        buffer = -1;
    }
}
