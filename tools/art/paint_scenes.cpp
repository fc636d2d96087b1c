// The full-screen pictures: three stage backgrounds, the title, the ending
// and the four transition pictures. They are kept dark and quiet so that the
// outlined sprites on top of them stay easy to read.
#include <cmath>

#include "font.h"
#include "sheets.h"

namespace {

void stars(Image& img, const Box& area, int count, uint32_t seed, bool bright) {
    Scatter r(seed);
    const Colour dim[3] = {rgb(70, 74, 110), rgb(110, 110, 150), rgb(160, 160, 200)};
    for (int i = 0; i < count; ++i) {
        const int x = area.left + r.next(area.width());
        const int y = area.top + r.next(area.height());
        const int level = r.next(10);
        if (bright && level == 9) {
            img.set(x, y, ink::white);
            img.set(x - 1, y, dim[1]);
            img.set(x + 1, y, dim[1]);
            img.set(x, y - 1, dim[1]);
            img.set(x, y + 1, dim[1]);
        } else {
            img.set(x, y, dim[level % 3]);
        }
    }
}

// A hill line: y of the ridge at column x.
double ridge(double x, double base, double a, double f, double phase) {
    return base - a * (0.6 * std::sin(x * f + phase) + 0.4 * std::sin(x * f * 2.7 + phase * 1.3));
}

void paint_dusk(Image& img) {
    vertical_gradient(img, {0, 0, 240, 200}, rgb(16, 14, 44), rgb(70, 30, 62), 10);
    vertical_gradient(img, {0, 200, 240, 262}, rgb(70, 30, 62), rgb(110, 48, 52), 6);
    stars(img, {0, 0, 240, 120}, 40, 3, false);
    // A low setting sun behind two layers of hills.
    fill_disc(img, 168, 258, 22, rgb(150, 70, 56));
    fill_disc(img, 168, 258, 18, rgb(172, 86, 60));
    for (int x = 0; x < 240; ++x) {
        const int far = static_cast<int>(ridge(x, 250, 10, 0.035, 1.0));
        const int near = static_cast<int>(ridge(x, 276, 12, 0.05, 4.0));
        for (int y = far; y < 320; ++y) img.set(x, y, rgb(46, 24, 50));
        for (int y = near; y < 320; ++y) img.set(x, y, rgb(28, 16, 36));
    }
    // Thin clouds.
    for (int k = 0; k < 3; ++k)
        fill_ellipse(img, 50 + 70 * k, 150 + 22 * (k % 2), 34, 2.5, rgb(88, 42, 72));
}

void paint_night(Image& img) {
    vertical_gradient(img, {0, 0, 240, 320}, rgb(6, 8, 26), rgb(18, 26, 64), 10);
    stars(img, {0, 0, 240, 320}, 170, 5, true);
    // A crescent moon.
    fill_disc(img, 52, 70, 16, rgb(150, 150, 130));
    fill_disc(img, 59, 65, 15, rgb(9, 12, 34));
    // A faint band of the galaxy.
    Scatter dust(9);
    for (int i = 0; i < 600; ++i) {
        const int t = dust.next(320);
        const int x = 240 - t * 3 / 4 + dust.next(30) - 15;
        const int y = t + dust.next(24) - 12;
        if (img.get(x, y) != ink::white) img.set(x, y, rgb(32, 40, 84));
    }
}

void paint_surface(Image& img) {
    vertical_gradient(img, {0, 0, 240, 320}, rgb(10, 6, 24), rgb(30, 14, 48), 8);
    stars(img, {0, 0, 240, 190}, 90, 8, true);
    // A ringed giant low in the sky.
    fill_disc(img, 190, 90, 30, rgb(58, 40, 92));
    fill_disc(img, 184, 84, 24, rgb(72, 50, 110));
    // Its ring: the far half hides behind the planet, the near half crosses it.
    for (int step = 0; step < 720; ++step) {
        const double a = step * 3.14159265 / 360;
        const double x = 190 + 50 * std::cos(a), y = 92 + 8 * std::sin(a) + 0.18 * 50 * std::cos(a);
        if (std::sin(a) < 0 && std::hypot(x - 190, y - 90) < 30) continue;
        img.set(static_cast<int>(x), static_cast<int>(y), rgb(110, 90, 140));
        img.set(static_cast<int>(x), static_cast<int>(y) + 1, rgb(80, 64, 110));
    }
    // The rocky surface under our feet, with craters.
    for (int x = 0; x < 240; ++x) {
        const int top = static_cast<int>(ridge(x, 226, 8, 0.04, 2.0));
        for (int y = top; y < 320; ++y)
            img.set(x, y,
                    y - top < 3 ? rgb(74, 56, 86)
                                : mix(rgb(52, 38, 66), rgb(30, 22, 42), (y - top) / 94.0));
    }
    Scatter craters(4);
    for (int i = 0; i < 9; ++i) {
        const int x = craters.next(240), y = 244 + craters.next(70);
        const double r = 3 + craters.next(8);
        fill_ellipse(img, x, y, r + 1, r * 0.4 + 1, rgb(70, 54, 84));
        fill_ellipse(img, x, y + 0.5, r, r * 0.4, rgb(26, 18, 36));
    }
}

void title_logo(Image& img, int cy) {
    const TextStyle big{ink::yellow, ink::red2, ink::outline, kClear, 5};
    Image layer(240, 60);
    draw_text_centred(layer, regular_font(), 120, 2, "ZARVOX", big);
    // A second, thicker rim and a deep shadow so the name stands off the sky.
    outline(layer, {0, 0, 240, 60}, ink::purple1, true);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 240; ++x)
            if (layer.get(x, y) != kClear) img.set(x + 3, cy + y + 3, ink::navy);
    overlay(img, 0, cy, layer, {0, 0, 240, 60});
    // A highlight stripe across the top of each letter.
    for (int x = 0; x < 240; ++x)
        if (img.get(x, cy + 5) == mix(ink::yellow, ink::red2, 1.0 / 34))
            img.set(x, cy + 5, ink::cream);
}

}  // namespace

