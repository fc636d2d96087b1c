#include "hosts/common/frame_hash.h"

uint32_t hash_pixels(const uint32_t* pixels, int width, int height, int pitch_bytes) {
    uint32_t h = 2166136261u;
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = pixels + y * (pitch_bytes / 4);
        for (int x = 0; x < width; ++x) {
            const uint32_t p = row[x] & 0xFFFFFF;
            for (int i = 0; i < 4; ++i) {
                h ^= (p >> (8 * i)) & 0xFF;
                h *= 16777619u;
            }
        }
    }
    return h;
}
