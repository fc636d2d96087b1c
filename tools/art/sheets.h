// Where every picture lies on the sheets, as the game reads them, and the
// painters that fill the sheets. tools/art/README.md draws the same map.
#pragma once

#include <string>
#include <vector>

#include "draw.h"

namespace layout {

// chara01.bmp, 192 x 240: small sprites.
inline constexpr Box kShip{0, 0, 16, 16};
inline constexpr Box kShot{16, 0, 32, 16};
inline constexpr Box kPlanet{0, 16, 16, 32};
inline constexpr Box kRestLabel{16, 16, 32, 32};
inline constexpr Box kBullet[2] = {{32, 16, 46, 32}, {48, 16, 62, 32}};
inline constexpr Box kRock[3] = {{64, 16, 80, 32}, {80, 16, 96, 32}, {96, 16, 112, 32}};
inline constexpr Box kTitleCat[2] = {{0, 32, 32, 64}, {32, 32, 64, 64}};
inline constexpr Box kBoss{0, 96, 16, 112};
inline constexpr Box kBomb{64, 96, 96, 112};  // then the balloons 3, 2, 1 below, 16 apart
inline constexpr Box kEnemy[3] = {{96, 88, 116, 108}, {96, 108, 116, 128}, {96, 128, 116, 148}};
inline constexpr Box kScoreLabel{0, 144, 16, 160};
inline constexpr Box kRecordLabel{16, 144, 64, 160};
// Beam step s (0-3): head at (64 + 16s, 56), body at (64 + 16s, 72).
inline constexpr int kBeamLeft = 64, kBeamHeadTop = 56, kBeamBodyTop = 72;
// Digit d: (16d, 160) for 0-4, (16(d-5), 176) for 5-9.
inline constexpr Box digit_cell(int d) {
    return d < 5 ? Box{16 * d, 160, 16 * d + 16, 176}
                 : Box{16 * (d - 5), 176, 16 * (d - 5) + 16, 192};
}
// Effect strips: first frame of rows 0-4; later frames 16 px to the right.
inline constexpr Box kEffect[5] = {
    {0, 64, 16, 80}, {0, 80, 16, 96}, {0, 112, 16, 128}, {64, 32, 80, 48}, {64, 0, 80, 16}};
// Pop-up points: the cell of colour c (0-3) of label +n (1-4), drawn only when
// c >= n - 1 (label +n starts at its n-th colour).
inline constexpr Box points_cell(int n, int c) {
    return Box{128 + 16 * c, 16 * (n - 1), 144 + 16 * c, 16 * n};
}

// object.bmp, 700 x 640: banners, captions and story texts.
inline constexpr Box kGameOver{0, 0, 240, 160};
inline constexpr Box title_prompt(int k) {
    return Box{0, 160 + 32 * k, 240, 192 + 32 * k};
}
inline constexpr Box kRetryPrompt{0, 288, 240, 320};
inline constexpr Box kVictory{0, 320, 240, 552};
inline constexpr Box kStageClear{0, 576, 240, 632};
inline constexpr Box kThanks{232, 0, 480, 48};
inline constexpr Box kSaved{240, 48, 480, 80};
inline constexpr Box kPleaseTake{240, 80, 480, 112};
inline constexpr Box kPrizeCaption{248, 112, 480, 144};
inline constexpr Box kAsReward{240, 272, 480, 304};
inline constexpr Box reward_name(int k) {
    return Box{488, 32 * k, 664, 32 * k + 32};
}
inline constexpr Box story_line(int i) {
    return Box{320, 320 + 32 * i, 400, 352 + 32 * i};
}
inline constexpr Box kCredits[5] = {{240, 320, 320, 368},
                                    {240, 368, 320, 424},
                                    {240, 424, 320, 488},
                                    {240, 488, 320, 560},
                                    {240, 560, 320, 632}};
inline constexpr Box kEndMark{408, 544, 480, 584};

// gohobi.bmp, 320 x 64: reward icon k at (32k, 0).
inline constexpr Box reward_icon(int k) {
    return Box{32 * k, 0, 32 * k + 32, 32};
}

}  // namespace layout

// The ten rewards, in icon order.
extern const char* const kRewardNames[10];

struct Sheet {
    std::string file;  // file name in resources/bitmap
    int bits;          // 8, 4 or 1
    Image image;
};

// Every sheet of the game, painted, with its file name and depth.
std::vector<Sheet> paint_all_sheets();

Image paint_chara();
Image paint_object();
Image paint_gohobi();
Image paint_maker_logo();
Image paint_library_logo();
Image paint_background(int stage);  // 1, 2 or 3
Image paint_title();
Image paint_end();
Image paint_shutter();
// The 256 x 256 desktop icon (not a sheet: written as PNG by paint_bitmaps --icon).
Image paint_icon();
// The same icon at `scale` times its 64 x 64 art (the page's icons).
Image paint_icon_at(int scale);

// Shared picture pieces.
enum class Mood { Calm, Grin, Laugh, Cross, Plain };
struct Fur {
    Colour base, light, dark, inner_ear;
};
// A cat's face filling `box` (square, 14 to 32 px), outlined inside the box.
void paint_cat_face(Image& img, const Box& box, const Fur& fur, Mood mood,
                    bool with_outline = true);
