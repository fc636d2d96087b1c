// The shared object rules: drawing positions, collisions, random numbers,
// particles, the screen transition and the number display.
#include <gtest/gtest.h>

#include "objects/digits.h"
#include "objects/effects.h"
#include "objects/game_object.h"
#include "objects/transition.h"
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

TEST(GameObject, BoxesSharingAnEdgeTouchAndNoHitOnlyGuardsTheTarget) {
    const Hitbox box = {0, 0, 10, 10};
    GameObject hunter = box_at(0, 0, box, box);
    GameObject target = box_at(10, 0, box, box);
    EXPECT_FALSE(objects_apart(hunter, target));
    target.x += 1;
    EXPECT_TRUE(objects_apart(hunter, target));
    target.x = 0;
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

int lifetime(int frames, int period) {
    clear_effects();
    spawn_particles(burst(1, frames, period));
    int drawn = 0;
    while (EffectPool[1].state == 1) {
        update_effects();
        if (EffectPool[1].state == 1) ++drawn;
    }
    return drawn;
}

TEST_F(Particles, LifetimesFollowFramesAndPeriod) {
    EXPECT_EQ(lifetime(4, 1), 11);
    EXPECT_EQ(lifetime(4, 7), 35);
    EXPECT_EQ(lifetime(1, 3), 4);
}

TEST_F(Particles, GravityAddsOnePixelPerFrameBeforeTheMove) {
    ParticleBurst b = burst(1, 4, 7);
    b.gravity = 1;
    spawn_particles(b);
    const Fixed9 y0 = EffectPool[1].y;
    update_effects();
    EXPECT_EQ(EffectPool[1].vy, 512);
    EXPECT_EQ(EffectPool[1].y, y0 + 512);
}

class Transition : public GameFixture {};

TEST_F(Transition, HalvesMeetOnTheSixteenthFrameAndCloseOnTheSeventeenth) {
    start_transition(TRANSITION_CLOSING, 2);
    int frames = 0;
    while (transition_state != TRANSITION_CLOSED && frames < 100) {
        update_transition();
        ++frames;
        if (frames == 16) {
            EXPECT_EQ(TransitionStrips[0].y, 0);
            EXPECT_EQ(TransitionStrips[1].y, px(160));
            EXPECT_EQ(transition_state, TRANSITION_CLOSING);
        }
    }
    EXPECT_EQ(frames, 17);
}

TEST_F(Transition, StripsStopExactlyOneScreenOut) {
    start_transition(TRANSITION_OPENING, 1);
    EXPECT_EQ(TransitionStrips[0].direction, DIRECTION_LEFT);
    EXPECT_EQ(TransitionStrips[1].direction, DIRECTION_RIGHT);
    EXPECT_EQ(TransitionStrips[7].block.src_top, 7);
    EXPECT_EQ(TransitionStrips[7].block.src_bottom, 8);
    int frames = 0;
    while (transition_state != TRANSITION_OPEN && frames < 100) {
        update_transition();
        ++frames;
    }
    EXPECT_LE(frames, 41);
    for (int i = 0; i < TRANSITION_STRIPS; ++i)
        EXPECT_EQ(TransitionStrips[i].x, i % 2 ? px(240) : -px(240)) << i;
    clear_transition();
    EXPECT_EQ(transition_state, TRANSITION_IDLE);
}

class Digits : public GameFixture {};

TEST_F(Digits, NumbersAreLeftAlignedElevenPixelsApart) {
    draw_number(px(10), px(20), 0);
    EXPECT_EQ(DigitObjects[0].block.screen_x, 10);
    draw_number(px(10), px(20), 100);
    EXPECT_EQ(DigitObjects[1].block.screen_x, 10);
    EXPECT_EQ(DigitObjects[0].block.screen_x, 21);  // the last 0 drawn is at x + 11
    draw_number(px(10), px(20), 555);
    EXPECT_EQ(DigitObjects[5].block.screen_x, 10);  // drawn last, leftmost
    EXPECT_EQ(DigitObjects[5].block.screen_y, 20);
}

TEST_F(Digits, NegativeDrawsNothingAndLargeValuesShowAsNines) {
    DigitObjects[9].block.screen_x = -99;
    draw_number(px(10), px(20), -5);
    EXPECT_EQ(DigitObjects[9].block.screen_x, -99);
    draw_number(px(10), px(20), 123456);
    EXPECT_EQ(DigitObjects[9].block.screen_x, 10);
}

}  // namespace
