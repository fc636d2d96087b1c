#include "platform/surface.h"

#include <algorithm>

namespace {

// True when the w x h rectangle at (x, y) lies wholly on the surface. The
// sums are taken in 64 bits so that no position can wrap into range.
bool inside(const Surface& s, int64_t x, int64_t y, int64_t w, int64_t h) {
    return x >= 0 && y >= 0 && x + w <= s.width && y + h <= s.height;
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
        // Written as a select rather than a skipped store so the loop vectorises.
        for (int64_t i = 0; i < w; ++i) dst[i] = src[i] != 0 ? src[i] : dst[i];
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
    for (int32_t y = top; y < bottom; ++y) {
        uint32_t* row = surface->pixels.data() + static_cast<size_t>(y) * surface->width;
        std::fill(row + left, row + right, colour);
    }
}
