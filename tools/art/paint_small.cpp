// The small bitmaps: the ten reward icons (16 colours), the maker's logo and
// the tune library's one-colour logo.
#include <cmath>

#include "font.h"
#include "sheets.h"

namespace {

using namespace layout;

void taiko(Image& img, const Box& b) {
    const int x = b.left, y = b.top;
    fill_ellipse(img, x + 16, y + 18, 13, 10, ink::brown2);
    fill_box(img, {x + 4, y + 12, x + 29, y + 24}, ink::brown2);
    fill_ellipse(img, x + 16, y + 11, 12.5, 4.5, ink::white);
    fill_ellipse(img, x + 16, y + 11, 5, 2, ink::red2);
    for (int k = 0; k < 7; ++k) img.set(x + 6 + 3 * k, y + 16, ink::yellow);
    for (int k = 0; k < 7; ++k) img.set(x + 6 + 3 * k, y + 25, ink::yellow);
    fill_box(img, {x + 4, y + 19, x + 29, y + 22}, ink::red2);
    line(img, x + 6, y + 1, x + 14, y + 8, ink::brown3);
    line(img, x + 7, y + 1, x + 15, y + 8, ink::brown3);
    line(img, x + 26, y + 1, x + 18, y + 8, ink::brown3);
    line(img, x + 25, y + 1, x + 17, y + 8, ink::brown3);
}

void flour(Image& img, const Box& b) {
    const int x = b.left, y = b.top;
    fill_ellipse(img, x + 16, y + 20, 11, 10, ink::white);
    fill_triangle(img, x + 10, y + 12, x + 22, y + 12, x + 16, y + 6, ink::white);
    fill_triangle(img, x + 12, y + 3, x + 20, y + 3, x + 16, y + 8, ink::white);
    fill_box(img, {x + 12, y + 8, x + 21, y + 10}, ink::brown2);
    fill_ellipse(img, x + 20, y + 24, 6, 5, ink::grey3);
    fill_ellipse(img, x + 16, y + 20, 8, 7, ink::white);
    // An ear of wheat on the sack.
    line(img, x + 16, y + 15, x + 16, y + 26, ink::brown2);
    for (int k = 0; k < 3; ++k) {
        img.set(x + 15, y + 16 + 3 * k, ink::yellow);
        img.set(x + 17, y + 16 + 3 * k, ink::yellow);
        img.set(x + 14, y + 15 + 3 * k, ink::yellow);
        img.set(x + 18, y + 15 + 3 * k, ink::yellow);
    }
}

void milk(Image& img, const Box& b) {
    const int x = b.left, y = b.top;
    fill_box(img, {x + 10, y + 11, x + 22, y + 30}, ink::white);
    fill_ellipse(img, x + 16, y + 11, 6, 3, ink::white);
    fill_box(img, {x + 13, y + 3, x + 19, y + 9}, ink::white);
    fill_box(img, {x + 12, y + 1, x + 20, y + 4}, ink::blue2);
    fill_box(img, {x + 10, y + 15, x + 22, y + 25}, ink::blue2);
    fill_ellipse(img, x + 16, y + 20, 4, 3, ink::white);
    fill_box(img, {x + 20, y + 11, x + 22, y + 30}, ink::grey3);
    img.set(x + 12, y + 12, ink::grey3);
}

void adult(Image& img, const Box& b) {
    const int x = b.left, y = b.top;
    stamp(img, x + 9, y + 1,
          {
              "...hhhhh.....", "..hhhhhhh....", ".hhssssshh...", ".hskssksh....", ".hhssssshh...",
              "..hsprssh....", "..hhsssh.....", "....ss.......", "..ddddddd....", ".ddddddddd...",
              "sdddddddds...", "s.ddddddd.s..", "s..ddddd..s..", "..ddddddd....", ".ddddddddd...",
              "ddddddddddd..", "ddddddddddd..", "...s...s.....", "...s...s.....", "...s...s.....",
              "...s...s.....", "..ww...ww....",
          },
          {{'h', ink::brown1},
           {'s', ink::skin},
           {'k', ink::outline},
           {'p', ink::pink},
           {'r', ink::red2},
           {'d', ink::purple2},
           {'w', ink::red2}});
}

void mushroom(Image& img, const Box& b) {
    const int x = b.left, y = b.top;
    fill_box(img, {x + 12, y + 16, x + 21, y + 29}, ink::white);
    fill_box(img, {x + 18, y + 16, x + 21, y + 29}, ink::grey3);
    fill_ellipse(img, x + 16, y + 14, 14, 10, ink::red2);
    fill_box(img, {x + 2, y + 14, x + 31, y + 18}, kClear);
    fill_ellipse(img, x + 16, y + 17, 13, 2, ink::red1);
    for (auto [dx, dy, r] :
         {std::tuple{10, 9, 2.2}, {19, 7, 2.6}, {24, 12, 1.6}, {6, 13, 1.4}, {15, 12, 1.3}})
        fill_disc(img, x + dx, y + dy, r, ink::white);
}

void straw_doll(Image& img, const Box& b) {
    const int x = b.left, y = b.top;
    fill_disc(img, x + 16, y + 7, 5.5, ink::brown3);
    fill_box(img, {x + 12, y + 11, x + 21, y + 24}, ink::brown3);
    fill_box(img, {x + 4, y + 14, x + 29, y + 17}, ink::brown3);
    fill_triangle(img, x + 12, y + 22, x + 21, y + 22, x + 8, y + 31, ink::brown3);
    fill_triangle(img, x + 12, y + 22, x + 21, y + 22, x + 25, y + 31, ink::brown3);
    for (int k = 0; k < 6; ++k)
        line(img, x + 13 + k % 3 * 3, y + 12, x + 13 + k % 3 * 3, y + 22, ink::yellow);
    fill_box(img, {x + 11, y + 12, x + 22, y + 14}, ink::brown1);
    fill_box(img, {x + 11, y + 20, x + 22, y + 22}, ink::brown1);
    fill_box(img, {x + 3, y + 14, x + 5, y + 17}, ink::brown1);
    fill_box(img, {x + 28, y + 14, x + 30, y + 17}, ink::brown1);
    img.set(x + 14, y + 7, ink::outline);
    img.set(x + 18, y + 7, ink::outline);
}

void trophy(Image& img, const Box& b) {
    const int x = b.left, y = b.top;
    ring(img, x + 7, y + 10, 5, 2.5, ink::orange2);
    ring(img, x + 25, y + 10, 5, 2.5, ink::orange2);
    fill_ellipse(img, x + 16, y + 9, 10, 12, ink::yellow);
    fill_box(img, {x + 5, y + 1, x + 28, y + 5}, ink::yellow);
    fill_box(img, {x + 3, y, x + 29, y + 1}, kClear);
    fill_ellipse(img, x + 20, y + 10, 3, 6, ink::orange2);
    fill_box(img, {x + 14, y + 20, x + 19, y + 25}, ink::yellow);
    fill_box(img, {x + 9, y + 25, x + 24, y + 31}, ink::brown2);
    fill_box(img, {x + 12, y + 27, x + 21, y + 29}, ink::yellow);
    fill_box(img, {x + 10, y + 4, x + 12, y + 12}, ink::white);
}

void spittoon(Image& img, const Box& b) {
    const int x = b.left, y = b.top;
    fill_ellipse(img, x + 16, y + 21, 12, 9, ink::orange2);
    fill_box(img, {x + 12, y + 9, x + 21, y + 14}, ink::orange2);
    fill_ellipse(img, x + 16, y + 8, 12, 4, ink::yellow);
    fill_ellipse(img, x + 16, y + 8, 7, 2, ink::brown1);
    fill_ellipse(img, x + 12, y + 20, 4, 5, ink::yellow);
    fill_ellipse(img, x + 16, y + 29, 9, 2, ink::brown2);
}

void crab(Image& img, const Box& b) {
    const int x = b.left, y = b.top;
    for (int k = 0; k < 3; ++k) {
        line(img, x + 8, y + 20 + 2 * k, x + 2, y + 24 + 3 * k, ink::red2);
        line(img, x + 24, y + 20 + 2 * k, x + 30, y + 24 + 3 * k, ink::red2);
    }
    fill_ellipse(img, x + 16, y + 20, 11, 7, ink::red2);
    fill_ellipse(img, x + 14, y + 18, 6, 3, ink::orange2);
    line(img, x + 7, y + 16, x + 5, y + 9, ink::red2);
    line(img, x + 25, y + 16, x + 27, y + 9, ink::red2);
    fill_disc(img, x + 5, y + 6, 4.5, ink::red2);
    fill_disc(img, x + 27, y + 6, 4.5, ink::red2);
    fill_triangle(img, x + 4, y + 2, x + 7, y + 6, x + 9, y + 1, kClear);
    fill_triangle(img, x + 28, y + 2, x + 25, y + 6, x + 23, y + 1, kClear);
    for (int ex : {13, 19}) {
        line(img, x + ex, y + 14, x + ex, y + 11, ink::red2);
        fill_disc(img, x + ex + 0.5, y + 10, 1.8, ink::white);
        img.set(x + ex, y + 10, ink::outline);
    }
    img.set(x + 15, y + 23, ink::outline);
    img.set(x + 16, y + 24, ink::outline);
    img.set(x + 17, y + 23, ink::outline);
}

void beauty(Image& img, const Box& b) {
    paint_cat_face(img, {b.left + 2, b.top + 3, b.left + 30, b.top + 31},
                   {ink::purple2, ink::pink, ink::purple2, ink::pink}, Mood::Grin, false);
    fill_triangle(img, b.left + 19, b.top + 6, b.left + 25, b.top + 2, b.left + 25, b.top + 10,
                  ink::pink);
    fill_triangle(img, b.left + 31, b.top + 6, b.left + 25, b.top + 2, b.left + 25, b.top + 10,
                  ink::pink);
    img.set(b.left + 25, b.top + 6, ink::red2);
}

}  // namespace

