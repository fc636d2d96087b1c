// The boss's dashes and edges, the ship's steering, shots and death, and
// the judgement, run in-process.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "modes/boss_battle.h"
#include "objects/effects.h"
#include "platform/headless_host.h"
#include "platform/play_data.h"
#include "platform/sound.h"
#include "shell/game_state.h"
#include "shell/keys.h"
#include "shell/templates.h"

// Inside the mode's namespace, `boss` names the boss itself.
namespace boss {
namespace {

std::vector<int> sounds;

void note_sound(int slot, void*) {
    sounds.push_back(slot);
}

class BossMoves : public ::testing::Test {
protected:
    void SetUp() override {
        HeadlessConfig config;
        config.observer.sound = note_sound;
        install_headless_host(config);
        fill_template_table();
        init_effects();
        InitBossBattle();
        KeyState = 0;
        sounds.clear();
    }
    void TearDown() override { KeyState = 0; }

    static void boss_frame() {
        UpdateBoss();
        move_object(boss);
    }
    static void ship_frame() {
        ControlBossPlayer();
        UpdateBossShot();
        move_object(player);
        move_object(shot);
    }
};

TEST_F(BossMoves, CornerTurnsTheBossAwayVerticallyAndRestartsTheCycle) {
    boss.timer = 7.0;
    boss.direction = DIRECTION_LEFT;
    boss.x = px(1);
    boss.vx = -px(4);
    boss.y = px(1);
    boss.vy = -px(4);
    UpdateBoss();
    EXPECT_EQ(boss.x, 0);
    EXPECT_EQ(boss.y, 0);
    EXPECT_EQ(boss.vx, 0);
    EXPECT_EQ(boss.vy, 0);
    EXPECT_EQ(boss.direction, DIRECTION_DOWN);
    EXPECT_EQ(boss.timer, 0.0);

    boss.x = px(223);
    boss.vx = px(4);
    boss.y = px(183);
    boss.vy = px(4);
    UpdateBoss();
    EXPECT_EQ(boss.x, px(224));
    EXPECT_EQ(boss.y, px(184));
    EXPECT_EQ(boss.direction, DIRECTION_UP);
}

TEST_F(BossMoves, DashCutShortByAnEdgeDoesNotFire) {
    boss.y = px(50);
    boss.vy = 0;
    boss.x = px(20);
    boss.direction = DIRECTION_LEFT;
    int edge_frame = -1, volley_frame = -1;
    for (int f = 0; f < 60 && volley_frame < 0; ++f) {
        boss_frame();
        if (edge_frame < 0 && boss.x == 0) edge_frame = f;
        if (boss_bullets[0].state == 1) volley_frame = f;
    }
    ASSERT_GE(edge_frame, 0);
    EXPECT_EQ(volley_frame, edge_frame + 18);
    EXPECT_EQ(laser_bombs[0].state, 1);
    EXPECT_EQ(sounds, (std::vector<int>{SOUND_SHOT, SOUND_SHOT}));
}

TEST_F(BossMoves, FullWeaponPoolsLaunchNothingAndStaySilent) {
    for (GameObject& b : boss_bullets) b.state = 2;
    for (GameObject& b : laser_bombs) b.state = 3;
    laser_bombs[6].state = 0;
    boss.y = px(50);
    boss.timer = 17.0;
    UpdateBoss();
    EXPECT_EQ(boss.timer, 0.0);
    EXPECT_EQ(laser_bombs[6].state, 1);
    EXPECT_EQ(sounds, std::vector<int>{SOUND_SHOT});
}

TEST_F(BossMoves, HitBossShakesExplodesThirtyFourTimesAndIsGone) {
    boss.x = px(100);
    boss.y = px(60);
    boss.vx = px(3);
    player.state = ShotOut;
    boss.state = Hit;
    UpdateBoss();
    EXPECT_EQ(boss.state, Exploding);
    EXPECT_EQ(boss.vx, 0);
    EXPECT_EQ(player.state, Frozen);
    int frames = 1;
    while (boss.state == Exploding && frames < 400) {
        boss_frame();
        ++frames;
        if (boss.toggle == 0) {
            EXPECT_EQ(boss.x, px(100));
            EXPECT_EQ(boss.y, px(60));
        }
        EXPECT_LE(std::abs(boss.x - px(100)), px(12));
    }
    EXPECT_EQ(frames, 1 + 204);
    EXPECT_EQ(static_cast<int>(sounds.size()), 35);
    UpdateBoss();
    EXPECT_EQ(boss.visible, 0);
    EXPECT_EQ(JudgeBossBattle(), Fighting) << "the ship is frozen until the boss is gone";
    UpdateBoss();
    EXPECT_EQ(player.state, Ready);
    player.stock = 0;
    EXPECT_EQ(JudgeBossBattle(), BossDefeated) << "victory is judged before the stock";
}

TEST_F(BossMoves, SteeringFollowsTheKeysHeld) {
    KeyState = KEY_LEFT | KEY_RIGHT;
    ship_frame();
    EXPECT_EQ(player.vx, 0x600);

    // Left let go while Space stays held: the ship keeps going left.
    KeyState = KEY_LEFT | KEY_SPACE;
    ship_frame();
    KeyState = KEY_SPACE;
    const Fixed9 before = player.x;
    ship_frame();
    EXPECT_EQ(player.x, before - 0x600);
    KeyState = 0;
    ship_frame();
    EXPECT_EQ(player.vx, 0);

    player.x = px(224);
    KeyState = KEY_RIGHT;
    ship_frame();
    EXPECT_EQ(player.x, px(224));
    EXPECT_EQ(player.vx, 0);
}

TEST_F(BossMoves, ShotsAreCountedOffAsTheyLeaveAndNeverTakenWithoutStock) {
    KeyState = KEY_SPACE;
    ship_frame();
    EXPECT_EQ(player.state, ShotOut);
    EXPECT_EQ(shot.y, player.y - 8 - 0x2000);
    EXPECT_EQ(shot_icons[2].visible, 0);
    EXPECT_EQ(shot_icons[1].visible, 1);
    int shots = 1, frame = 1, first_ready = -1;
    while (frame < 200) {
        ship_frame();
        ++frame;
        if (first_ready < 0 && player.state == Ready) first_ready = frame;
        if (player.state == ShotOut && shot.state == 2 && shot.y == player.y - 8 - 0x2000) ++shots;
    }
    EXPECT_EQ(first_ready, 19) << "the 18th frame after firing ends the shot";
    EXPECT_EQ(shots, 3);
    EXPECT_EQ(player.stock, 0);
    EXPECT_EQ(player.state, Ready);
    EXPECT_EQ(static_cast<int>(sounds.size()), 3);
    EXPECT_EQ(JudgeBossBattle(), PlayerLost);
    EXPECT_EQ(boss.vy, 0x280);
}

TEST_F(BossMoves, StruckShipExplodesHidesAndDiesFortyNineFramesLater) {
    player.state = Struck;
    ControlBossPlayer();
    EXPECT_EQ(player.state, Dying);
    EXPECT_EQ(player.visible, 0);
    EXPECT_EQ(sounds, std::vector<int>{SOUND_BOM});
    EXPECT_GT(live_particles(), 0);
    int frames = 0;
    while (player.state == Dying && frames < 100) {
        EXPECT_EQ(JudgeBossBattle(), Fighting);
        ControlBossPlayer();
        ++frames;
    }
    EXPECT_EQ(frames, 50) << "49 frames of dying, Dead on the next";
    EXPECT_EQ(JudgeBossBattle(), PlayerLost);
}

TEST_F(BossMoves, FirstHitMakesBothSidesUntouchable) {
    // Shot, boss and a bullet all overlapping the ship's column.
    player.x = px(100);
    shot.flag = 1;
    shot.x = px(100);
    shot.y = px(60);
    boss.x = px(100);
    boss.y = px(60);
    boss_bullets[0].flag = 1;
    boss_bullets[0].x = px(100);
    boss_bullets[0].y = player.y;
    TestBossBattleHits();
    EXPECT_EQ(boss.state, Hit);
    EXPECT_EQ(player.state, Ready);
    EXPECT_EQ(boss_bullets[0].flag, 1);

    // A beam one pixel wide still strikes a ship across that column.
    InitBossBattle();
    GameObject& piece = laser_segments[5];
    piece.flag = 1;
    piece.x = player.x + px(4);  // column at player.x + 12 px, inside 3..13
    piece.y = player.y;
    piece.hitbox_a.left = 8;
    piece.hitbox_a.right = 8;
    TestBossBattleHits();
    EXPECT_EQ(player.state, Struck);
    EXPECT_EQ(boss.no_hit, 1);
    EXPECT_EQ(piece.flag, 1);
}

TEST_F(BossMoves, VictoryMarksTheRewardAndRaisesOnlyALowerBest) {
    score = 70;
    PlayData = PlayDataRecord{};
    PlayData.best_score = 120.0;
    RecordVictory();
    EXPECT_EQ(PlayData.rewards[9], 1);
    EXPECT_EQ(PlayData.best_score, 120.0);

    PlayData.best_score = 12.0;
    RecordVictory();
    EXPECT_EQ(PlayData.best_score, 70.0);

    // A damaged best score is replaced rather than kept for ever.
    PlayData.best_score = std::nan("");
    RecordVictory();
    EXPECT_EQ(PlayData.best_score, 70.0);
    score = 0;
}

}  // namespace
}  // namespace boss
