// The desktop icon: a grinning cat face over a starry disc, the ship below
// firing up at it. Painted as 64 x 64 pixel art from the game's own sprites
// and blown up four times, so it keeps the game's chunky look at 256 x 256.
#include <cmath>

#include "sheets.h"

namespace {

constexpr int kArt = 64;
constexpr int kScale = 4;

void starry_disc(Image& img) {
    const double c = kArt / 2.0, r = kArt / 2.0 - 1;
    Image sky(kArt, kArt);
    vertical_gradient(sky, {0, 0, kArt, kArt}, rgb(14, 16, 48), rgb(60, 28, 92), 8);
    for (int y = 0; y < kArt; ++y)
        for (int x = 0; x < kArt; ++x)
            if (std::hypot(x + 0.5 - c, y + 0.5 - c) <= r) img.set(x, y, sky.get(x, y));
    Scatter scatter(41);
    const Colour dim[3] = {rgb(90, 94, 140), rgb(140, 140, 190), ink::white};
    for (int i = 0; i < 34; ++i) {
        const int x = scatter.next(kArt), y = scatter.next(kArt);
        if (img.get(x, y) != kClear && std::hypot(x + 0.5 - c, y + 0.5 - c) < r - 2)
            img.set(x, y, dim[i % 3]);
    }
    // A bright rim, then the dark outline every sprite has.
    ring(img, c, c, r, r - 1.2, ink::purple2);
    outline(img, {0, 0, kArt, kArt}, ink::outline, true);
}

Image scale_up(const Image& src, int factor) {
    Image out(src.width * factor, src.height * factor);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) out.set(x, y, src.get(x / factor, y / factor));
    return out;
}

}  // namespace

Image paint_icon() {
    return paint_icon_at(kScale);
}

Image paint_icon_at(int scale) {
    Image art(kArt, kArt);
    starry_disc(art);
    const Image chara = paint_chara();
    overlay(art, 6, 12, chara, layout::kPlanet);
    Image cat(28, 28);
    paint_cat_face(cat, {0, 0, 28, 28}, {ink::white, ink::cream, ink::grey3, ink::pink},
                   Mood::Grin);
    overlay(art, 18, 5, cat, {0, 0, 28, 28});
    overlay(art, 24, 32, chara, layout::kShot);
    overlay(art, 24, 45, chara, layout::kShip);
    return scale_up(art, scale);
}
