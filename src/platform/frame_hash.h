// The hash that names a presented frame in the runner's trace and in a
// recorded game's hash file.
#pragma once

#include <cstdint>

// FNV-1a 32-bit over the pixels, row by row, each as the 32-bit value
// 0x00RRGGBB in 4 little-endian bytes.
uint32_t hash_pixels(const uint32_t* pixels, int width, int height, int pitch_bytes);
