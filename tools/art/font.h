// The game's own pixel fonts, written as text in font.cpp, and text drawing.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "draw.h"

struct Glyph {
    int width = 0;
    std::vector<std::string> rows;  // '#' set, '.' clear
};

struct Font {
    int height = 0;       // rows of a glyph, descenders included
    int cap_height = 0;   // rows above the baseline
    int space_width = 0;  // width of ' '
    std::map<char, Glyph> glyphs;
};

const Font& regular_font();  // 5x7 capitals, lower case with descenders, digits, punctuation
const Font& tiny_font();     // 3x5 capitals and digits for captions squeezed into 16 pixels

// How the letters are painted: a fill blended from top to bottom, an optional
// one-pixel outline and an optional drop shadow one pixel down and right.
struct TextStyle {
    Colour top = ink::white;
    Colour bottom = ink::white;
    Colour edge = ink::outline;  // kClear for no outline
    Colour shadow = kClear;
    int scale = 1;
};

int text_width(const Font& font, std::string_view text, int scale = 1);
// Height the style needs: glyphs plus outline and shadow.
int text_height(const Font& font, const TextStyle& style);

// Draws text with its outline's top-left corner at (x, y). Returns the width drawn.
// Throws std::invalid_argument for a character the font lacks (space aside).
int draw_text(Image& img, const Font& font, int x, int y, std::string_view text,
              const TextStyle& style);
// Draws text centred on `centre_x`.
int draw_text_centred(Image& img, const Font& font, int centre_x, int y, std::string_view text,
                      const TextStyle& style);
