// Reads the Windows bitmaps the game carries: uncompressed 1-, 4- and 8-bit
// pictures with a colour table, stored bottom-up or top-down.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/surface.h"

// Decodes `size` bytes into `out` as 0x00RRGGBB pixels. Anything else (other
// depths, compression, a header, size, table or offset that does not fit the
// bytes, a pixel beyond the colour table) is refused: false, `out` left
// empty and `reason` (when given) set to a short description. Never reads
// outside the bytes.
bool read_bmp(const uint8_t* bytes, size_t size, Surface* out, const char** reason = nullptr);
