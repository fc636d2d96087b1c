// The boss battle's local rules, run in-process: the bomb's flight, a spent
// beam pool, the boss's corners, the first hit, the record. The golden games
// never reach these edges, so only a rule can say what is right there.
#include <gtest/gtest.h>

#include <cmath>

#include "hosts/headless/headless_host.h"
#include "modes/boss_battle.h"
#include "platform/play_data.h"
#include "services/game_state.h"
#include "services/templates.h"

// Inside the mode's namespace, `boss` names the boss itself.
namespace boss {
namespace {

class BossRules : public ::testing::Test {
protected:
    void SetUp() override {
        install_headless_host(HeadlessConfig{});
        fill_template_table();
        init_effects();
        InitBossBattle();
    }
    // Runs a bomb's updates and moves until its state changes.
    static int frames_in_state(GameObject& bomb) {
        const int state = bomb.state;
        int frames = 0;
        while (bomb.state == state && frames < 500) {
            UpdateLaserBomb(bomb);
            move_object(bomb);
            ++frames;
        }
        return frames;
    }
    static GameObject& bomb_about_to_fire(int slot, int y_px) {
        GameObject& bomb = laser_bombs[slot];
        bomb.visible = 1;
        bomb.state = 3;
        bomb.frame = 3;
        bomb.frame_timer = 13;
        bomb.x = px(50);
        bomb.y = px(y_px);
        return bomb;
    }
};

TEST_F(BossRules, BombArcsBouncesAndStopsOnItsThirtyThirdFallingFrame) {
    boss.x = px(100);
    boss.y = px(100);
    boss.vx = boss.vy = 0;
    GameObject& bomb = laser_bombs[0];
    bomb.state = 1;
    EXPECT_EQ(frames_in_state(bomb), 1);
    EXPECT_EQ(bomb.y, px(100) - 8 - 0x600);
    EXPECT_EQ(frames_in_state(bomb), 81);
    EXPECT_EQ(bomb.state, 3);
    EXPECT_EQ(bomb.vy, 0);

    // Thrown from near the top it counts only once back inside the field.
    boss.y = px(20);
    GameObject& high = laser_bombs[1];
    high.state = 1;
    frames_in_state(high);
    EXPECT_GT(frames_in_state(high), 81);

    // The sides turn it back; half of it may hang over the right edge.
    bomb.state = 2;
    bomb.x = px(223);
    bomb.y = px(100);
    bomb.vx = px(3);
    bomb.vy = -0x200;
    bomb.timer = 0.0;
    UpdateLaserBomb(bomb);
    EXPECT_EQ(bomb.x, px(224));
    EXPECT_EQ(bomb.vx, -px(3));
    bomb.x = px(1);
    UpdateLaserBomb(bomb);
    EXPECT_EQ(bomb.x, 0);
    EXPECT_EQ(bomb.vx, px(3));
}

TEST_F(BossRules, SegmentPoolThatRunsOutShortensOrSkipsTheBeam) {
    for (int i = 0; i < SEGMENT_COUNT - 6; ++i) {
        laser_segments[i].owner = 9;
        laser_segments[i].flag = laser_segments[i].frame = 1;
    }
    GameObject& bomb = bomb_about_to_fire(0, 100);
    UpdateLaserBomb(bomb);
    EXPECT_EQ(LiveSegments(), SEGMENT_COUNT);
    EXPECT_EQ(laser_segments[SEGMENT_COUNT - 1].y, px(108 + 5 * 16));

    GameObject& late = bomb_about_to_fire(1, 150);
    UpdateLaserBomb(late);
    EXPECT_EQ(late.visible, 1) << "no beam: the bomb stays in sight";
    for (int k = 0; k < 12; ++k) UpdateLaserBomb(late);
    EXPECT_EQ(late.state, 0);
    EXPECT_EQ(laser_segments[0].owner, 9) << "a beam only touches its own pieces";
    EXPECT_EQ(laser_segments[0].frame, 1);
}

TEST_F(BossRules, CornerTurnsTheBossAwayVertically) {
    boss.timer = 7.0;
    boss.x = boss.y = px(1);
    boss.vx = boss.vy = -px(4);
    UpdateBoss();
    EXPECT_EQ(boss.x, 0);
    EXPECT_EQ(boss.y, 0);
    EXPECT_EQ(boss.direction, DIRECTION_DOWN);
    EXPECT_EQ(boss.timer, 0.0);

    boss.x = px(223);
    boss.y = px(183);
    boss.vx = boss.vy = px(4);
    UpdateBoss();
    EXPECT_EQ(boss.x, px(224));
    EXPECT_EQ(boss.y, px(184));
    EXPECT_EQ(boss.direction, DIRECTION_UP);
}

TEST_F(BossRules, FirstHitMakesBothSidesUntouchable) {
    shot.flag = 1;
    shot.x = boss.x = px(100);
    shot.y = boss.y = px(60);
    boss_bullets[0].flag = 1;
    boss_bullets[0].x = player.x;
    boss_bullets[0].y = player.y;
    TestBossBattleHits();
    EXPECT_EQ(boss.state, Hit);
    EXPECT_EQ(player.state, Ready);

    // A beam one pixel wide still strikes a ship across that column.
    InitBossBattle();
    GameObject& piece = laser_segments[5];
    piece.flag = 1;
    piece.x = player.x + px(4);
    piece.y = player.y;
    piece.hitbox_a.left = piece.hitbox_a.right = 8;
    TestBossBattleHits();
    EXPECT_EQ(player.state, Struck);
    EXPECT_EQ(boss.no_hit, 1);
}

TEST_F(BossRules, VictoryMarksTheRewardAndRaisesOnlyALowerBest) {
    score = 70;
    PlayData = PlayDataRecord{};
    PlayData.best_score = 120.0;
    RecordVictory();
    EXPECT_EQ(PlayData.rewards[9], 1);
    EXPECT_EQ(PlayData.best_score, 120.0);
    // A damaged best score is replaced rather than kept for ever.
    PlayData.best_score = std::nan("");
    RecordVictory();
    EXPECT_EQ(PlayData.best_score, 70.0);
    score = 0;
}

}  // namespace
}  // namespace boss
