#include "platform/display.h"

#include <SDL.h>

#include "platform/resources.h"

namespace {

struct BitmapName {
    const char* name;
    int slot;
};

// The bitmaps the game loads at start-up, in load order.
constexpr BitmapName kBitmaps[] = {
    {"background", 1}, {"background2", 2}, {"background3", 3}, {"chara01", 4},
    {"title", 5},      {"object", 6},      {"gohobi", 7},      {"QUELPIN", 8},
    {"vorbel", 9},     {"shutter01", 10},  {"end", 11},
};

SDL_Surface* back_surface = nullptr;
SDL_Surface* surfaces[SURFACE_SLOTS] = {};
int display_width = 0;
int display_height = 0;

// SDL builds a blit map the first time one surface is blitted onto another;
// doing that once at load time keeps the frame loop free of allocation.
void prime_blit_map(SDL_Surface* source) {
    if (back_surface->w < 1 || source->w < 1 || source->h < 1) return;
    const uint32_t saved = static_cast<uint32_t*>(back_surface->pixels)[0];
    SDL_Rect src = {0, 0, 1, 1};
    SDL_Rect dst = {0, 0, 1, 1};
    SDL_BlitSurface(source, &src, back_surface, &dst);
    static_cast<uint32_t*>(back_surface->pixels)[0] = saved;
}

}  // namespace

int start_display(WindowHandle, int width, int height) {
    display_width = width;
    display_height = height;
    back_surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_XRGB8888);
    if (!back_surface) return 0;
    SDL_FillRect(back_surface, nullptr, 0);
    return 1;
}

void end_display(WindowHandle) {
    for (SDL_Surface*& s : surfaces) {
        if (s) SDL_FreeSurface(s);
        s = nullptr;
    }
    if (back_surface) SDL_FreeSurface(back_surface);
    back_surface = nullptr;
}

int load_bitmap(const char* name, int slot) {
    if (slot < 0 || slot >= SURFACE_SLOTS || surfaces[slot] || !back_surface) return 0;
    ResourceData data;
    if (!find_resource("BITMAP", name, &data)) return 0;
    SDL_RWops* stream = SDL_RWFromConstMem(data.bytes, static_cast<int>(data.size));
    if (!stream) return 0;
    SDL_Surface* loaded = SDL_LoadBMP_RW(stream, 1);
    if (!loaded) return 0;
    // Converted once to the back surface's format: blits are plain copies.
    SDL_Surface* converted = SDL_ConvertSurface(loaded, back_surface->format, 0);
    SDL_FreeSurface(loaded);
    if (!converted) return 0;
    SDL_SetSurfaceRLE(converted, 0);
    SDL_SetSurfaceBlendMode(converted, SDL_BLENDMODE_NONE);
    SDL_SetColorKey(converted, SDL_TRUE, 0);
    prime_blit_map(converted);
    surfaces[slot] = converted;
    return 1;
}

void load_bitmaps() {
    for (const BitmapName& b : kBitmaps) load_bitmap(b.name, b.slot);
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
    if (slot < 0 || slot >= SURFACE_SLOTS || !back_surface) return;
    SDL_Surface* picture = surfaces[slot];
    if (!picture) return;
    const int32_t w = src.right - src.left;
    const int32_t h = src.bottom - src.top;
    if (w <= 0 || h <= 0) return;
    // A source rectangle that leaves its picture is refused whole.
    if (src.left < 0 || src.top < 0 || src.right > picture->w || src.bottom > picture->h) return;
    if (x < 0 || y < 0 || x + w > back_surface->w || y + h > back_surface->h) return;
    SDL_Rect from = {src.left, src.top, w, h};
    SDL_Rect to = {x, y, w, h};
    SDL_LowerBlit(picture, &from, back_surface, &to);
}

int draw_block(DrawBlock block) {
    if (block.shown == 1) {
        const Rect source = {block.src_left, block.src_top, block.src_right, block.src_bottom};
        blit_clipped(&ScreenRect, block.screen_x, block.screen_y, &source, block.surface);
    }
    return 0;
}

void fill_back_surface(const Rect& rect, uint32_t colour) {
    if (!back_surface) return;
    SDL_Rect r = {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
    SDL_FillRect(back_surface, &r, colour);
}

const uint32_t* back_surface_pixels() {
    return back_surface ? static_cast<const uint32_t*>(back_surface->pixels) : nullptr;
}

int back_surface_pitch() {
    return back_surface ? back_surface->pitch : 0;
}

bool surface_size(int slot, int* width, int* height) {
    if (slot < 0 || slot >= SURFACE_SLOTS || !surfaces[slot]) return false;
    *width = surfaces[slot]->w;
    *height = surfaces[slot]->h;
    return true;
}

uint32_t surface_pixel(int slot, int x, int y) {
    SDL_Surface* s = (slot >= 0 && slot < SURFACE_SLOTS) ? surfaces[slot] : nullptr;
    if (!s || x < 0 || y < 0 || x >= s->w || y >= s->h) return 0;
    return static_cast<const uint32_t*>(s->pixels)[y * (s->pitch / 4) + x] & 0xFFFFFF;
}
