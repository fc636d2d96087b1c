// Loading pictures into surface slots and drawing them clipped and keyed.
#include "platform/display.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "hosts/headless/headless_host.h"
#include "platform/resources.h"
#include "support/bitmap_file.h"

namespace {

// An 8-bit bitmap whose pixel (x, y) is colour(x, y); its colour table holds
// the colours in the order they first appear (at most 256).
template <typename Colour>
std::vector<uint8_t> make_bmp(int w, int h, Colour colour) {
    std::vector<uint32_t> table;
    std::vector<int> indices;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t c = colour(x, y);
            size_t index = 0;
            while (index < table.size() && table[index] != c) ++index;
            if (index == table.size()) table.push_back(c);
            indices.push_back(static_cast<int>(index));
        }
    return bitmap_file(8, w, h, table, indices);
}

class Display : public ::testing::Test {
protected:
    void SetUp() override {
        // A 16x16 sprite: white with a black (transparent) left column, and
        // a 192x240 sheet like the character picture.
        sprite_ = make_bmp(16, 16, [](int x, int) { return x == 0 ? 0u : 0xFFFFFFu; });
        sheet_ = make_bmp(192, 240, [](int, int) { return 0x336699u; });
        table_[0] = {"BITMAP", "SPRITE", sprite_.data(), sprite_.size()};
        table_[1] = {"BITMAP", "CHARA01", sheet_.data(), sheet_.size()};
        table_[2] = {"BITMAP", "BROKEN", broken_, sizeof broken_};
        // Two full-screen pictures, one opaque and one with a single key pixel.
        back_ = make_bmp(SCREEN_WIDTH, SCREEN_HEIGHT, [](int, int y) { return back_row(y); });
        holed_ = make_bmp(SCREEN_WIDTH, SCREEN_HEIGHT,
                          [](int x, int y) { return x == 7 && y == 9 ? 0u : 0x00AA00u; });
        table_[3] = {"BITMAP", "BACK", back_.data(), back_.size()};
        table_[4] = {"BITMAP", "HOLED", holed_.data(), holed_.size()};
        use_resource_table(table_, 5);
        install_headless_host(HeadlessConfig{});
        ASSERT_TRUE(start_display(SCREEN_WIDTH, SCREEN_HEIGHT));
        ASSERT_TRUE(load_bitmap("sprite", 1));
        ASSERT_TRUE(load_bitmap("chara01", 4));
        fill_back_surface(ScreenRect, 0x123456);
    }
    void TearDown() override {
        end_display();
        use_embedded_resources();
    }

    // The colour of row y of the opaque full-screen picture (one table entry each).
    static uint32_t back_row(int y) { return 0x010000u + y % 250; }
    static uint32_t at(int x, int y) {
        return back_surface_pixels()[y * (back_surface_pitch() / 4) + x] & 0xFFFFFF;
    }
    // How many screen columns of row y show the sprite's white.
    static int white_columns(int y, int* first) {
        int n = 0;
        *first = -1;
        for (int x = 0; x < SCREEN_WIDTH; ++x)
            if (at(x, y) == 0xFFFFFF) {
                if (*first < 0) *first = x;
                ++n;
            }
        return n;
    }
    static void draw_sprite(int x, int y, int32_t shown = 1) {
        draw_block(DrawBlock{shown, 1, 0, 0, 16, 16, x, y});
    }

    std::vector<uint8_t> sprite_, sheet_, back_, holed_;
    uint8_t broken_[10] = {'B', 'M', 1, 2, 3};
    ResourceEntry table_[5];
};