Image paint_background(int stage) {
    Image img(240, 320);
    if (stage == 1) paint_dusk(img);
    if (stage == 2) paint_night(img);
    if (stage == 3) paint_surface(img);
    return img;
}

Image paint_title() {
    Image img(240, 320);
    vertical_gradient(img, {0, 0, 240, 320}, rgb(8, 8, 30), rgb(40, 20, 66), 10);
    stars(img, {0, 0, 240, 240}, 120, 21, true);
    title_logo(img, 46);
    draw_text_centred(img, regular_font(), 120, 112, "a tiny shooter with cats",
                      {ink::cyan, ink::blue3, ink::outline});
    // The ground the cat creeps along, and a dark band for the prompt.
    for (int x = 0; x < 240; ++x) {
        const int top = static_cast<int>(ridge(x, 231, 1.5, 0.06, 0.5));
        for (int y = top; y < 320; ++y)
            img.set(x, y, y < top + 2 ? rgb(70, 56, 96) : rgb(26, 18, 44));
    }
    // Pedestals where the collected rewards appear.
    for (int row = 0; row < 2; ++row)
        for (int k = 0; k < 5; ++k) {
            const int x = 8 + 48 * k, y = row == 0 ? 0 : 278;
            frame_box(img, {x + 2, y + 2, x + 30, y + 30}, rgb(56, 44, 90));
            fill_box(img, {x + 3, y + 3, x + 29, y + 29},
                     row == 0 ? rgb(16, 14, 40) : rgb(20, 14, 36));
        }
    // A plate under the record.
    fill_box(img, {2, 182, 94, 202}, rgb(20, 16, 46));
    frame_box(img, {2, 182, 94, 202}, rgb(56, 44, 90));
    return img;
}

