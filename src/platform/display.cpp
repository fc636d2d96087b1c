#include "platform/display.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/bmp_reader.h"
#include "platform/resources.h"
#include "platform/surface.h"

namespace {

Surface back_surface;
Surface surfaces[SURFACE_SLOTS];

// A fill of the whole back surface that is not written yet. Every drawing
// and every reader of the back surface writes it first, except a copy of an
// opaque picture onto the whole surface, which would cover it pixel for
// pixel and so drops it. The frame is the same either way; a frame that
// begins with a clear and a full-screen background is one copy cheaper.
bool clear_pending = false;
uint32_t pending_colour = 0;

// The opaque full-surface picture the back surface holds in every row not
// drawn on since it was copied (slot -1: none), so that copying the same
// picture again, as every frame of a stage does, rewrites only those rows.
int32_t underlay_slot = -1;
Rect underlay_source = {};
std::vector<uint8_t> row_drawn;  // one flag a row of the back surface

void forget_underlay() {
    underlay_slot = -1;
}

void mark_rows_drawn(int32_t top, int32_t bottom) {
    if (underlay_slot < 0) return;
    top = std::max(top, 0);
    bottom = std::min(bottom, back_surface.height);
    for (int32_t row = top; row < bottom; ++row) row_drawn[row] = 1;
}

// Copies `source` of `slot`, known to be opaque and to cover the back
// surface exactly, onto it.
void copy_underlay(int32_t slot, const Rect& source) {
    const Surface& from = surfaces[slot];
    const bool same = slot == underlay_slot && source.left == underlay_source.left &&
                      source.top == underlay_source.top;
    const size_t row_bytes = static_cast<size_t>(back_surface.width) * sizeof(uint32_t);
    for (int32_t row = 0; row < back_surface.height; ++row) {
        if (same && !row_drawn[row]) continue;
        std::memcpy(
            back_surface.pixels.data() + static_cast<size_t>(row) * back_surface.width,
            from.pixels.data() + static_cast<size_t>(source.top + row) * from.width + source.left,
            row_bytes);
        row_drawn[row] = 0;
    }
    underlay_slot = slot;
    underlay_source = source;
}

void write_pending_clear() {
    if (!clear_pending) return;
    clear_pending = false;
    fill_surface(&back_surface, Rect{0, 0, back_surface.width, back_surface.height},
                 pending_colour);
    forget_underlay();
}

}  // namespace

bool start_display(int width, int height) {
    clear_pending = false;
    forget_underlay();
    if (!make_surface(&back_surface, width, height, 0)) return false;
    row_drawn.assign(static_cast<size_t>(height), 0);
    return true;
}

void end_display() {
    for (Surface& s : surfaces) free_surface(&s);
    free_surface(&back_surface);
    clear_pending = false;
    forget_underlay();
}

bool load_bitmap(const char* name, int slot) {
    if (slot < 0 || slot >= SURFACE_SLOTS || !surfaces[slot].pixels.empty()) return false;
    if (back_surface.pixels.empty()) return false;
    ResourceData data;
    if (!find_resource("BITMAP", name, &data)) return false;
    if (!read_bmp(data.bytes, data.size, &surfaces[slot])) return false;
    index_key_pixels(&surfaces[slot]);
    return true;
}

void load_bitmaps() {
    for (const NamedSlot& b : STARTUP_BITMAPS) load_bitmap(b.name, b.slot);
}

void blit_clipped(const Rect* clip, int32_t x, int32_t y, const Rect* source, int32_t slot) {
    Rect src = *source;
    if (x + (src.right - src.left) > clip->right) src.right = src.left + (clip->right - x);
    if (x < clip->left) {
        src.left = src.left + (clip->left - x);
        x = clip->left;
    }
    if (y + (src.bottom - src.top) > clip->bottom) src.bottom = src.top + (clip->bottom - y);
    if (y < clip->top) {
        src.top = src.top + (clip->top - y);
        y = clip->top;
    }
    if (slot < 0 || slot >= SURFACE_SLOTS) return;
    const bool covers_all = x == 0 && y == 0 &&
                            int64_t{src.right} - src.left == back_surface.width &&
                            int64_t{src.bottom} - src.top == back_surface.height;
    if (covers_all && !back_surface.pixels.empty() && rect_opaque(surfaces[slot], src)) {
        // Every pixel is written: a pending clear would be covered whole.
        clear_pending = false;
        copy_underlay(slot, src);
        return;
    }
    write_pending_clear();
    // A source rectangle that leaves its picture is refused whole, and an
    // empty slot draws nothing.
    if (copy_keyed(surfaces[slot], src, &back_surface, x, y))
        mark_rows_drawn(y, y + (src.bottom - src.top));
}

int draw_block(DrawBlock block) {
    if (block.shown == 1) {
        const Rect source = {block.src_left, block.src_top, block.src_right, block.src_bottom};
        blit_clipped(&ScreenRect, block.screen_x, block.screen_y, &source, block.surface);
    }
    return 0;
}

void fill_back_surface(const Rect& rect, uint32_t colour) {
    if (rect.left <= 0 && rect.top <= 0 && rect.right >= back_surface.width &&
        rect.bottom >= back_surface.height) {
        // Whatever was pending is covered by this fill.
        clear_pending = true;
        pending_colour = colour;
        return;
    }
    write_pending_clear();
    fill_surface(&back_surface, rect, colour);
    mark_rows_drawn(rect.top, rect.bottom);
}

const uint32_t* back_surface_pixels() {
    write_pending_clear();
    return back_surface.pixels.empty() ? nullptr : back_surface.pixels.data();
}

int back_surface_pitch() {
    return back_surface.width * 4;
}

bool surface_size(int slot, int* width, int* height) {
    if (slot < 0 || slot >= SURFACE_SLOTS || surfaces[slot].pixels.empty()) return false;
    *width = surfaces[slot].width;
    *height = surfaces[slot].height;
    return true;
}

uint32_t surface_pixel(int slot, int x, int y) {
    if (slot < 0 || slot >= SURFACE_SLOTS) return 0;
    const Surface& s = surfaces[slot];
    if (x < 0 || y < 0 || x >= s.width || y >= s.height) return 0;
    return s.pixels[static_cast<size_t>(y) * s.width + x] & 0xFFFFFF;
}
