// The shared object rules: drawing positions, collisions to the unit,
// random numbers, the particle pool when it is full, and the number display's
// limits: edges a golden game passes by chance or never.
#include <gtest/gtest.h>

#include "objects/digits.h"
#include "objects/effects.h"
#include "objects/game_object.h"
#include "support/game_fixture.h"

namespace {

GameObject box_at(int x_px, int y_px, Hitbox a, Hitbox b) {
    GameObject o{};
    o.x = px(x_px);
    o.y = px(y_px);
    o.hitbox_a = a;
    o.hitbox_b = b;
    return o;
}

TEST(GameObject, DrawPositionTruncatesTowardZeroAndInvisibleStillUpdates) {
    GameObject o{};
    o.x = -1;
    o.y = -513;
    draw_object(o);
    EXPECT_EQ(o.block.screen_x, 0);
    EXPECT_EQ(o.block.screen_y, -1);
    EXPECT_EQ(o.block.shown, 0);
    o.visible = 1;
    o.vx = 1024;
    move_object(o);
    draw_object(o);
    EXPECT_EQ(o.block.screen_x, 1);
    EXPECT_EQ(o.block.shown, 1);
}

TEST(GameObject, NoHitOnlyGuardsTheTargetAndOnlyTwoBoxesCount) {
    const Hitbox box = {0, 0, 10, 10};
    GameObject hunter = box_at(0, 0, box, box);
    GameObject target = box_at(0, 0, box, box);
    target.no_hit = 1;
    EXPECT_TRUE(objects_apart(hunter, target));
    hunter.no_hit = 1;
    target.no_hit = 0;
    EXPECT_FALSE(objects_apart(hunter, target));
    // Only the hunter's first box and the target's second box count.
    GameObject wide = box_at(0, 0, {0, 0, 100, 100}, {0, 0, 1, 1});
    GameObject far = box_at(50, 50, {0, 0, 1, 1}, {0, 0, 1, 1});
    EXPECT_FALSE(objects_apart(wide, far));
    EXPECT_TRUE(objects_apart(far, wide));
}

TEST(GameObject, BoxesMeetingOnAnySideTouchAndOneUnitFurtherAreApart) {
    const Hitbox box = {0, 0, 10, 10};
    const GameObject hunter = box_at(0, 0, box, box);
    const struct {
        int x, y, dx, dy;
    } sides[] = {{10, 0, 1, 0}, {-10, 0, -1, 0}, {0, 10, 0, 1}, {0, -10, 0, -1}};
    for (const auto& s : sides) {
        GameObject target = box_at(s.x, s.y, box, box);
        EXPECT_FALSE(objects_apart(hunter, target)) << s.x << "," << s.y;
        target.x += s.dx;
        target.y += s.dy;
        EXPECT_TRUE(objects_apart(hunter, target)) << s.x << "," << s.y;
    }
}

TEST(Random, FollowsTheGeneratorAndItsRanges) {
    set_random_seed(1);
    // The first three values of the generator from seed 1.
    EXPECT_EQ(random_range(0, 32767), 41);
    EXPECT_EQ(random_range(0, 32767), 18467);
    EXPECT_EQ(random_range(0, 32767), 6334);
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(random_range(5, 5), 5);
        const int r = random_range(-2, 2);
        EXPECT_GE(r, -2);
        EXPECT_LE(r, 2);
    }
    // A reversed range of one below gives lo, as r % -1 is 0.
    for (int i = 0; i < 20; ++i) EXPECT_EQ(random_range(1, -1), 1);
    // An empty range must not divide by zero.
    EXPECT_EQ(random_range(3, 2), 3);
}

class Particles : public GameFixture {};

ParticleBurst burst(int count, int frames, int period) {
    return ParticleBurst{count, 0, px(100), px(100), 0, 0, 0, 0, frames, period, 0};
}

TEST_F(Particles, SpawnCentresAndOverwritesTheLowestSlotsWhenFull) {
    spawn_particles(burst(1, 4, 1));
    EXPECT_EQ(EffectPool[1].state, 1);
    EXPECT_EQ(EffectPool[1].x, px(92));
    EXPECT_EQ(EffectPool[0].state, 0);

    for (int i = 1; i < EFFECT_POOL_SIZE; ++i) EffectPool[i].state = 1, EffectPool[i].tag = 7;
    EffectPool[100] = GameObject{};
    EffectPool[200] = GameObject{};
    spawn_particles(burst(5, 4, 1));
    EXPECT_EQ(EffectPool[100].tag, 0);
    EXPECT_EQ(EffectPool[200].tag, 0);
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(EffectPool[i].tag, 0) << i;
    EXPECT_EQ(EffectPool[4].tag, 7);

    clear_effects();
    for (int i = 2; i < EFFECT_POOL_SIZE; ++i) EffectPool[i].state = 1;
    spawn_particles(burst(2, 4, 1));  // slot 1 filled, then overwritten again
    EXPECT_EQ(live_particles(), EFFECT_POOL_SIZE - 1);
}

class Digits : public GameFixture {};

TEST_F(Digits, NegativeDrawsNothingAndLargeValuesShowAsNines) {
    DigitObjects[9].block.screen_x = -99;
    draw_number(px(10), px(20), -5);
    EXPECT_EQ(DigitObjects[9].block.screen_x, -99);
    draw_number(px(10), px(20), 123456);
    EXPECT_EQ(DigitObjects[9].block.screen_x, 10);
}

}  // namespace
