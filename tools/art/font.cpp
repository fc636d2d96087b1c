#include "font.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

namespace {

// Each block: a line of the characters it defines, then one line per glyph row
// with the glyphs side by side, separated by single spaces. Rows left out at
// the bottom of a block are empty (the descender rows of most letters).
const char* const kRegularBlocks[] = {
    R"(ABCDEFGHIJKLM
.###. ####. .###. ####. ##### ##### .###. #...# ### ..### #...# #.... #...#
#...# #...# #...# #...# #.... #.... #...# #...# .#. ...#. #..#. #.... ##.##
#...# #...# #.... #...# #.... #.... #.... #...# .#. ...#. #.#.. #.... #.#.#
##### ####. #.... #...# ####. ####. #.### ##### .#. ...#. ##... #.... #.#.#
#...# #...# #.... #...# #.... #.... #...# #...# .#. #..#. #.#.. #.... #...#
#...# #...# #...# #...# #.... #.... #...# #...# .#. #..#. #..#. #.... #...#
#...# ####. .###. ####. ##### #.... .#### #...# ### .##.. #...# ##### #...#)",
    R"(NOPQRSTUVWXYZ
#...# .###. ####. .###. ####. .#### ##### #...# #...# #...# #...# #...# #####
#...# #...# #...# #...# #...# #.... ..#.. #...# #...# #...# #...# #...# ....#
##..# #...# #...# #...# #...# #.... ..#.. #...# #...# #...# .#.#. .#.#. ...#.
#.#.# #...# ####. #...# ####. .###. ..#.. #...# #...# #.#.# ..#.. ..#.. ..#..
#..## #...# #.... #.#.# #.#.. ....# ..#.. #...# #...# #.#.# .#.#. ..#.. .#...
#...# #...# #.... #..#. #..#. ....# ..#.. #...# .#.#. #.#.# #...# ..#.. #....
#...# .###. #.... .##.# #...# ####. ..#.. .###. ..#.. .#.#. #...# ..#.. #####)",
    R"(abcdefghijklm
..... #.... .... ....# ..... ..## ..... #.... # ..# #... #. .....
..... #.... .... ....# ..... .#.. ..... #.... . ... #... #. .....
.###. ####. .### .#### .###. #### .#### ####. # ..# #..# #. ##.#.
....# #...# #... #...# #...# .#.. #...# #...# # ..# #.#. #. #.#.#
.#### #...# #... #...# ##### .#.. #...# #...# # ..# ##.. #. #.#.#
#...# #...# #... #...# #.... .#.. #...# #...# # ..# #.#. #. #.#.#
.#### ####. .### .#### .###. .#.. .#### #...# # ..# #..# .# #...#
..... ..... .... ..... ..... .... ....# ..... . #.# .... .. .....
..... ..... .... ..... ..... .... .###. ..... . .#. .... .. .....)",
    R"(nopqrstuvwxyz
..... ..... ..... ..... .... .... .#.. ..... ..... ..... ..... ..... .....
..... ..... ..... ..... .... .... .#.. ..... ..... ..... ..... ..... .....
####. .###. ####. .#### #.## .### #### #...# #...# #...# #...# #...# #####
#...# #...# #...# #...# ##.. #... .#.. #...# #...# #...# .#.#. #...# ...#.
#...# #...# #...# #...# #... .##. .#.. #...# #...# #.#.# ..#.. #...# ..#..
#...# #...# #...# #...# #... ...# .#.. #...# .#.#. #.#.# .#.#. #...# .#...
#...# .###. ####. .#### #... ###. ..## .#### ..#.. .#.#. #...# .#### #####
..... ..... #.... ....# .... .... .... ..... ..... ..... ..... ....# .....
..... ..... #.... ....# .... .... .... ..... ..... ..... ..... .###. .....)",
    R"(0123456789
.###. .#. .###. ####. ...#. ##### .###. ##### .###. .###.
#...# ##. #...# ....# ..##. #.... #.... ....# #...# #...#
#..## .#. ....# ....# .#.#. ####. #.... ...#. #...# #...#
#.#.# .#. ...#. .###. #..#. ....# ####. ..#.. .###. .####
##..# .#. ..#.. ....# ##### ....# #...# .#... #...# ....#
#...# .#. .#... ....# ...#. #...# #...# .#... #...# ....#
.###. ### ##### ####. ...#. .###. .###. .#... .###. .###.)",
    R"(!?.,:'"-+/()*
# .###. . .. . # #.# .... ..... ....# .# #. .....
# #...# . .. . # #.# .... ..#.. ...#. #. .# .#.#.
# ....# . .. # . ... .... ..#.. ...#. #. .# #####
# ...#. . .. . . ... #### ##### ..#.. #. .# #####
# ..#.. . .. . . ... .... ..#.. .#... #. .# .###.
. ..... . .# # . ... .... ..#.. .#... #. .# ..#..
# ..#.. # .# . . ... .... ..... #.... .# #. .....
. ..... . #. . . ... .... ..... ..... .. .. .....)",
};

const char* const kTinyBlocks[] = {
    R"(BCEHIOPRST:
##. .## ### #.# ### .#. ##. ##. .## ### .
#.# #.. #.. #.# .#. #.# #.# #.# #.. .#. #
##. #.. ##. ### .#. #.# ##. ##. .#. .#. .
#.# #.. #.. #.# .#. #.# #.. #.# ..# .#. #
##. .## ### #.# ### .#. #.. #.# ##. .#. .)",
};

void add_block(Font& font, const char* block) {
    std::istringstream in(block);
    std::string chars;
    std::getline(in, chars);
    std::vector<Glyph> glyphs(chars.size());
    std::string row;
    int r = 0;
    while (std::getline(in, row)) {
        std::istringstream tokens(row);
        std::string token;
        size_t k = 0;
        while (tokens >> token) {
            if (k >= glyphs.size()) throw std::logic_error("font block row too long: " + chars);
            if (r > 0 && glyphs[k].width != static_cast<int>(token.size()))
                throw std::logic_error(std::string("ragged glyph '") + chars[k] + "' in " + chars);
            glyphs[k].width = static_cast<int>(token.size());
            glyphs[k].rows.push_back(token);
            ++k;
        }
        if (k != glyphs.size()) throw std::logic_error("font block row too short: " + chars);
        ++r;
    }
    if (r > font.height) throw std::logic_error("font block too tall: " + chars);
    for (size_t k = 0; k < chars.size(); ++k) font.glyphs[chars[k]] = glyphs[k];
}

Font build(int height, int cap_height, int space_width, const char* const* blocks, size_t count) {
    Font font;
    font.height = height;
    font.cap_height = cap_height;
    font.space_width = space_width;
    for (size_t i = 0; i < count; ++i) add_block(font, blocks[i]);
    return font;
}

}  // namespace

