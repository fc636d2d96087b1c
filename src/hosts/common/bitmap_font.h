// A tiny built-in font for the window's own furniture (the menu bar): glyphs
// of 5 by 8 pixels (7 rows above the baseline, 1 for descenders), drawn on
// 0x00RRGGBB pixel rows.
#pragma once

#include <cstdint>

constexpr int FONT_GLYPH_WIDTH = 5;
constexpr int FONT_GLYPH_HEIGHT = 8;
constexpr int FONT_ADVANCE = FONT_GLYPH_WIDTH + 1;

// The width in pixels that draw_text covers for `text` (no trailing gap).
int text_width(const char* text);

// Draws `text` with its top-left corner at (x, y) in `colour`, clipped to the
// width by height picture. Characters without a glyph show as a hollow box.
void draw_text(uint32_t* pixels, int pitch_pixels, int width, int height, int x, int y,
               const char* text, uint32_t colour);
