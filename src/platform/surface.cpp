#include "platform/surface.h"

#include <algorithm>
#include <cstring>

namespace {

// True when the w x h rectangle at (x, y) lies wholly on the surface. The
// sums are taken in 64 bits so that no position can wrap into range.
bool inside(const Surface& s, int64_t x, int64_t y, int64_t w, int64_t h) {
    return x >= 0 && y >= 0 && x + w <= s.width && y + h <= s.height;
}

// One row of a keyed copy. Written as a select rather than a skipped store,
// on pointers that cannot overlap, so that the compiler can vectorise it.
void copy_row_keyed(const uint32_t* __restrict src, uint32_t* __restrict dst, int64_t count) {
    for (int64_t i = 0; i < count; ++i) dst[i] = src[i] != 0 ? src[i] : dst[i];
}

}  // namespace

bool make_surface(Surface* surface, int32_t width, int32_t height, uint32_t colour) {
    free_surface(surface);
    if (width <= 0 || height <= 0) return false;
    surface->pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), colour);
    surface->width = width;
    surface->height = height;
    return true;
}

void free_surface(Surface* surface) {
    surface->width = 0;
    surface->height = 0;
    surface->pixels = {};
}

bool copy_keyed(const Surface& from, const Rect& source, Surface* to, int32_t x, int32_t y) {
    const int64_t w = int64_t{source.right} - source.left;
    const int64_t h = int64_t{source.bottom} - source.top;
    if (w <= 0 || h <= 0) return false;
    if (!inside(from, source.left, source.top, w, h) || !inside(*to, x, y, w, h)) return false;
    const uint32_t* src =
        from.pixels.data() + static_cast<size_t>(source.top) * from.width + source.left;
    uint32_t* dst = to->pixels.data() + static_cast<size_t>(y) * to->width + x;
    for (int64_t row = 0; row < h; ++row) {
        copy_row_keyed(src, dst, w);
        src += from.width;
        dst += to->width;
    }
    return true;
}

void fill_surface(Surface* surface, const Rect& rect, uint32_t colour) {
    const int32_t left = std::max(rect.left, 0);
    const int32_t top = std::max(rect.top, 0);
    const int32_t right = std::min(rect.right, surface->width);
    const int32_t bottom = std::min(rect.bottom, surface->height);
    if (left >= right || top >= bottom) return;
    // Whole rows are one run; a colour of four equal bytes (black) is a memset.
    const bool whole_rows = left == 0 && right == surface->width;
    const size_t run = static_cast<size_t>(right - left) * (whole_rows ? bottom - top : 1);
    const int32_t runs = whole_rows ? 1 : bottom - top;
    const bool bytewise = colour == (colour & 0xFF) * 0x01010101u;
    for (int32_t i = 0; i < runs; ++i) {
        uint32_t* at =
            surface->pixels.data() + static_cast<size_t>(top + i) * surface->width + left;
        if (bytewise)
            std::memset(at, static_cast<int>(colour & 0xFF), run * sizeof(uint32_t));
        else
            std::fill_n(at, run, colour);
    }
}