Image paint_end() {
    Image img(240, 320);
    vertical_gradient(img, {0, 0, 240, 320}, rgb(8, 8, 30), rgb(20, 24, 60), 10);
    stars(img, {0, 0, 150, 320}, 90, 33, true);
    // The Earth, left alone and green again.
    fill_disc(img, 40, 270, 70, ink::blue1);
    fill_disc(img, 34, 264, 64, ink::blue2);
    fill_ellipse(img, 20, 240, 24, 14, ink::green1);
    fill_ellipse(img, 70, 290, 20, 12, ink::green1);
    fill_ellipse(img, 16, 236, 14, 7, ink::green2);
    fill_ellipse(img, 68, 286, 12, 6, ink::green2);
    fill_ellipse(img, 44, 258, 26, 2.5, rgb(120, 160, 220));
    fill_disc(img, 10, 222, 9, ink::blue3);
    // The cats' saucer leaving, with its trail of sparkles.
    Scatter trail(5);
    for (int i = 0; i < 24; ++i) {
        const double t = i / 24.0;
        const int x = static_cast<int>(100 + t * 30) + trail.next(5) - 2;
        const int y = static_cast<int>(200 - t * 120) + trail.next(5) - 2;
        img.set(x, y, i % 3 ? ink::yellow : ink::white);
    }
    Image ship(40, 30);
    fill_ellipse(ship, 20, 12, 6, 5, ink::cyan);
    fill_ellipse(ship, 20, 17, 13, 4, ink::orange2);
    fill_ellipse(ship, 20, 16, 11, 2, ink::orange3);
    for (int x : {12, 20, 28}) ship.set(x, 18, ink::yellow);
    outline(ship, {0, 0, 40, 30}, ink::outline);
    overlay(img, 112, 60, ship, {0, 0, 40, 30});
    // A calm column on the right for the rising texts.
    vertical_gradient(img, {152, 0, 240, 320}, rgb(14, 14, 40), rgb(24, 22, 58), 8);
    for (int y = 0; y < 320; ++y) img.set(152, y, rgb(46, 40, 88));
    return img;
}

Image paint_shutter() {
    Image img(480, 640);
    // 0: steel shutters with the game's name where the halves meet.
    {
        const Box q{0, 0, 240, 320};
        for (int y = 0; y < 320; ++y) {
            const int slat = y % 16;
            const Colour c = slat == 0  ? rgb(30, 34, 54)
                             : slat < 3 ? rgb(150, 156, 180)
                                        : mix(rgb(110, 116, 140), rgb(70, 74, 96), slat / 15.0);
            for (int x = q.left; x < q.right; ++x) img.set(x, y, c);
        }
        for (int y = 8; y < 320; y += 16)
            for (int x : {8, 231}) img.set(x, y, ink::grey3);
        fill_box(img, {20, 136, 220, 184}, rgb(40, 30, 70));
        frame_box(img, {20, 136, 220, 184}, ink::yellow);
        draw_text_centred(img, regular_font(), 120, 145, "ZARVOX",
                          {ink::yellow, ink::orange2, ink::outline, kClear, 4});
    }
    // 1: a wallpaper of grinning cats.
    {
        fill_box(img, {240, 0, 480, 320}, rgb(255, 190, 210));
        for (int y = 0; y < 320; y += 20)
            for (int x = 240 + ((y / 20) % 2) * 10; x < 480; x += 20)
                fill_box(img, {x, y, x + 10, y + 10}, rgb(250, 170, 196));
        for (int y = 8; y < 320; y += 40)
            for (int x = 246 + ((y / 40) % 2) * 20; x < 470; x += 40) {
                Box cell{x, y, x + 24, y + 24};
                paint_cat_face(img, cell, {ink::white, ink::cream, ink::grey3, ink::pink},
                               Mood::Grin);
            }
    }
    // 2: a deep starfield around a big blue planet.
    {
        const Box q{0, 320, 240, 640};
        vertical_gradient(img, q, rgb(8, 8, 30), rgb(30, 16, 60), 8);
        stars(img, q, 220, 44, true);
        fill_disc(img, 120, 480, 56, ink::blue1);
        fill_disc(img, 114, 474, 50, ink::blue2);
        fill_ellipse(img, 100, 460, 22, 12, ink::green1);
        fill_ellipse(img, 140, 500, 18, 10, ink::green1);
        fill_disc(img, 96, 450, 8, ink::blue3);
    }
    // 3: warning stripes with paw prints.
    {
        for (int y = 320; y < 640; ++y)
            for (int x = 240; x < 480; ++x)
                img.set(x, y, ((x + y) / 20) % 2 ? ink::yellow : rgb(34, 30, 50));
        for (int k = 0; k < 8; ++k) {
            const int x = 270 + (k % 2) * 140 + (k / 2) * 12, y = 350 + k * 36;
            fill_ellipse(img, x, y, 9, 7, ink::white);
            for (int t = -1; t <= 1; ++t)
                fill_disc(img, x + t * 8, y - 10 - (t == 0 ? 2 : 0), 3.2, ink::white);
            fill_disc(img, x - 12, y - 3, 2.8, ink::white);
        }
    }
    return img;
}
