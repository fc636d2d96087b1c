// chara01: the small sprites, the effect strips, the pop-up points and the
// digit glyphs, each inside the 16 x 16 (or larger) cell the game reads.
#include <cmath>
#include <string>

#include "font.h"
#include "sheets.h"

namespace {

using namespace layout;

void paint_ship(Image& img) {
    stamp(img, 1, 4,
          {
              ".....cccc.....",
              "....cwcccb....",
              "...cccccbbb...",
              "..oooooooooo..",
              ".oOOOOOOOOOOo.",
              "OOyOOOyOOOyOOO",
              "OOOOOOOOOOOOOO",
              ".rrrrrrrrrrrr.",
              "...rr....rr...",
          },
          {{'c', ink::cyan},
           {'w', ink::white},
           {'b', ink::blue2},
           {'o', ink::orange3},
           {'O', ink::orange2},
           {'y', ink::yellow},
           {'r', ink::orange1}});
    outline(img, kShip, ink::outline);
}

void paint_shot(Image& img) {
    stamp(img, 21, 1,
          {
              "..rr..",
              ".rRRr.",
              ".rRRr.",
              ".wwWw.",
              ".wbbw.",
              ".wbbw.",
              ".wwWw.",
              ".wwWw.",
              ".rRRr.",
              "rrwWrr",
              "rr..rr",
              "..yy..",
              "..oo..",
          },
          {{'r', ink::red2},
           {'R', ink::red3},
           {'w', ink::white},
           {'W', ink::grey3},
           {'b', ink::blue2},
           {'y', ink::yellow},
           {'o', ink::orange2}});
    outline(img, kShot, ink::outline);
}

void paint_planet(Image& img) {
    const Box& b = kPlanet;
    // The far half of the ring, the planet, then the near half over it.
    for (int x = 1; x < 15; ++x)
        img.set(b.left + x, b.top + 8 - (x > 3 && x < 12 ? 1 : 0), ink::purple3);
    fill_disc(img, b.left + 8, b.top + 8, 5.2, ink::green1);
    fill_disc(img, b.left + 7.5, b.top + 7.5, 4.2, ink::green2);
    fill_disc(img, b.left + 6.5, b.top + 6.2, 1.6, ink::green3);
    for (int x = 1; x < 15; ++x)
        img.set(b.left + x, b.top + 10 - (x < 3 || x > 12 ? 1 : 0), ink::purple3);
    for (int x = 4; x < 12; ++x) img.set(b.left + x, b.top + 11, ink::purple2);
    outline(img, b, ink::outline);
}

// Captions squeezed into one 16 x 16 cell.
void paint_rest_label(Image& img) {
    const Box& b = kRestLabel;
    fill_box(img, {b.left, b.top + 4, b.right, b.top + 11}, ink::navy);
    frame_box(img, {b.left, b.top + 4, b.right, b.top + 11}, ink::outline);
    TextStyle s{ink::cream, ink::cream, kClear};
    // The colon hugs the T: the five letters need exactly 16 columns.
    draw_text(img, tiny_font(), b.left - 1, b.top + 4, "REST", s);
    img.set(b.left + 15, b.top + 6, ink::cream);
    img.set(b.left + 15, b.top + 8, ink::cream);
}

void paint_score_label(Image& img) {
    const Box& b = kScoreLabel;
    TextStyle s{ink::cream, ink::yellow};
    draw_text_centred(img, tiny_font(), b.left + 8, b.top + 1, "SCO", s);
    draw_text_centred(img, tiny_font(), b.left + 8, b.top + 7, "RE", s);
}

void paint_record_label(Image& img) {
    const Box& b = kRecordLabel;
    TextStyle s{ink::cream, ink::orange3};
    const int w = text_width(regular_font(), "RECORD") + 2;
    draw_text(img, regular_font(), b.right - 2 - w, b.top + 2, "RECORD", s);
}

void paint_bullets(Image& img) {
    // Two pictures that alternate every fourth frame: a hot pink pellet and a
    // yellow one with a spike, both centred on the 14-pixel-wide picture.
    const Box& a = kBullet[0];
    fill_disc(img, a.left + 7, a.top + 8, 4.6, ink::red2);
    fill_disc(img, a.left + 7, a.top + 8, 3.2, ink::pink);
    fill_disc(img, a.left + 6.5, a.top + 7.5, 1.5, ink::white);
    outline(img, a, ink::outline);
    const Box& b = kBullet[1];
    fill_disc(img, b.left + 7, b.top + 8, 4.0, ink::orange2);
    fill_disc(img, b.left + 7, b.top + 8, 2.8, ink::yellow);
    for (int d = 5; d <= 6; ++d) {
        img.set(b.left + 7, b.top + 8 - d, ink::yellow);
        img.set(b.left + 7, b.top + 7 + d, ink::yellow);
        img.set(b.left + 7 - d, b.top + 8, ink::yellow);
        img.set(b.left + 6 + d, b.top + 8, ink::yellow);
    }
    fill_disc(img, b.left + 6.5, b.top + 7.5, 1.4, ink::white);
    outline(img, b, ink::outline);
}

void paint_rocks(Image& img) {
    // Falling debris behind the boss fight: dim, so they stay a backdrop.
    const double radius[3] = {6.2, 4.3, 2.6};
    for (int k = 0; k < 3; ++k) {
        const Box& b = kRock[k];
        const double r = radius[k];
        Scatter lumps(17 + k);
        fill_disc(img, b.left + 8, b.top + 8, r, ink::brown1);
        for (int i = 0; i < 5; ++i)
            fill_disc(img, b.left + 8 + lumps.next(5) - 2, b.top + 8 + lumps.next(5) - 2, r * 0.55,
                      ink::brown1);
        fill_disc(img, b.left + 7, b.top + 7, r * 0.6, ink::brown2);
        fill_disc(img, b.left + 6.5, b.top + 6.5, r * 0.25, ink::brown3);
        if (k == 0) {
            img.set(b.left + 10, b.top + 10, ink::outline);
            img.set(b.left + 9, b.top + 10, ink::outline);
            img.set(b.left + 5, b.top + 10, ink::outline);
        }
    }
}

// The title's ginger cat, creeping to the left; `open` shows its mouth open.
void paint_title_cat(Image& img, const Box& b, bool open) {
    const int x = b.left, y = b.top;
    const Colour fur = ink::orange2, light = ink::orange3, dark = ink::orange1;
    // Tail, curled up behind.
    const double tail[][2] = {{27, 22}, {28.5, 19.5}, {29.3, 16.5}, {29.2, 13.5},
                              {28, 11}, {26.2, 10},   {24.8, 10.6}};
    for (auto& p : tail) fill_disc(img, x + p[0], y + p[1], 1.6, fur);
    img.set(x + 29, y + 15, dark);
    img.set(x + 28, y + 12, dark);
    // Body and haunch, low to the ground.
    fill_ellipse(img, x + 19, y + 22.5, 9.5, 5.5, fur);
    fill_ellipse(img, x + 24.5, y + 24.5, 4.5, 4.5, fur);
    fill_ellipse(img, x + 18, y + 26, 7, 2.2, light);
    for (int sx : {15, 19, 23}) {
        img.set(x + sx, y + 17, dark);
        img.set(x + sx, y + 18, dark);
        img.set(x + sx + 1, y + 19, dark);
    }
    // Paws: front paw reaching forward, hind paw tucked.
    fill_box(img, {x + 6, y + 27, x + 12, y + 30}, fur);
    fill_box(img, {x + 6, y + 28, x + 9, y + 30}, light);
    fill_box(img, {x + 21, y + 27, x + 28, y + 30}, fur);
    fill_box(img, {x + 21, y + 28, x + 24, y + 30}, light);
    // Head with ears.
    fill_triangle(img, x + 3, y + 7, x + 2.5, y + 15, x + 8.5, y + 12, fur);
    fill_triangle(img, x + 12, y + 7, x + 8, y + 12, x + 14.5, y + 14.5, fur);
    fill_triangle(img, x + 4, y + 10, x + 4, y + 14, x + 7, y + 12.5, ink::pink);
    fill_triangle(img, x + 11.5, y + 10, x + 9.5, y + 12.5, x + 12.5, y + 13.5, ink::pink);
    fill_ellipse(img, x + 9, y + 18, 6.8, 5.6, fur);
    fill_ellipse(img, x + 5.5, y + 20.5, 3.6, 2.6, light);
    img.set(x + 9, y + 13, dark);
    img.set(x + 10, y + 13, dark);
    img.set(x + 9, y + 14, dark);
    outline(img, b, ink::outline);
    // Face: a wary eye on the planet, nose, whiskers, mouth.
    img.set(x + 6, y + 16, ink::green2);
    img.set(x + 7, y + 16, ink::outline);
    img.set(x + 6, y + 17, ink::green1);
    img.set(x + 7, y + 17, ink::outline);
    img.set(x + 8, y + 16, ink::outline);
    img.set(x + 5, y + 15, ink::outline);
    img.set(x + 6, y + 15, ink::outline);
    img.set(x + 7, y + 15, ink::outline);
    img.set(x + 2, y + 19, ink::pink);
    img.set(x + 3, y + 19, ink::pink);
    for (int k = 0; k < 3; ++k) img.set(x + 8 + k, y + 20 + (k == 2), ink::white);
    if (open) {
        fill_box(img, {x + 2, y + 21, x + 6, y + 24}, ink::outline);
        fill_box(img, {x + 3, y + 22, x + 6, y + 24}, ink::red1);
        img.set(x + 4, y + 23, ink::pink);
        img.set(x + 5, y + 23, ink::pink);
        img.set(x + 3, y + 21, ink::white);  // a fang
    } else {
        img.set(x + 3, y + 21, ink::outline);
        img.set(x + 4, y + 21, ink::outline);
        img.set(x + 5, y + 22, ink::outline);
    }
}

// Effect row 0: red drops, small, large, medium, tiny.
void paint_red_discs(Image& img) {
    const double radius[4] = {3.0, 6.5, 4.5, 2.0};
    for (int f = 0; f < 4; ++f) {
        const double cx = kEffect[0].left + 16 * f + 8, cy = kEffect[0].top + 8;
        const double r = radius[f];
        fill_disc(img, cx, cy, r, ink::red1);
        fill_disc(img, cx - 0.3, cy - 0.3, r - 1, ink::red2);
        fill_disc(img, cx - r * 0.35, cy - r * 0.35, std::max(0.8, r * 0.3), ink::red3);
    }
}

// Effect row 1: an eighth note that darkens from white to navy.
void paint_notes(Image& img) {
    const Colour shade[4] = {ink::white, ink::blue3, ink::blue2, ink::navy};
    for (int f = 0; f < 4; ++f) {
        stamp(img, kEffect[1].left + 16 * f + 3, kEffect[1].top + 2,
              {
                  "....##...",
                  "....###..",
                  "....#.##.",
                  "....#..##",
                  "....#...#",
                  "....#....",
                  "....#....",
                  ".####....",
                  "#####....",
                  "#####....",
                  ".###.....",
              },
              {{'#', shade[f]}});
    }
}

// Effect row 2: the boss's after-image, a cat face fading from red to navy.
void paint_after_images(Image& img) {
    const Colour shade[4] = {ink::red2, rgb(150, 36, 90), ink::purple1, ink::navy};
    for (int f = 0; f < 4; ++f) {
        const Box& b = kEffect[2];
        Box cell{b.left + 16 * f, b.top, b.left + 16 * f + 16, b.bottom};
        paint_cat_face(img, cell, {shade[f], shade[f], shade[f], shade[f]}, Mood::Plain, false);
        // A rim of a deeper shade instead of the dark outline: a ghost, not a sprite.
        outline(img, cell, mix(shade[f], ink::outline, 0.55));
        // Glowing eyes keep the fading face readable as the boss's.
        const Colour glow = mix(shade[f], ink::white, 0.55);
        for (int x : {4, 5, 10, 11}) img.set(cell.left + x, cell.top + 8, glow);
    }
}

// Effect row 3: the ship's explosion: spark, fireball, smoke ball, smoke ring.
void paint_explosion(Image& img) {
    const Box& b = kEffect[3];
    const double cx = b.left + 8, cy = b.top + 8;
    for (int d = -6; d <= 6; ++d) {
        const Colour c = std::abs(d) < 3 ? ink::white : ink::yellow;
        img.set(static_cast<int>(cx) + d, static_cast<int>(cy), c);
        img.set(static_cast<int>(cx), static_cast<int>(cy) + d, c);
        if (std::abs(d) < 4) {
            img.set(static_cast<int>(cx) + d, static_cast<int>(cy) + d, ink::orange3);
            img.set(static_cast<int>(cx) + d, static_cast<int>(cy) - d, ink::orange3);
        }
    }
    img.set(static_cast<int>(cx), static_cast<int>(cy), ink::white);
    fill_disc(img, cx + 16, cy, 6.5, ink::red2);
    fill_disc(img, cx + 16, cy + 0.5, 5.0, ink::orange2);
    fill_disc(img, cx + 15.5, cy + 1, 3.2, ink::yellow);
    fill_disc(img, cx + 15, cy + 1.5, 1.5, ink::white);
    fill_disc(img, cx + 32, cy, 5.5, ink::grey2);
    fill_disc(img, cx + 31, cy - 1, 3.5, ink::grey3);
    ring(img, cx + 48, cy, 6.5, 3.8, ink::grey2);
    ring(img, cx + 47.5, cy - 0.5, 5.5, 4.5, ink::grey3);
}

// Effect row 4: a green glow shrinking to a white dot; the fourth frame stays
// empty so the spark vanishes before its slot is freed.
void paint_glow(Image& img) {
    const Box& b = kEffect[4];
    const double cx = b.left + 8, cy = b.top + 8;
    fill_disc(img, cx, cy, 6.5, ink::green1);
    fill_disc(img, cx, cy, 4.5, ink::green2);
    fill_disc(img, cx, cy, 2.5, ink::green3);
    fill_disc(img, cx + 16, cy, 4.0, ink::green2);
    fill_disc(img, cx + 16, cy, 2.2, ink::green3);
    fill_disc(img, cx + 32, cy, 1.6, ink::white);
}

// The pop-up points +1 to +4. Each label cools from white to red as it rises;
// label +n starts at its n-th colour, so the cells left of the diagonal are
// never read and stay empty.
void paint_points(Image& img) {
    const TextStyle colours[4] = {{ink::white, ink::cream},
                                  {ink::yellow, ink::orange3},
                                  {ink::orange3, ink::orange2},
                                  {ink::red3, ink::red2}};
    for (int n = 1; n <= 4; ++n)
        for (int c = n - 1; c < 4; ++c) {
            const Box cell = points_cell(n, c);
            const std::string text = "+" + std::to_string(n);
            draw_text_centred(img, regular_font(), cell.left + 8, cell.top + 3, text, colours[c]);
        }
}

// The laser beam: a head where it leaves the bomb and a body that tiles down to
// the floor, in four steps that flare and then narrow as the beam fades.
void paint_beam(Image& img) {
    struct Step {
        int half;  // columns each side of the centre line (8 and 7 are the core)
        Colour edge, mid, core;
        double flare;
    };
    const Step steps[4] = {{2, ink::blue2, ink::cyan, ink::white, 4.0},
                           {3, ink::blue2, ink::cyan, ink::white, 5.5},
                           {1, ink::blue1, ink::blue2, ink::cyan, 3.0},
                           {0, ink::blue1, ink::blue1, ink::blue2, 1.5}};
    for (int s = 0; s < 4; ++s) {
        const Step& st = steps[s];
        const int left = kBeamLeft + 16 * s;
        for (int part = 0; part < 2; ++part) {
            const int top = part == 0 ? kBeamHeadTop : kBeamBodyTop;
            const int from = part == 0 ? 4 : 0;
            for (int y = from; y < 16; ++y)
                for (int dx = -st.half; dx <= st.half + 1; ++dx) {
                    const int x = 7 + dx;
                    const int off = dx <= 0 ? -dx : dx - 1;  // distance from the core pair
                    Colour c = off == 0 ? st.core : off == st.half ? st.edge : st.mid;
                    if (st.half == 0) c = st.core;
                    img.set(left + x, top + y, c);
                }
            if (part == 0) {
                fill_disc(img, left + 8, top + 5, st.flare, st.edge);
                fill_disc(img, left + 8, top + 5, st.flare * 0.65, st.mid);
                fill_disc(img, left + 8, top + 5, st.flare * 0.3, st.core);
            }
        }
    }
}

const Fur kEnemyFur{ink::white, ink::cream, ink::grey3, ink::pink};
const Fur kBossFur{ink::red2, ink::red3, ink::red1, ink::pink};
const Fur kBombFur{ink::yellow, ink::cream, ink::orange2, ink::pink};

void paint_bomb(Image& img) {
    for (int k = 0; k < 4; ++k) {
        const Box cat{kBomb.left, kBomb.top + 16 * k, kBomb.left + 16, kBomb.top + 16 * k + 16};
        paint_cat_face(img, cat, kBombFur, k == 0 ? Mood::Grin : Mood::Cross);
        if (k == 0) continue;
        // A speech balloon with the count 3, 2, 1 beside the cat.
        const int bx = kBomb.left + 17, by = cat.top + 1;
        fill_box(img, {bx + 1, by, bx + 13, by + 12}, ink::white);
        fill_box(img, {bx, by + 1, bx + 14, by + 11}, ink::white);
        img.set(bx - 1, by + 8, ink::white);
        img.set(bx - 2, by + 9, ink::white);
        const std::string digit = std::to_string(4 - k);
        TextStyle red{ink::red2, ink::red1, kClear};
        draw_text_centred(img, regular_font(), bx + 7, by + 1, digit, red);
        outline(img, {kBomb.left + 16, cat.top, kBomb.right, cat.bottom}, ink::outline);
    }
}

void paint_digits(Image& img) {
    static const char* const kDigits[10][10] = {
        {".####.", "##..##", "##..##", "##.###", "###.##", "##..##", "##..##", "##..##", "##..##",
         ".####."},
        {"..##..", ".###..", "####..", "..##..", "..##..", "..##..", "..##..", "..##..", "..##..",
         "######"},
        {".####.", "##..##", "....##", "....##", "...##.", "..##..", ".##...", "##....", "##....",
         "######"},
        {".####.", "##..##", "....##", "....##", "..###.", "....##", "....##", "....##", "##..##",
         ".####."},
        {"....##", "...###", "..####", ".##.##", "##..##", "######", "....##", "....##", "....##",
         "....##"},
        {"######", "##....", "##....", "#####.", "....##", "....##", "....##", "....##", "##..##",
         ".####."},
        {"..###.", ".##...", "##....", "##....", "#####.", "##..##", "##..##", "##..##", "##..##",
         ".####."},
        {"######", "....##", "....##", "...##.", "...##.", "..##..", "..##..", "..##..", "..##..",
         "..##.."},
        {".####.", "##..##", "##..##", "##..##", ".####.", "##..##", "##..##", "##..##", "##..##",
         ".####."},
        {".####.", "##..##", "##..##", "##..##", "##..##", ".#####", "....##", "....##", "...##.",
         ".###.."},
    };
    for (int d = 0; d < 10; ++d) {
        const Box cell = digit_cell(d);
        for (int r = 0; r < 10; ++r)
            for (int k = 0; k < 6; ++k)
                if (kDigits[d][r][k] == '#')
                    img.set(cell.left + 1 + k, cell.top + 2 + r,
                            mix(ink::white, ink::yellow, r / 9.0));
        // Glyphs stay within the left 8 columns: the game places digits 11 apart.
        outline(img, {cell.left, cell.top, cell.left + 8, cell.bottom}, ink::outline);
    }
}

}  // namespace

