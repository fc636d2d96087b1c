#include "platform/bmp_reader.h"

namespace {

constexpr size_t FILE_HEADER_SIZE = 14;
constexpr uint32_t INFO_HEADER_SIZE = 40;
// The V4 and V5 headers begin like the 40-byte one; for an uncompressed
// picture their further fields (masks, colour space) change nothing.
constexpr uint32_t V4_HEADER_SIZE = 108;
constexpr uint32_t V5_HEADER_SIZE = 124;
constexpr uint32_t COMPRESSION_NONE = 0;

uint16_t read16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t read32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool refuse(Surface* out, const char** reason, const char* why) {
    free_surface(out);
    if (reason) *reason = why;
    return false;
}

// The colour-table index of pixel x in a row of `depth`-bit pixels, packed
// from the most significant bit.
uint32_t index_at(const uint8_t* row, int64_t x, uint32_t depth) {
    if (depth == 8) return row[x];
    const int64_t bit = x * depth;
    const uint32_t shift = 8 - depth - static_cast<uint32_t>(bit % 8);
    return (row[bit / 8] >> shift) & ((1u << depth) - 1);
}

}  // namespace

bool read_bmp(const uint8_t* bytes, size_t size, Surface* out, const char** reason) {
    if (!bytes || size < FILE_HEADER_SIZE + INFO_HEADER_SIZE)
        return refuse(out, reason, "shorter than the bitmap headers");
    if (bytes[0] != 'B' || bytes[1] != 'M') return refuse(out, reason, "not a bitmap");
    const uint32_t pixel_offset = read32(bytes + 10);
    const uint8_t* info = bytes + FILE_HEADER_SIZE;
    const uint32_t header_size = read32(info);
    if (header_size != INFO_HEADER_SIZE && header_size != V4_HEADER_SIZE &&
        header_size != V5_HEADER_SIZE)
        return refuse(out, reason, "unknown header size");
    if (header_size > size - FILE_HEADER_SIZE)
        return refuse(out, reason, "header runs past the end");
    const int32_t width = static_cast<int32_t>(read32(info + 4));
    const int32_t stored_height = static_cast<int32_t>(read32(info + 8));
    const uint16_t planes = read16(info + 12);
    const uint16_t depth = read16(info + 14);
    const uint32_t compression = read32(info + 16);
    uint32_t colours = read32(info + 32);

    if (planes != 1) return refuse(out, reason, "plane count is not 1");
    if (depth != 1 && depth != 4 && depth != 8) return refuse(out, reason, "unsupported depth");
    if (compression != COMPRESSION_NONE) return refuse(out, reason, "compressed");
    // A negative height marks a top-down picture; INT32_MIN has no magnitude.
    if (width <= 0 || stored_height == 0 || stored_height == INT32_MIN)
        return refuse(out, reason, "bad dimensions");
    const uint32_t table_limit = 1u << depth;
    if (colours == 0) colours = table_limit;
    if (colours > table_limit) return refuse(out, reason, "colour table too large");

    // The colour table follows the header; the pixels follow the table.
    const uint64_t table_at = FILE_HEADER_SIZE + uint64_t{header_size};
    const uint64_t table_end = table_at + 4 * uint64_t{colours};
    if (table_end > size) return refuse(out, reason, "colour table runs past the end");
    if (pixel_offset < table_end) return refuse(out, reason, "pixels overlap the headers");
    const bool bottom_up = stored_height > 0;
    const int64_t height = bottom_up ? int64_t{stored_height} : -int64_t{stored_height};
    // Rows are padded to whole 32-bit words.
    const uint64_t row_bytes = (uint64_t{static_cast<uint32_t>(width)} * depth + 31) / 32 * 4;
    if (pixel_offset > size || row_bytes * static_cast<uint64_t>(height) > size - pixel_offset)
        return refuse(out, reason, "pixels run past the end");

    uint32_t palette[256];
    for (uint32_t i = 0; i < colours; ++i) {
        const uint8_t* quad = bytes + table_at + 4 * i;  // blue, green, red, unused
        palette[i] = (uint32_t{quad[2]} << 16) | (uint32_t{quad[1]} << 8) | quad[0];
    }
    make_surface(out, width, static_cast<int32_t>(height), 0);
    for (int64_t y = 0; y < height; ++y) {
        const int64_t stored_row = bottom_up ? height - 1 - y : y;
        const uint8_t* row = bytes + pixel_offset + static_cast<uint64_t>(stored_row) * row_bytes;
        uint32_t* line = out->pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int64_t x = 0; x < width; ++x) {
            const uint32_t index = index_at(row, x, depth);
            if (index >= colours) return refuse(out, reason, "pixel beyond the colour table");
            line[x] = palette[index];
        }
    }
    if (reason) *reason = nullptr;
    return true;
}
