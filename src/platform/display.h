// The back surface every frame is composed on, the table of bitmap surfaces,
// and the one sprite-drawing call with its clipping and colour key.
#pragma once

#include <cstdint>

#include "platform/messages.h"
#include "platform/resource_list.h"
#include "platform/surface.h"

constexpr int SCREEN_WIDTH = 240;
constexpr int SCREEN_HEIGHT = 320;
constexpr int SURFACE_SLOTS = 512;

// The slots the bitmaps are loaded into at start-up (STARTUP_BITMAPS).
enum SurfaceSlot : int32_t {
    SURFACE_BACKGROUND_1 = bitmap_slot("background"),
    SURFACE_BACKGROUND_2 = bitmap_slot("background2"),
    SURFACE_BACKGROUND_3 = bitmap_slot("background3"),
    SURFACE_CHARA = bitmap_slot("chara01"),  // small sprites and the digit glyphs
    SURFACE_TITLE = bitmap_slot("title"),
    SURFACE_OBJECT = bitmap_slot("object"),   // larger pictures, banners, reward names
    SURFACE_REWARDS = bitmap_slot("gohobi"),  // the ten reward icons
    SURFACE_MAKER_LOGO = bitmap_slot("QUELPIN"),
    SURFACE_LIBRARY_LOGO = bitmap_slot("vorbel"),
    SURFACE_SHUTTER = bitmap_slot("shutter01"),  // the screen-transition pictures
    SURFACE_END = bitmap_slot("end"),
};

// The whole back surface.
inline constexpr Rect ScreenRect = {0, 0, SCREEN_WIDTH, SCREEN_HEIGHT};

// The eight-word picture reference of every object and template row.
struct DrawBlock {
    int32_t shown;
    int32_t surface;
    int32_t src_left;
    int32_t src_top;
    int32_t src_right;
    int32_t src_bottom;
    int32_t screen_x;
    int32_t screen_y;
};
using SpriteTemplate = DrawBlock;

bool start_display(int width, int height);
void end_display();

bool load_bitmap(const char* name, int slot);
void load_bitmaps();

void blit_clipped(const Rect* clip, int32_t x, int32_t y, const Rect* source, int32_t slot);
int draw_block(DrawBlock block);

// Fills a rectangle of the back surface with a raw pixel value. A fill of the
// whole surface is written when something next draws or reads, and not at
// all when that is an opaque picture covering the whole surface.
void fill_back_surface(const Rect& rect, uint32_t colour);

// The back surface as 0x00RRGGBB pixels, every drawing so far written; pitch
// in bytes.
const uint32_t* back_surface_pixels();
int back_surface_pitch();

// Width and height of a loaded slot; false for an empty slot.
bool surface_size(int slot, int* width, int* height);
// One pixel of a loaded slot as 0x00RRGGBB (for tests and tools).
uint32_t surface_pixel(int slot, int x, int y);
