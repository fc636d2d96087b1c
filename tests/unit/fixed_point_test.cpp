// Positions in 1/512 pixel: the helpers every mode writes its numbers with.
#include <gtest/gtest.h>

#include "objects/game_object.h"

// A fraction names the same count of 1/512 pixels the game always used.
static_assert(px_frac(7, 8) == 448);
static_assert(px_frac(35, 128) == 140);
static_assert(px_frac(3, 32) == 48);
static_assert(px_frac(5, 4) == 640);
static_assert(-px_frac(1, 32) == -16);
static_assert(px(-3) == -1536);

TEST(FixedPoint, WholePixelsTruncateTowardZero) {
    EXPECT_EQ(whole_px(px(202)), 202);
    EXPECT_EQ(whole_px(px(3) + px_frac(511, 512)), 3);
    // Just left of or above the screen still draws at 0, as the game expects.
    EXPECT_EQ(whole_px(-1), 0);
    EXPECT_EQ(whole_px(-px_frac(1, 2)), 0);
    EXPECT_EQ(whole_px(-px(1) - 1), -1);
    EXPECT_EQ(whole_px(-px(32)), -32);
}
