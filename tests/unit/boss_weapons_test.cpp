// The boss's bullets and laser bombs, run in-process: the bomb's flight,
// the beam's pieces and their narrowing, and a segment pool that runs out.
#include <gtest/gtest.h>

#include <vector>

#include "modes/boss_battle.h"
#include "objects/effects.h"
#include "platform/headless_host.h"
#include "platform/sound.h"
#include "shell/templates.h"

// Inside the mode's namespace, `boss` names the boss itself.
namespace boss {
namespace {

std::vector<int> sounds;

void note_sound(int slot, void*) {
    sounds.push_back(slot);
}

class BossWeapons : public ::testing::Test {
protected:
    void SetUp() override {
        HeadlessConfig config;
        config.observer.sound = note_sound;
        install_headless_host(config);
        fill_template_table();
        init_effects();
        InitBossBattle();
        sounds.clear();
    }

    // One frame of a bomb: its update, then the loop's move.
    static void bomb_frame(GameObject& bomb) {
        UpdateLaserBomb(bomb);
        move_object(bomb);
    }

    // A bomb whose count-down is about to end, so its next update fires.
    static GameObject& bomb_about_to_fire(int slot, int x_px, int y_px) {
        GameObject& bomb = laser_bombs[slot];
        bomb.state = 3;
        bomb.frame = 3;
        bomb.frame_timer = 13;
        bomb.visible = 1;
        bomb.x = px(x_px);
        bomb.y = px(y_px);
        return bomb;
    }

    static int pieces_of(const GameObject& bomb) {
        int n = 0;
        for (const GameObject& s : laser_segments) n += s.flag == 1 && s.owner == bomb.tag;
        return n;
    }
};

TEST_F(BossWeapons, BombArcsUpFallsAndStopsOnItsEightyFirstFrame) {
    boss.x = px(100);
    boss.y = px(100);
    boss.vx = 0;
    boss.vy = 0;
    GameObject& bomb = laser_bombs[0];
    bomb.state = 1;
    bomb_frame(bomb);
    EXPECT_EQ(bomb.state, 2);
    EXPECT_EQ(bomb.y, px(100) - 8 - 0x600);
    EXPECT_EQ(bomb.visible, 1);
    const Fixed9 start_x = px(100);

    Fixed9 top = bomb.y;
    int frames = 1;
    while (bomb.state == 2 && frames < 200) {
        bomb_frame(bomb);
        ++frames;
        if (bomb.y < top) top = bomb.y;
    }
    EXPECT_EQ(bomb.state, 3);
    EXPECT_EQ(frames, 82) << "launch frame plus 81";
    EXPECT_EQ((px(100) - top) / 512, 73);
    EXPECT_EQ(bomb.vx, 0);
    EXPECT_EQ(bomb.vy, 0);
    // Sideways drift of whole pixels per frame, -3 to 3.
    EXPECT_EQ((bomb.x - start_x) % 512, 0);
}

TEST_F(BossWeapons, BombAboveTheTopCountsOnlyOnceBackInside) {
    boss.x = px(100);
    boss.y = px(20);
    GameObject& bomb = laser_bombs[0];
    bomb.state = 1;
    int frames = 0;
    bool went_above = false;
    while (bomb.state != 3 && frames < 300) {
        bomb_frame(bomb);
        ++frames;
        went_above = went_above || bomb.y < 0;
        if (bomb.y <= 0) {
            EXPECT_EQ(bomb.timer, 0.0);
        }
    }
    EXPECT_TRUE(went_above);
    EXPECT_GT(frames, 82);
    EXPECT_EQ(bomb.state, 3);
}

TEST_F(BossWeapons, BombBouncesOffBothSidesAndLeavesThroughTheBottom) {
    GameObject& bomb = laser_bombs[0];
    bomb.state = 2;
    bomb.y = px(100);
    bomb.vy = -0x200;
    bomb.x = px(223);
    bomb.vx = px(3);
    UpdateLaserBomb(bomb);
    EXPECT_EQ(bomb.x, px(224));
    EXPECT_EQ(bomb.vx, -px(3));

    bomb.x = px(1);
    bomb.vx = -px(2);
    UpdateLaserBomb(bomb);
    EXPECT_EQ(bomb.x, 0);
    EXPECT_EQ(bomb.vx, px(2));

    // Falling out of the field before it could stop frees the slot.
    bomb.y = px(300);
    bomb.vy = px(5);
    bomb.timer = 0.0;
    UpdateLaserBomb(bomb);
    EXPECT_EQ(bomb.state, 0);
    EXPECT_EQ(bomb.visible, 0);
    EXPECT_EQ(bomb.x, 0);
}

TEST_F(BossWeapons, CountDownShowsThreePicturesThenFires) {
    GameObject& bomb = laser_bombs[2];
    bomb.state = 3;
    bomb.visible = 1;
    bomb.x = px(40);
    bomb.y = px(100);
    const int32_t top = bomb.block.src_top;
    int frames = 0;
    while (bomb.state == 3 && frames < 100) {
        UpdateLaserBomb(bomb);
        ++frames;
        if (frames == 14) {
            EXPECT_EQ(bomb.block.src_top, top + 16);
        }
        if (frames == 42) {
            EXPECT_EQ(bomb.block.src_top, top + 48);
        }
    }
    EXPECT_EQ(frames, 56);
    EXPECT_EQ(bomb.state, 4);
    EXPECT_EQ(bomb.block.src_top, TemplateTable[16].src_top);
    EXPECT_EQ(sounds, std::vector<int>{SOUND_LASER});
}

TEST_F(BossWeapons, BeamFromOneHundredPixelsHasFifteenPiecesThatNarrowAndGo) {
    GameObject& bomb = bomb_about_to_fire(4, 50, 100);
    UpdateLaserBomb(bomb);
    ASSERT_EQ(bomb.state, 4);
    EXPECT_EQ(bomb.visible, 0);
    EXPECT_EQ(live_segments(), 15);
    const GameObject& head = laser_segments[0];
    EXPECT_EQ(head.y, px(108));
    EXPECT_EQ(head.block.src_top, 56);
    EXPECT_EQ(laser_segments[14].y, px(332));
    EXPECT_EQ(laser_segments[14].block.src_top, 72);
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(laser_segments[i].owner, 5);
        EXPECT_EQ(laser_segments[i].x, px(50));
        EXPECT_EQ(laser_segments[i].hitbox_a.left, 7);
        EXPECT_EQ(laser_segments[i].hitbox_a.right, 9);
    }

