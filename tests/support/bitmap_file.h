// Builds bitmap files in memory for the tests: uncompressed, with a colour
// table, at 1, 4 or 8 bits per pixel.
#pragma once

#include <cstdint>
#include <vector>

// A bitmap of w x h pixels whose colour table is `table` (stored with a
// count of colours when `store_count`, else as the full 1 << depth entries,
// the rest black) and whose pixels are the table `indices`, row by row from
// the top; stored bottom-up unless `top_down`.
inline std::vector<uint8_t> bitmap_file(int depth, int w, int h, const std::vector<uint32_t>& table,
                                        const std::vector<int>& indices, bool top_down = false,
                                        bool store_count = false) {
    const int entries = store_count ? static_cast<int>(table.size()) : 1 << depth;
    const int row = (w * depth + 31) / 32 * 4;
    const int pixels_at = 54 + 4 * entries;
    std::vector<uint8_t> b(pixels_at + row * h, 0);
    auto put = [&](int at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put(2, static_cast<uint32_t>(b.size()), 4);
    put(10, pixels_at, 4);
    put(14, 40, 4);
    put(18, static_cast<uint32_t>(w), 4);
    put(22, static_cast<uint32_t>(top_down ? -h : h), 4);
    put(26, 1, 2);
    put(28, static_cast<uint32_t>(depth), 2);
    put(46, store_count ? static_cast<uint32_t>(entries) : 0, 4);
    for (size_t i = 0; i < table.size() && static_cast<int>(i) < entries; ++i)
        put(54 + 4 * static_cast<int>(i), table[i], 3);
    for (int y = 0; y < h; ++y) {
        uint8_t* line = &b[pixels_at + (top_down ? y : h - 1 - y) * row];
        for (int x = 0; x < w; ++x) {
            const int bit = x * depth;
            line[bit / 8] |= static_cast<uint8_t>(indices[y * w + x] << (8 - depth - bit % 8));
        }
    }
    return b;
}
