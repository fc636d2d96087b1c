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

constexpr uint32_t LONGEST_RUN = 0xFFFF;

// True when the `count` pixels from `run` on (one row of an index) hold no key
// pixel. A run counted as the longest one says only that many are not keys.
bool span_opaque(const uint16_t* run, int64_t count) {
    int64_t at = 0;
    while (at < count) {
        if (run[at] == 0) return false;
        at += run[at];
    }
    return true;
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
    surface->opaque_run = {};
    surface->no_key_pixel = false;
}

void index_key_pixels(Surface* surface) {
    surface->opaque_run.assign(surface->pixels.size(), 0);
    surface->no_key_pixel =
        std::find(surface->pixels.begin(), surface->pixels.end(), 0u) == surface->pixels.end();
    const size_t width = static_cast<size_t>(surface->width);
    for (size_t row = 0; row < static_cast<size_t>(surface->height); ++row) {
        const uint32_t* line = surface->pixels.data() + row * width;
        uint16_t* runs = surface->opaque_run.data() + row * width;
        uint32_t run = 0;
        for (size_t x = width; x-- > 0;) {
            run = line[x] != 0 ? std::min(run + 1, LONGEST_RUN) : 0;
            runs[x] = static_cast<uint16_t>(run);
        }
    }
}

bool rect_opaque(const Surface& surface, const Rect& rect) {
    const int64_t w = int64_t{rect.right} - rect.left;
    const int64_t h = int64_t{rect.bottom} - rect.top;
    if (w <= 0 || h <= 0 || !inside(surface, rect.left, rect.top, w, h)) return false;
    if (surface.opaque_run.size() != surface.pixels.size()) return false;
    if (surface.no_key_pixel) return true;
    const uint16_t* run =
        surface.opaque_run.data() + static_cast<size_t>(rect.top) * surface.width + rect.left;
    for (int64_t row = 0; row < h; ++row, run += surface.width)
        if (!span_opaque(run, w)) return false;
    return true;
}

bool copy_keyed(const Surface& from, const Rect& source, Surface* to, int32_t x, int32_t y) {
    const int64_t w = int64_t{source.right} - source.left;
    const int64_t h = int64_t{source.bottom} - source.top;
    if (w <= 0 || h <= 0) return false;
    if (!inside(from, source.left, source.top, w, h) || !inside(*to, x, y, w, h)) return false;
    const size_t offset = static_cast<size_t>(source.top) * from.width + source.left;
    const uint32_t* src = from.pixels.data() + offset;
    uint32_t* dst = to->pixels.data() + static_cast<size_t>(y) * to->width + x;
    const bool indexed = from.opaque_run.size() == from.pixels.size();
    const uint16_t* run = indexed ? from.opaque_run.data() + offset : nullptr;
    for (int64_t row = 0; row < h; ++row) {
        // A row starting with a key pixel (as most sprite rows do) is keyed
        // without a look at the index.
        if (run && src[0] != 0 && span_opaque(run, w))
            std::memcpy(dst, src, static_cast<size_t>(w) * sizeof(uint32_t));
        else
            copy_row_keyed(src, dst, w);
        src += from.width;
        dst += to->width;
        if (run) run += from.width;
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
