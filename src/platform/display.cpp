#include "platform/display.h"

#include "platform/bmp_reader.h"
#include "platform/resources.h"
#include "platform/surface.h"

namespace {

Surface back_surface;
Surface surfaces[SURFACE_SLOTS];

}  // namespace

bool start_display(int width, int height) {
    return make_surface(&back_surface, width, height, 0);
}

void end_display() {
    for (Surface& s : surfaces) free_surface(&s);
    free_surface(&back_surface);
}

bool load_bitmap(const char* name, int slot) {
    if (slot < 0 || slot >= SURFACE_SLOTS || !surfaces[slot].pixels.empty()) return false;
    if (back_surface.pixels.empty()) return false;
    ResourceData data;
    if (!find_resource("BITMAP", name, &data)) return false;
    return read_bmp(data.bytes, data.size, &surfaces[slot]);
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
    // A source rectangle that leaves its picture is refused whole, and an
    // empty slot draws nothing.
    copy_keyed(surfaces[slot], src, &back_surface, x, y);
}

int draw_block(DrawBlock block) {
    if (block.shown == 1) {
        const Rect source = {block.src_left, block.src_top, block.src_right, block.src_bottom};
        blit_clipped(&ScreenRect, block.screen_x, block.screen_y, &source, block.surface);
    }
    return 0;
}

void fill_back_surface(const Rect& rect, uint32_t colour) {
    fill_surface(&back_surface, rect, colour);
}

const uint32_t* back_surface_pixels() {
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
