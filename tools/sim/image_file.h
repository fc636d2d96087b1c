// Writes a 0x00RRGGBB picture as PNG or BMP, chosen by the file's ending.
#pragma once

#include <cstdint>
#include <string>

#include "hosts/common/frame_hash.h"

// False with errno set, and then no partial file is left.
bool write_image(const std::string& path, const uint32_t* pixels, int width, int height,
                 int pitch_bytes);
