// The painted bitmaps as the game loads them: every picture the game draws
// painted, and the frames the game expects to show nothing left empty. The
// files themselves are pinned byte for byte by the art generator's test.
#include <gtest/gtest.h>

#include <string>

#include "hosts/headless/headless_host.h"
#include "objects/digits.h"
#include "objects/effects.h"
#include "objects/transition.h"
#include "platform/display.h"
#include "platform/resources.h"
#include "services/templates.h"

namespace {

constexpr int kChara = 4, kObject = 6;

class Art : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        use_embedded_resources();
        install_headless_host(HeadlessConfig{});
        ASSERT_TRUE(start_display(SCREEN_WIDTH, SCREEN_HEIGHT));
        load_bitmaps();
        fill_template_table();
        init_effects();
        init_transition();
        init_digits();
    }
    static void TearDownTestSuite() { end_display(); }

    static int opaque(int slot, const Rect& r) {
        int count = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) count += surface_pixel(slot, x, y) != 0;
        return count;
    }
    static std::string where(int slot, const Rect& r) {
        return "slot " + std::to_string(slot) + " (" + std::to_string(r.left) + "," +
               std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
               std::to_string(r.bottom) + ")";
    }
    static void expect_painted(int slot, const Rect& r) {
        int w = 0, h = 0;
        ASSERT_TRUE(surface_size(slot, &w, &h)) << where(slot, r);
        ASSERT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= w && r.bottom <= h) << where(slot, r);
        EXPECT_GE(opaque(slot, r), 4) << "nothing painted at " << where(slot, r);
    }
    static void expect_empty(int slot, const Rect& r) {
        EXPECT_EQ(opaque(slot, r), 0) << "should stay transparent: " << where(slot, r);
    }
    static Rect rect_of(const DrawBlock& b) {
        return {b.src_left, b.src_top, b.src_right, b.src_bottom};
    }
};

TEST_F(Art, EveryTemplatePictureIsPainted) {
    for (int row = 0; row <= 38; ++row) {
        SCOPED_TRACE("template row " + std::to_string(row));
        expect_painted(TemplateTable[row].surface, rect_of(TemplateTable[row]));
    }
    for (int d = 0; d < 10; ++d) expect_painted(kChara, rect_of(DigitObjects[d].block));
}

TEST_F(Art, PicturesTheModesSetThemselvesArePainted) {
    const Rect chara[] = {
        {32, 32, 64, 64},   {16, 144, 64, 160}, {0, 144, 16, 160},   {0, 96, 16, 112},
        {32, 16, 46, 32},   {48, 16, 62, 32},   {64, 112, 96, 128},  {64, 128, 96, 144},
        {64, 144, 96, 160}, {96, 88, 116, 108}, {96, 108, 116, 128}, {96, 128, 116, 148},
    };
    for (const Rect& r : chara) expect_painted(kChara, r);
    for (int s = 0; s < 4; ++s) {
        expect_painted(kChara, {64 + 16 * s, 56, 80 + 16 * s, 72});
        expect_painted(kChara, {64 + 16 * s, 72, 80 + 16 * s, 88});
    }
    for (int k = 0; k < 4; ++k) expect_painted(kObject, {0, 160 + 32 * k, 240, 192 + 32 * k});
    const Rect object[] = {
        {232, 0, 480, 48},    {240, 48, 480, 80},   {240, 80, 480, 112},  {248, 112, 480, 144},
        {240, 272, 480, 304}, {0, 320, 240, 552},   {240, 320, 320, 368}, {240, 368, 320, 424},
        {240, 424, 320, 488}, {240, 488, 320, 560}, {240, 560, 320, 632}, {408, 544, 480, 584},
    };
    for (const Rect& r : object) expect_painted(kObject, r);
    for (int i = 0; i < 10; ++i) expect_painted(kObject, {320, 320 + 32 * i, 400, 352 + 32 * i});
    expect_painted(8, {0, 0, 64, 32});
    expect_painted(9, {0, 0, 40, 10});
}

TEST_F(Art, EffectFramesInsideTheSheetArePaintedAndTheOthersEmpty) {
    for (int row = 0; row <= 8; ++row) {
        SCOPED_TRACE("effect row " + std::to_string(row));
        const Rect first = rect_of(EffectTemplate[row]);
        for (int f = 0; f < 4; ++f) {
            const Rect r = {first.left + 16 * f, first.top, first.right + 16 * f, first.bottom};
            if (r.right > 192) continue;  // beyond the sheet: the blit refuses it
            if (row == 4 && f == 3)
                expect_empty(kChara, r);  // the glow has gone before its slot is freed
            else
                expect_painted(kChara, r);
        }
    }
    // The pop-up labels +2 to +4 start at a later colour; the cells of the
    // earlier colours are never drawn and must not hold stray pixels.
    for (int n = 1; n < 4; ++n)
        for (int c = 0; c < n; ++c)
            expect_empty(kChara, {128 + 16 * c, 16 * n, 144 + 16 * c, 16 * n + 16});
}

TEST_F(Art, NeighbouringPicturesDoNotBleedIntoEachOther) {
    // Digits advance 11 pixels in 16-pixel cells: a glyph wider than 11
    // columns would be overdrawn by its right-hand neighbour.
    for (int d = 0; d < 10; ++d) {
        const Rect cell = rect_of(DigitObjects[d].block);
        expect_empty(kChara, {cell.left + 11, cell.top, cell.right, cell.bottom});
    }
    // The thank-you line is read from x 232, inside the game-over picture's
    // last 8 columns.
    expect_empty(kObject, {232, 0, 240, 48});
    // The bomb without its balloon.
    expect_empty(kChara, {80, 96, 96, 112});
}

TEST_F(Art, TransitionPicturesCoverTheWholeScreen) {
    for (int k = 0; k < 4; ++k) {
        const Rect r = rect_of(TransitionPicture[k]);
        EXPECT_EQ(opaque(10, r), 240 * 320) << "transparent holes in picture " << k;
    }
}

TEST_F(Art, BeamBodiesTileWithoutSeams) {
    for (int s = 0; s < 4; ++s)
        for (int x = 64 + 16 * s; x < 80 + 16 * s; ++x)
            for (int y = 73; y < 88; ++y)
                EXPECT_EQ(surface_pixel(kChara, x, y), surface_pixel(kChara, x, 72))
                    << "beam step " << s << " column " << x << " row " << y;
}

}  // namespace