TEST_F(Display, SpritesClipAtTheScreenEdgesAndWhollyOutsideOrNotShownDrawNothing) {
    int first = 0;
    draw_sprite(-5, 10);  // right 11 columns at x 0
    EXPECT_EQ(white_columns(10, &first), 11);
    EXPECT_EQ(first, 0);
    fill_back_surface(ScreenRect, 0);
    draw_sprite(230, 10);  // left 10 columns (the first transparent) at 230
    EXPECT_EQ(white_columns(10, &first), 9);
    EXPECT_EQ(first, 231);
    EXPECT_EQ(at(230, 10), 0u);

    fill_back_surface(ScreenRect, 0);
    for (const auto& [x, y] : {std::pair{0, 320}, {-16, 10}, {240, 10}, {10, -16}})
        draw_sprite(x, y);
    draw_sprite(10, 10, 0);
    draw_sprite(10, 10, 2);
    for (int y = 0; y < SCREEN_HEIGHT; ++y) ASSERT_EQ(white_columns(y, &first), 0) << y;
}

TEST_F(Display, BlackIsTransparentButAFilledBlackIsOpaque) {
    draw_sprite(50, 50);
    EXPECT_EQ(at(50, 50), 0x123456u);  // the sprite's black column lets the ground through
    EXPECT_EQ(at(51, 50), 0xFFFFFFu);
    fill_back_surface(Rect{51, 50, 52, 51}, 0);
    EXPECT_EQ(at(51, 50), 0u);
}

TEST_F(Display, ASourceLeavingItsPictureIsRefusedWhole) {
    draw_block(DrawBlock{1, 4, 192, 0, 208, 16, 20, 20});
    draw_block(DrawBlock{1, 4, 180, 0, 196, 16, 20, 40});
    for (int y = 0; y < SCREEN_HEIGHT; ++y)
        for (int x = 0; x < SCREEN_WIDTH; ++x) ASSERT_EQ(at(x, y), 0x123456u) << x << "," << y;
    draw_block(DrawBlock{1, 4, 176, 0, 192, 16, 20, 40});
    EXPECT_EQ(at(20, 40), 0x336699u);
}

TEST_F(Display, ASpriteLargerThanTheClipIsCutToIt) {
    const Rect clip = {10, 10, 20, 20};
    const Rect source = {0, 0, 16, 16};
    // Overhangs the clip on every side: exactly the clip is drawn.
    const Rect big = {0, 0, 192, 240};
    blit_clipped(&clip, 0, 0, &big, 4);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            EXPECT_EQ(at(x, y), (x >= 10 && x < 20 && y >= 10 && y < 20) ? 0x336699u : 0x123456u);
    blit_clipped(&clip, 100, 100, &source, 1);
    EXPECT_EQ(at(100, 100), 0x123456u);
}

// A read just past a row's end must not come back from the next row.
TEST_F(Display, PixelsAreReadOnlyInsideTheirPicture) {
    EXPECT_EQ(surface_pixel(4, 191, 239), 0x336699u);
    for (const auto& [x, y] : {std::pair{192, 0}, {192, 239}, {-1, 0}, {0, 240}, {0, -1}})
        EXPECT_EQ(surface_pixel(4, x, y), 0u) << x << "," << y;
}

TEST_F(Display, LoadingRefusesBadSlotsBadDataAndReloads) {
    int w = 0, h = 0;
    EXPECT_FALSE(load_bitmap("sprite", 512));
    EXPECT_FALSE(load_bitmap("sprite", -1));
    EXPECT_FALSE(load_bitmap("chara01", 1));  // occupied: never replaced
    ASSERT_TRUE(surface_size(1, &w, &h));
    EXPECT_EQ(w, 16);
    EXPECT_FALSE(load_bitmap("broken", 2));
    EXPECT_FALSE(load_bitmap("missing", 3));
    EXPECT_FALSE(surface_size(2, &w, &h));
    draw_block(DrawBlock{1, 2, 0, 0, 16, 16, 0, 0});  // an empty slot draws nothing
    EXPECT_EQ(at(0, 0), 0x123456u);
}