const Font& regular_font() {
    static const Font font = build(9, 7, 3, kRegularBlocks, std::size(kRegularBlocks));
    return font;
}

const Font& tiny_font() {
    static const Font font = build(5, 5, 2, kTinyBlocks, std::size(kTinyBlocks));
    return font;
}

int text_width(const Font& font, std::string_view text, int scale) {
    int width = 0;
    for (char c : text) {
        auto it = font.glyphs.find(c);
        width += (it == font.glyphs.end() ? font.space_width : it->second.width) + 1;
    }
    return std::max(0, width - 1) * scale;
}

int text_height(const Font& font, const TextStyle& style) {
    return font.height * style.scale + 2 + (style.shadow != kClear ? 1 : 0);
}

int draw_text(Image& img, const Font& font, int x, int y, std::string_view text,
              const TextStyle& style) {
    const int s = style.scale;
    Image layer(text_width(font, text, s) + 2, font.height * s + 2);
    int pen = 1;
    const int fill_rows = std::max(1, font.cap_height * s - 1);
    for (char c : text) {
        auto it = font.glyphs.find(c);
        if (it == font.glyphs.end()) {
            // A missing glyph would silently leave a gap in a caption.
            if (c != ' ') throw std::invalid_argument(std::string("no glyph for '") + c + "'");
            pen += (font.space_width + 1) * s;
            continue;
        }
        const Glyph& g = it->second;
        for (size_t r = 0; r < g.rows.size(); ++r)
            for (int k = 0; k < g.width; ++k) {
                if (g.rows[r][k] != '#') continue;
                for (int dy = 0; dy < s; ++dy)
                    for (int dx = 0; dx < s; ++dx) {
                        const int py = static_cast<int>(r) * s + dy;
                        const double t = std::min(1.0, static_cast<double>(py) / fill_rows);
                        layer.set(pen + k * s + dx, 1 + py, mix(style.top, style.bottom, t));
                    }
            }
        pen += (g.width + 1) * s;
    }
    const Box all{0, 0, layer.width, layer.height};
    if (style.edge != kClear) outline(layer, all, style.edge, s >= 2);
    if (style.shadow != kClear)
        for (int ly = 0; ly < layer.height; ++ly)
            for (int lx = 0; lx < layer.width; ++lx)
                if (layer.get(lx, ly) != kClear) img.set(x + lx + 1, y + ly + 1, style.shadow);
    overlay(img, x, y, layer, all);
    return layer.width;
}

int draw_text_centred(Image& img, const Font& font, int centre_x, int y, std::string_view text,
                      const TextStyle& style) {
    const int w = text_width(font, text, style.scale) + 2;
    return draw_text(img, font, centre_x - w / 2, y, text, style);
}
