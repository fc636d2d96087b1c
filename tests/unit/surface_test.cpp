// The colour-keyed copy and the fill on the game's own surfaces.
#include "platform/surface.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

uint32_t at(const Surface& s, int x, int y) {
    return s.pixels[y * s.width + x];
}

int count(const Surface& s, uint32_t colour) {
    int n = 0;
    for (uint32_t p : s.pixels) n += p == colour;
    return n;
}

TEST(Surface, KeyedCopyLeavesBlackOutAndRefusesWhatLeavesEitherSurface) {
    Surface sprite, screen;
    make_surface(&sprite, 4, 4, 0xABCDEF);
    sprite.pixels[0] = 0;  // top-left corner transparent
    make_surface(&screen, 10, 10, 0x111111);

    EXPECT_TRUE(copy_keyed(sprite, Rect{0, 0, 4, 4}, &screen, 6, 6));
    EXPECT_EQ(at(screen, 6, 6), 0x111111u);
    EXPECT_EQ(at(screen, 7, 6), 0xABCDEFu);
    EXPECT_EQ(at(screen, 9, 9), 0xABCDEFu);
    EXPECT_EQ(count(screen, 0xABCDEF), 15);

    make_surface(&screen, 10, 10, 0x111111);
    EXPECT_FALSE(copy_keyed(sprite, Rect{0, 0, 4, 4}, &screen, 7, 0));  // one column off screen
    EXPECT_FALSE(copy_keyed(sprite, Rect{0, 0, 4, 4}, &screen, 0, -1));
    EXPECT_FALSE(copy_keyed(sprite, Rect{1, 0, 5, 4}, &screen, 0, 0));  // leaves the sprite
    EXPECT_FALSE(copy_keyed(sprite, Rect{0, -1, 4, 3}, &screen, 0, 0));
    EXPECT_FALSE(copy_keyed(sprite, Rect{2, 2, 2, 4}, &screen, 0, 0));  // empty
    EXPECT_FALSE(copy_keyed(sprite, Rect{3, 3, 1, 1}, &screen, 0, 0));
    // Positions at the ends of the integer range must not wrap into place.
    EXPECT_FALSE(copy_keyed(sprite, Rect{0, 0, 4, 4}, &screen, INT_MAX - 1, 0));
    EXPECT_FALSE(copy_keyed(sprite, Rect{INT_MIN, 0, INT_MIN + 4, 4}, &screen, 0, 0));
    EXPECT_FALSE(copy_keyed(Surface{}, Rect{0, 0, 1, 1}, &screen, 0, 0));
    EXPECT_EQ(count(screen, 0x111111), 100);
}

// The index of key pixels changes how rows are copied, never what arrives.
TEST(Surface, AnIndexedCopyDrawsWhatTheKeyedCopyDraws) {
    Surface sprite, plain, indexed;
    make_surface(&sprite, 40, 12, 0);
    for (int i = 0; i < 40 * 12; ++i)
        sprite.pixels[i] = (i * 7919) % 13 == 0 || i / 40 == 3 ? 0 : 0x100000u + i;
    for (int x = 0; x < 40; ++x) sprite.pixels[5 * 40 + x] = 0x0F0F0F;  // one opaque row
    make_surface(&plain, 60, 30, 0x111111);
    make_surface(&indexed, 60, 30, 0x111111);
    EXPECT_TRUE(copy_keyed(sprite, Rect{0, 0, 40, 12}, &plain, 10, 10));
    index_key_pixels(&sprite);
    EXPECT_TRUE(copy_keyed(sprite, Rect{0, 0, 40, 12}, &indexed, 10, 10));
    EXPECT_EQ(plain.pixels, indexed.pixels);
    EXPECT_TRUE(copy_keyed(sprite, Rect{3, 2, 37, 11}, &plain, 0, 0));
    EXPECT_TRUE(copy_keyed(sprite, Rect{3, 2, 37, 11}, &indexed, 0, 0));
    EXPECT_EQ(plain.pixels, indexed.pixels);
    EXPECT_TRUE(rect_opaque(sprite, Rect{0, 5, 40, 6}));
    EXPECT_FALSE(rect_opaque(sprite, Rect{0, 4, 40, 6}));
    EXPECT_FALSE(rect_opaque(sprite, Rect{0, 5, 41, 6}));  // leaves the sprite
}

TEST(Surface, OpaqueRowsLongerThanACountedRunAreStillSeen) {
    Surface wide;
    make_surface(&wide, 70000, 2, 0x123456);
    EXPECT_FALSE(rect_opaque(wide, Rect{0, 0, 70000, 2}));  // not indexed
    wide.pixels[70000 + 69990] = 0;
    index_key_pixels(&wide);
    EXPECT_TRUE(rect_opaque(wide, Rect{0, 0, 70000, 1}));
    EXPECT_FALSE(rect_opaque(wide, Rect{0, 1, 70000, 2}));
    EXPECT_FALSE(rect_opaque(wide, Rect{69000, 1, 69991, 2}));
    EXPECT_TRUE(rect_opaque(wide, Rect{1, 1, 69990, 2}));
    EXPECT_TRUE(rect_opaque(wide, Rect{69991, 0, 70000, 2}));
    make_surface(&wide, 70000, 2, 0x123456);  // new pixels drop the index
    EXPECT_FALSE(rect_opaque(wide, Rect{0, 0, 10, 1}));
}

// The surface as rows of '#' where it holds `colour` and '.' elsewhere.
std::string places(const Surface& s, uint32_t colour) {
    std::string rows;
    for (int y = 0; y < s.height; ++y) {
        for (int x = 0; x < s.width; ++x) rows += at(s, x, y) == colour ? '#' : '.';
        rows += '\n';
    }
    return rows;
}

// Counting pixels is not enough: a fill of a left-hand part must not run on
// into the next rows as a fill of whole rows does.
TEST(Surface, FillCoversExactlyThePartOnTheSurface) {
    Surface s;
    make_surface(&s, 6, 5, 0);
    fill_surface(&s, Rect{-5, -5, 2, 3}, 0xFF000001);  // the raw value, top byte too
    fill_surface(&s, Rect{4, 3, 100, 100}, 5);
    fill_surface(&s, Rect{3, 2, 3, 8}, 7);  // empty
    fill_surface(&s, Rect{5, 5, 3, 3}, 7);  // inverted
    EXPECT_EQ(places(s, 0xFF000001), "##....\n##....\n##....\n......\n......\n");
    EXPECT_EQ(places(s, 5), "......\n......\n......\n....##\n....##\n");
    EXPECT_EQ(count(s, 7), 0);
    fill_surface(&s, Rect{-3, 1, 9, 3}, 9);  // whole rows
    EXPECT_EQ(places(s, 9), "......\n######\n######\n......\n......\n");
    fill_surface(&s, Rect{0, 0, 6, 5}, 0);  // black, byte by byte
    EXPECT_EQ(count(s, 0), 30);
}

}  // namespace