// A clear of the whole screen may be left out only under an opaque picture
// that covers every pixel; whatever else comes next sees it done.
TEST_F(Display, AClearShowsWhereverTheNextDrawingLeavesAPixelUncovered) {
    ASSERT_TRUE(load_bitmap("back", 20));
    ASSERT_TRUE(load_bitmap("holed", 21));
    const auto clear_then = [](auto draw) {
        fill_back_surface(ScreenRect, 0x777777);  // something to clear away
        at(0, 0);
        fill_back_surface(ScreenRect, 0x000001);
        draw();
    };
    clear_then([] { draw_block(DrawBlock{1, 20, 0, 0, 240, 320, 0, 0}); });
    for (int y = 0; y < SCREEN_HEIGHT; ++y)
        for (int x = 0; x < SCREEN_WIDTH; ++x) ASSERT_EQ(at(x, y), back_row(y)) << x << "," << y;

    clear_then([] { draw_block(DrawBlock{1, 21, 0, 0, 240, 320, 0, 0}); });  // a key pixel
    EXPECT_EQ(at(7, 9), 0x000001u);
    EXPECT_EQ(at(8, 9), 0x00AA00u);

    clear_then([] { draw_block(DrawBlock{1, 20, 0, 0, 240, 320, 1, 0}); });  // one column short
    EXPECT_EQ(at(0, 5), 0x000001u);
    EXPECT_EQ(at(1, 5), back_row(5));

    clear_then([] { draw_block(DrawBlock{1, 20, 0, 1, 240, 320, 0, 0}); });  // one row short
    EXPECT_EQ(at(5, 318), back_row(319));
    EXPECT_EQ(at(5, 319), 0x000001u);

    clear_then([] { draw_block(DrawBlock{1, 20, 0, 1, 240, 321, 0, 0}); });  // refused
    EXPECT_EQ(at(100, 100), 0x000001u);

    clear_then([] { draw_block(DrawBlock{1, 3, 0, 0, 240, 320, 0, 0}); });  // empty slot
    EXPECT_EQ(at(100, 100), 0x000001u);

    clear_then([] { fill_back_surface(Rect{0, 0, 10, 10}, 0x222222); });
    EXPECT_EQ(at(9, 9), 0x222222u);
    EXPECT_EQ(at(10, 10), 0x000001u);

    // A full-screen picture drawn again shows nothing of what was drawn over
    // it before, by sprite or by fill, whether or not a clear came between.
    for (const bool cleared : {true, false}) {
        draw_block(DrawBlock{1, 20, 0, 0, 240, 320, 0, 0});
        draw_sprite(50, 50);
        fill_back_surface(Rect{0, 300, 10, 301}, 0x333333);
        if (cleared) fill_back_surface(ScreenRect, 0);
        draw_block(DrawBlock{1, 20, 0, 0, 240, 320, 0, 0});
        for (int y = 0; y < SCREEN_HEIGHT; ++y)
            for (int x = 0; x < SCREEN_WIDTH; ++x)
                ASSERT_EQ(at(x, y), back_row(y)) << x << "," << y << " cleared " << cleared;
    }
    // Another picture, or the same one from elsewhere, replaces it whole.
    draw_block(DrawBlock{1, 20, 0, 0, 240, 320, 0, 0});
    draw_block(DrawBlock{1, 21, 0, 0, 240, 320, 0, 0});
    EXPECT_EQ(at(100, 100), 0x00AA00u);
    EXPECT_EQ(at(7, 9), back_row(9));  // the key pixel lets the first one through

    // The picture drawn first, then the clear over it, then a sprite.
    draw_block(DrawBlock{1, 20, 0, 0, 240, 320, 0, 0});
    fill_back_surface(Rect{-1, -1, 241, 321}, 0x000002);
    draw_sprite(50, 50);
    EXPECT_EQ(at(50, 50), 0x000002u);
    EXPECT_EQ(at(51, 50), 0xFFFFFFu);
    EXPECT_EQ(at(200, 300), 0x000002u);
}

}  // namespace
