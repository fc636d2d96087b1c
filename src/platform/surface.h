// The game's own pictures: 32-bit 0x00RRGGBB pixels in rows with no padding,
// a colour-keyed copy between them, and a solid fill. A picture that will not
// change again can be indexed for its key pixels, so that the copy moves the
// rows without one as plain memory.
#pragma once

#include <cstdint>
#include <vector>

// A rectangle with right and bottom exclusive.
struct Rect {
    int32_t left, top, right, bottom;
};

struct Surface {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;  // width * height, row after row, top row first
    // Empty, or (after index_key_pixels) for each pixel how many pixels from
    // it rightwards in its row are not the key, counted up to 65535 at most.
    std::vector<uint16_t> opaque_run;
    bool no_key_pixel = false;  // indexed, and not one pixel is the key
};

// Gives the surface this size, every pixel `colour`; false (and the surface
// left empty) for a size of 0 or less.
bool make_surface(Surface* surface, int32_t width, int32_t height, uint32_t colour);
void free_surface(Surface* surface);

// Notes where the key pixels of the surface lie. Only for a surface whose
// pixels stay as they are from now on: the index is not kept up to date.
void index_key_pixels(Surface* surface);
// True when the surface is indexed and `rect` lies on it without a key pixel.
bool rect_opaque(const Surface& surface, const Rect& rect);

// Copies `source` of `from` to (x, y) on `to`, leaving out pixels of value 0
// (black is transparent). A source or destination that is empty or leaves
// its surface refuses the whole copy: nothing is drawn and false comes back.
// Rows an indexed source knows to have no key pixel are copied whole.
bool copy_keyed(const Surface& from, const Rect& source, Surface* to, int32_t x, int32_t y);

// Fills the part of `rect` that lies on the surface with a raw pixel value.
void fill_surface(Surface* surface, const Rect& rect, uint32_t colour);