void paint_cat_face(Image& img, const Box& box, const Fur& fur, Mood mood, bool with_outline) {
    const int s = box.width();
    const double cx = s / 2.0, cy = s * 0.57, rx = s / 2.0 - 1.5, ry = s * 0.36;
    auto at = [&](double x, double y) { return std::pair{box.left + x, box.top + y}; };
    auto [lx0, ly0] = at(s * 0.1, s * 0.06);
    auto [lx1, ly1] = at(s * 0.08, s * 0.52);
    auto [lx2, ly2] = at(s * 0.45, s * 0.3);
    fill_triangle(img, lx0, ly0, lx1, ly1, lx2, ly2, fur.base);
    fill_triangle(img, box.right - (lx0 - box.left), ly0, box.right - (lx1 - box.left), ly1,
                  box.right - (lx2 - box.left), ly2, fur.base);
    if (s >= 16) {
        auto [ix0, iy0] = at(s * 0.17, s * 0.18);
        auto [ix1, iy1] = at(s * 0.17, s * 0.42);
        auto [ix2, iy2] = at(s * 0.37, s * 0.32);
        fill_triangle(img, ix0, iy0, ix1, iy1, ix2, iy2, fur.inner_ear);
        fill_triangle(img, box.right - (ix0 - box.left), iy0, box.right - (ix1 - box.left), iy1,
                      box.right - (ix2 - box.left), iy2, fur.inner_ear);
    }
    fill_ellipse(img, box.left + cx, box.top + cy, rx, ry, fur.base);
    fill_ellipse(img, box.left + cx, box.top + cy + ry * 0.5, rx * 0.42, ry * 0.42, fur.light);
    if (with_outline) outline(img, box, ink::outline);
    if (mood == Mood::Plain) return;

    const Colour k = ink::outline;
    auto px = [&](int x, int y, Colour c) { img.set(box.left + x, box.top + y, c); };
    auto both = [&](int x, int y, Colour c) {
        px(x, y, c);
        px(s - 1 - x, y, c);
    };
    const int c = s / 2;  // the columns c - 1 and c straddle the middle
    const int L = static_cast<int>(std::floor(cx - s * 0.24));
    const int E = static_cast<int>(std::floor(cy - ry * 0.05));
    const int N = E + 2;
    // Forehead stripes.
    both(c - 3, static_cast<int>(cy - ry) + 1, fur.dark);
    both(c - 1, static_cast<int>(cy - ry) + 1, fur.dark);
    both(c - 1, static_cast<int>(cy - ry) + 2, fur.dark);
    // Whiskers.
    both(1, N, ink::grey3);
    both(2, N, ink::grey3);
    both(1, N + 2, ink::grey3);
    // Nose.
    both(c - 1, N, ink::pink);
    switch (mood) {
        case Mood::Calm:  // half-closed eyes, a small w of a mouth
            both(L - 1, E, k);
            both(L, E, k);
            both(L + 1, E, k);
            both(L, E + 1, ink::green2);
            both(c - 3, N + 1, k);
            both(c - 2, N + 2, k);
            both(c - 1, N + 1, k);
            break;
        case Mood::Grin:  // happy arches, the mouth wide open
            both(L, E - 1, k);
            both(L - 1, E, k);
            both(L + 1, E, k);
            for (int x = c - 3; x < c; ++x) both(x, N + 1, k);
            both(c - 3, N + 2, k);
            both(c - 2, N + 2, ink::red1);
            both(c - 1, N + 2, ink::red1);
            if (s >= 20) {
                both(c - 2, N + 3, k);
                both(c - 1, N + 3, ink::pink);
                both(c - 1, N + 4, k);
            } else {
                both(c - 2, N + 3, k);
                both(c - 1, N + 3, k);
            }
            break;
        case Mood::Laugh:  // eyes squeezed shut, tongue out, rosy cheeks
            both(L - 1, E - 1, k);
            both(L, E, k);
            both(L + 1, E, k);
            both(L - 1, E + 1, k);
            both(L - 1, E + 2, ink::pink);
            for (int x = c - 3; x < c; ++x) both(x, N + 1, k);
            both(c - 3, N + 2, k);
            both(c - 2, N + 2, ink::red1);
            both(c - 1, N + 2, ink::red1);
            both(c - 3, N + 3, k);
            both(c - 2, N + 3, ink::red1);
            both(c - 1, N + 3, ink::red3);
            both(c - 2, N + 4, k);
            both(c - 1, N + 4, ink::red3);
            both(c - 1, N + 5, k);
            break;
        case Mood::Cross:  // frowning brows over yellow eyes, a fang
            both(L - 1, E - 2, k);
            both(L, E - 1, k);
            both(L + 1, E - 1, k);
            both(L, E, ink::yellow);
            both(L + 1, E, k);
            both(L, E + 1, ink::yellow);
            both(L + 1, E + 1, ink::yellow);
            for (int x = c - 2; x < c; ++x) both(x, N + 1, k);
            both(c - 2, N + 2, ink::white);
            break;
        case Mood::Plain:
            break;
    }
}

Image paint_chara() {
    Image img(192, 240);
    paint_ship(img);
    paint_shot(img);
    paint_planet(img);
    paint_rest_label(img);
    paint_bullets(img);
    paint_rocks(img);
    paint_title_cat(img, kTitleCat[0], false);
    paint_title_cat(img, kTitleCat[1], true);
    paint_red_discs(img);
    paint_notes(img);
    paint_after_images(img);
    paint_explosion(img);
    paint_glow(img);
    paint_points(img);
    paint_beam(img);
    paint_cat_face(img, kBoss, kBossFur, Mood::Cross);
    paint_bomb(img);
    const Mood moods[3] = {Mood::Calm, Mood::Grin, Mood::Laugh};
    for (int k = 0; k < 3; ++k) paint_cat_face(img, kEnemy[k], kEnemyFur, moods[k]);
    paint_score_label(img);
    paint_record_label(img);
    paint_digits(img);
    return img;
}
