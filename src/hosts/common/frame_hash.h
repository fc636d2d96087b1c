// The fingerprint of a frame that traces and checks compare: FNV-1a 32-bit
// over the pixels row by row, each the 32-bit value 0x00RRGGBB as four
// little-endian bytes.
#pragma once

#include <cstdint>

uint32_t hash_pixels(const uint32_t* pixels, int width, int height, int pitch_bytes);
