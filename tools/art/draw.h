// Drawing primitives for the sprite sheets: shapes, gradients, outlines and
// pixel maps written as text.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "image.h"

struct Box {
    int left, top, right, bottom;  // right and bottom exclusive
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

// The colours every sheet shares, so sprites look alike wherever they sit.
namespace ink {
constexpr Colour outline = rgb(16, 16, 24);  // never pure black: black is transparent
constexpr Colour white = rgb(250, 250, 242);
constexpr Colour grey1 = rgb(60, 62, 78);
constexpr Colour grey2 = rgb(110, 112, 128);
constexpr Colour grey3 = rgb(170, 172, 186);
constexpr Colour red1 = rgb(120, 20, 36);
constexpr Colour red2 = rgb(206, 40, 52);
constexpr Colour red3 = rgb(255, 104, 96);
constexpr Colour orange1 = rgb(176, 72, 16);
constexpr Colour orange2 = rgb(240, 132, 32);
constexpr Colour orange3 = rgb(255, 196, 96);
constexpr Colour yellow = rgb(255, 232, 80);
constexpr Colour cream = rgb(255, 244, 200);
constexpr Colour green1 = rgb(24, 110, 60);
constexpr Colour green2 = rgb(64, 190, 90);
constexpr Colour green3 = rgb(170, 255, 150);
constexpr Colour cyan = rgb(120, 230, 255);
constexpr Colour blue1 = rgb(24, 48, 120);
constexpr Colour blue2 = rgb(56, 110, 210);
constexpr Colour blue3 = rgb(140, 190, 255);
constexpr Colour navy = rgb(22, 26, 70);
constexpr Colour purple1 = rgb(80, 36, 120);
constexpr Colour purple2 = rgb(150, 80, 200);
constexpr Colour purple3 = rgb(210, 160, 255);
constexpr Colour pink = rgb(255, 150, 190);
constexpr Colour brown1 = rgb(90, 52, 30);
constexpr Colour brown2 = rgb(150, 96, 52);
constexpr Colour brown3 = rgb(210, 160, 100);
constexpr Colour skin = rgb(255, 206, 170);
}  // namespace ink

Colour mix(Colour a, Colour b, double t);

void fill_box(Image& img, const Box& box, Colour c);
void frame_box(Image& img, const Box& box, Colour c);
void fill_disc(Image& img, double cx, double cy, double r, Colour c);
void fill_ellipse(Image& img, double cx, double cy, double rx, double ry, Colour c);
void ring(Image& img, double cx, double cy, double r_outer, double r_inner, Colour c);
void line(Image& img, int x0, int y0, int x1, int y1, Colour c);
// Fills the pixels whose centres lie inside the triangle.
void fill_triangle(Image& img, double ax, double ay, double bx, double by, double cx, double cy,
                   Colour c);

// A top-to-bottom blend from `top` to `bottom` in `steps` flat bands, with an
// ordered dither between bands so the seams do not show.
void vertical_gradient(Image& img, const Box& box, Colour top, Colour bottom, int steps);

// Gives every opaque shape inside `box` a one-pixel border of colour `c` on its
// transparent side (four neighbours, or eight when `corners`). Stays inside box.
void outline(Image& img, const Box& box, Colour c, bool corners = false);

// Replaces every opaque pixel inside `box` by f(pixel).
template <typename F>
void recolour(Image& img, const Box& box, F f) {
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x)
            if (img.get(x, y) != kClear) img.set(x, y, f(img.get(x, y)));
}

// Copies the opaque pixels of `box` in `src` to (x, y) of `dst`.
void overlay(Image& dst, int x, int y, const Image& src, const Box& box);

// A pixel map written as text, one string per row; each character is looked
// up in the legend and '.' (or any character missing from it) is left alone.
using Legend = std::vector<std::pair<char, Colour>>;
void stamp(Image& img, int x, int y, const std::vector<std::string>& rows, const Legend& legend,
           bool mirror = false);

// A small deterministic random generator for stars, grain and scatter.
struct Scatter {
    uint32_t state;
    explicit Scatter(uint32_t seed) : state(seed) {}
    int next(int n) {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFF) % n;
    }
};