Image paint_gohobi() {
    Image img(320, 64);
    void (*const painters[10])(Image&, const Box&) = {taiko,      flour,  milk,     adult, mushroom,
                                                      straw_doll, trophy, spittoon, crab,  beauty};
    for (int k = 0; k < 10; ++k) {
        const Box b = reward_icon(k);
        painters[k](img, b);
        outline(img, b, ink::outline);
    }
    return img;
}

Image paint_maker_logo() {
    Image img(64, 32);
    fill_box(img, {1, 1, 63, 31}, rgb(40, 26, 80));
    frame_box(img, {1, 1, 63, 31}, ink::purple3);
    frame_box(img, {0, 0, 64, 32}, ink::outline);
    // A small planet with a ring over the name.
    fill_disc(img, 32, 9, 5, ink::orange2);
    fill_disc(img, 31, 8, 3, ink::orange3);
    for (int x = 22; x < 43; ++x) img.set(x, 11 - (x > 26 && x < 38 ? 0 : 1), ink::cyan);
    draw_text_centred(img, regular_font(), 32, 16, "QUELPIN",
                      {ink::white, ink::yellow, ink::outline});
    return img;
}

Image paint_library_logo() {
    Image img(40, 10);
    const TextStyle plain{ink::cyan, ink::cyan, kClear};
    const int w = draw_text(img, regular_font(), 0, -1, "vorbel", plain);
    // A note beside the name.
    for (int y = 1; y < 7; ++y) img.set(w + 2, y, ink::cyan);
    img.set(w + 3, 1, ink::cyan);
    img.set(w + 4, 2, ink::cyan);
    img.set(w + 1, 6, ink::cyan);
    img.set(w + 1, 7, ink::cyan);
    img.set(w + 2, 7, ink::cyan);
    for (int x = 1; x < w - 1; ++x) img.set(x, 9, ink::cyan);
    return img;
}