    // A step every third frame: wider, then one pixel column, then fading.
    const struct { int left, right, src_left; } steps[] = {{6, 9, 80}, {8, 8, 96}, {8, 8, 112}};
    int frame = 0;
    for (const auto& step : steps) {
        for (int k = 0; k < 3; ++k) UpdateLaserBomb(bomb), ++frame;
        EXPECT_EQ(head.hitbox_a.left, step.left) << frame;
        EXPECT_EQ(head.hitbox_a.right, step.right);
        EXPECT_EQ(head.block.src_left, step.src_left);
        EXPECT_EQ(laser_segments[14].block.src_left, step.src_left);
        EXPECT_EQ(live_segments(), 15);
    }
    for (int k = 0; k < 2; ++k) UpdateLaserBomb(bomb);
    EXPECT_EQ(live_segments(), 15) << "still there on the 11th frame after firing";
    UpdateLaserBomb(bomb);
    EXPECT_EQ(live_segments(), 0);
    EXPECT_EQ(bomb.state, 0);
    EXPECT_EQ(head.visible, 0);
    EXPECT_EQ(head.owner, 0);
}

TEST_F(BossWeapons, SegmentPoolThatRunsOutShortensOrSkipsTheBeam) {
    // Another beam holds all but six pieces.
    for (int i = 0; i < SEGMENT_COUNT - 6; ++i) {
        laser_segments[i].flag = 1;
        laser_segments[i].frame = 1;
        laser_segments[i].owner = 9;
    }
    GameObject& bomb = bomb_about_to_fire(0, 10, 100);
    UpdateLaserBomb(bomb);
    EXPECT_EQ(pieces_of(bomb), 6);
    EXPECT_EQ(laser_segments[SEGMENT_COUNT - 1].y, px(108 + 5 * 16));

    // No free piece at all: the bomb stays in sight and plays its steps.
    GameObject& second = bomb_about_to_fire(1, 90, 150);
    UpdateLaserBomb(second);
    EXPECT_EQ(second.state, 4);
    EXPECT_EQ(second.visible, 1);
    EXPECT_EQ(pieces_of(second), 0);
    for (int k = 0; k < 12; ++k) UpdateLaserBomb(second);
    EXPECT_EQ(second.state, 0);
    // Neither beam touched the other's pieces.
    EXPECT_EQ(laser_segments[0].frame, 1);
    EXPECT_EQ(laser_segments[0].owner, 9);
    EXPECT_EQ(pieces_of(bomb), 6);
}

TEST_F(BossWeapons, BulletFallsBlinkingFromTheBossAndLeavesBelowTheField) {
    boss.x = px(30);
    boss.y = px(40);
    boss.vx = 0x100;
    boss.vy = -0x80;
    GameObject& bullet = boss_bullets[3];
    bullet.state = 1;
    UpdateBossBullet(bullet);
    EXPECT_EQ(bullet.x, px(30) + 0x100);
    EXPECT_EQ(bullet.y, px(40) - 0x80 - 8);
    EXPECT_EQ(bullet.flag, 1);
    EXPECT_EQ(bullet.block.src_left, 32);
    EXPECT_EQ(bullet.block.src_right, 46);
    move_object(bullet);

    std::vector<int> lefts;
    int frames = 0;
    while (bullet.state == 2 && frames < 100) {
        UpdateBossBullet(bullet);
        move_object(bullet);
        lefts.push_back(bullet.block.src_left);
        ++frames;
    }
    ASSERT_GE(lefts.size(), 8u);
    EXPECT_EQ(lefts[2], 32);
    EXPECT_EQ(lefts[3], 48);
    EXPECT_EQ(lefts[6], 48);
    EXPECT_EQ(lefts[7], 32);
    EXPECT_EQ(bullet.state, 0);
    EXPECT_EQ(bullet.visible, 0);
    EXPECT_EQ(bullet.flag, 0);
}

}  // namespace
}  // namespace boss
