// The stage battle's local rules, run in-process on its own objects: every
// reward band's edges, a fifteen-enemy chain, both arrows held, enemies at
// the walls. A golden game meets a few of these by chance; these say why.
#include <gtest/gtest.h>

#include "hosts/headless/headless_host.h"
#include "modes/stage_battle.h"
#include "objects/random.h"
#include "platform/play_data.h"
#include "services/game_state.h"
#include "services/keys.h"
#include "services/templates.h"

using namespace stage;

namespace {

class StageRules : public ::testing::Test {
protected:
    void SetUp() override {
        install_headless_host(HeadlessConfig{});
        fill_template_table();
        init_effects();
        set_random_seed(1);
        KeyState = 0;
        score = 0;
        stage_number = 1;
        PlayData = PlayDataRecord{};
        inject_save_fault(SaveFault::Open);  // the rules are judged without touching the disk
        InitStage();
    }
};

bool same_block(const DrawBlock& a, const DrawBlock& b) {
    return a.surface == b.surface && a.src_left == b.src_left && a.src_top == b.src_top &&
           a.src_right == b.src_right && a.src_bottom == b.src_bottom;
}

}  // namespace

TEST_F(StageRules, StageThreeTotalsFallIntoTheirBandsAndSixtySixEarnsTheBoss) {
    stage_number = 3;
    for (GameObject& e : enemies) e.state = 2;
    const int edges[] = {40, 47, 53, 56, 58, 60, 62, 64, 65};
    const int rewards[] = {7, 1, 2, 8, 0, 6, 4, 5, 3};
    for (int band = 0; band < 9; ++band) {
        for (int total : {edges[band], (band ? edges[band - 1] : 0) + 1}) {
            PlayData = PlayDataRecord{};
            player.stock = 4;  // shots not fired count toward the total
            score = total - 4;
            EXPECT_EQ(JudgeStage(), VERDICT_STAGE_CLEARED) << total;
            for (int b = 0; b < 10; ++b) EXPECT_EQ(PlayData.rewards[b], b == band ? 1 : 0) << total;
            EXPECT_TRUE(same_block(result_lines[3].block, TemplateTable[19 + rewards[band]]));
            EXPECT_TRUE(same_block(result_lines[5].block, TemplateTable[29 + rewards[band]]));
        }
    }
    PlayData = PlayDataRecord{};
    player.stock = 5;
    score = 61;
    EXPECT_EQ(JudgeStage(), VERDICT_BOSS_EARNED);
    for (int b = 0; b < 10; ++b) EXPECT_EQ(PlayData.rewards[b], 0);
}

TEST_F(StageRules, AShotThroughFifteenEnemiesScoresTheChainAndItsPictures) {
    for (int i = 0; i < ENEMY_SLOTS; ++i) {
        enemies[i].state = i < 15 ? 0 : 2;
        enemies[i].x = px(100);
        enemies[i].y = px(200);
    }
    shot.flag = 1;
    shot.x = px(100);
    shot.y = px(200);
    ScoreHits();
    EXPECT_EQ(shot.chain, 15);
    EXPECT_EQ(score, 71);  // 1 2 2 3 3 4 4 5 5 6 6 7 7 8 8
    for (int k = 1; k <= 15; ++k)
        EXPECT_TRUE(same_block(EffectPool[k].block, EffectTemplate[5 + k / 2])) << k;
    ScoreHits();  // the hit ones are no longer tested
    EXPECT_EQ(score, 71);
}

TEST_F(StageRules, ShipSteeringQuirksAndSideBounds) {
    KeyState = KEY_LEFT | KEY_RIGHT;
    ControlPlayer();
    EXPECT_EQ(player.vx, 1536);
    KeyState = KEY_LEFT;
    ControlPlayer();
    KeyState = KEY_UP;  // another key keeps it sliding
    ControlPlayer();
    EXPECT_EQ(player.vx, -1536);
    for (int i = 0; i < 80; ++i) {
        ControlPlayer();
        move_object(player);
    }
    EXPECT_EQ(player.x, 0);
    EXPECT_EQ(player.vx, 0);
    KeyState = KEY_RIGHT;
    for (int i = 0; i < 80; ++i) {
        ControlPlayer();
        move_object(player);
    }
    EXPECT_EQ(player.x, px(224));
    EXPECT_EQ(player.vx, 0);

    // The shot starts where the ship will stand, a hair (8/512) above it.
    KeyState = KEY_SPACE | KEY_LEFT;
    ControlPlayer();
    UpdateShot();
    EXPECT_EQ(shot.x, px(224) - 1536);
    EXPECT_EQ(shot.y, px(280) - 8);
}

TEST_F(StageRules, EnemyMotionAtTheEdges) {
    GameObject& sweeper = enemies[0];
    sweeper.state = 0;
    sweeper.direction = DIRECTION_RIGHT;
    sweeper.x = px(219);
    sweeper.vx = 1000;
    UpdateSweeper(sweeper);
    EXPECT_EQ(sweeper.x, px(220));
    EXPECT_EQ(sweeper.vx, 0);
    EXPECT_EQ(sweeper.direction, DIRECTION_LEFT);
    UpdateSweeper(sweeper);
    EXPECT_EQ(sweeper.vx, -64);  // starts again from rest

    GameObject& jitterer = enemies[1];
    jitterer.state = 0;
    jitterer.y = -px(30);
    UpdateJitterer(jitterer);
    EXPECT_EQ(jitterer.y, 0);

    // An orbiter falling in fast below the centre only slows by 48 a frame.
    GameObject& orbiter = enemies[2];
    orbiter.state = 0;
    orbiter.x = px(120);
    orbiter.y = px(200);
    orbiter.vx = -4000;
    orbiter.vy = 4096;
    UpdateOrbiter(orbiter);
    EXPECT_EQ(orbiter.vx, -3584);
    EXPECT_EQ(orbiter.vy, 4048);
}

TEST_F(StageRules, TakingSpaceReleasesEveryKeyButKeepsAQuitRequest) {
    phase = PHASE_GAME_OVER;
    prompt.flag = 1;
    prompt.visible = 1;
    KeyState = KEY_SPACE | KEY_LEFT | KEY_QUIT;
    EXPECT_EQ(RunStagePhase(), -1);
    EXPECT_EQ(phase, PHASE_RETRY);
    EXPECT_EQ(KeyState, KEY_QUIT);
}
