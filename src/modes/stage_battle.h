// The stage battle: three stages of floating cat faces, a ship with ten
// shots per stage, chain scoring, the stage verdict and the result screens.
// Its objects live in namespace stage because the boss battle has objects of
// the same names.
#pragma once

#include <cstdint>

#include "objects/effects.h"
#include "objects/game_object.h"
#include "platform/messages.h"

namespace stage {

enum StagePhase : int32_t {
    PHASE_INTRO = 0,
    PHASE_PLAY = 1,
    PHASE_GAME_OVER = 2,
    PHASE_CLEARED = 3,
    PHASE_PRIZE_REVEAL = 4,
    PHASE_RETRY = 5,
};

enum StageVerdict : int32_t {
    VERDICT_PLAYING = 1,
    VERDICT_OUT_OF_SHOTS = 2,
    VERDICT_STAGE_CLEARED = 3,
    VERDICT_BOSS_EARNED = 4,
};

enum EnemyKind : int32_t {
    ENEMY_SWEEPER = 0,
    ENEMY_JITTERER = 1,
    ENEMY_ORBITER = 2,
};

constexpr int ENEMY_SLOTS = 19;
constexpr int SHOTS_PER_STAGE = 10;
constexpr int RESULT_LINES = 6;
// A stage-3 total (score plus shots left) of this much earns the boss battle.
constexpr int BOSS_TOTAL = 66;

// The mode's objects, rebuilt by InitStage on every entry.
extern GameObject player;  // stock = shots left, state 1 while a shot is out
extern GameObject shot;    // chain = enemies hit by the current shot
extern GameObject shot_icons[SHOTS_PER_STAGE];
extern GameObject shots_label;
extern GameObject enemies[ENEMY_SLOTS];
extern GameObject banner;
extern GameObject prompt;  // its flag arms Space in every end phase
extern GameObject prize_caption;
extern GameObject result_lines[RESULT_LINES];
extern GameObject score_label;
extern ParticleBurst hit_burst;
extern ParticleBurst death_burst;

// The loop's state, kept beside the objects so the runner can read it.
extern int32_t phase;
extern int32_t close_counter;
extern int32_t hold_counter;
extern int32_t tally_timer;

void InitStage();
// The current phase's work for one frame: the next mode when the mode ends
// here, or -1 to draw the frame and go on.
int RunStagePhase();
// Tests the flying shot against the living enemies and scores each hit.
void ScoreHits();

// Ship and shot.
void BuildShip();
void BuildShot();
void BuildShotRow();
void BuildHitBurst();
void ControlPlayer();
void UpdateShot();

// Enemies.
int EnemiesForStage(int stage);
void BuildEnemies();
void BuildDeathBurst();
void UpdateSweeper(GameObject& enemy);
void UpdateJitterer(GameObject& enemy);
void UpdateOrbiter(GameObject& enemy);
void AnimateTaunt(GameObject& enemy);

// Verdict and result screens.
void BuildResultObjects();
void BuildScoreLabel();
void SetUpClearBanner();
void SlideBanner();
// The reward band (0 to 8) for a stage-3 total, or -1 when it earns the boss.
int RewardBand(int total);
StageVerdict JudgeStage();
void BlinkPrompt(GameObject& blinker);
void RevealFinalResult();
void RunPrizeReveal();
void DrawScoreHud();

}  // namespace stage
