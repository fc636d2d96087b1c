// The boss battle: one boss, its bullets and laser bombs, the three-shot
// ship, the falling rocks behind them. Everything lives in fixed storage in
// this namespace, apart from the stage battle's objects of the same names.
#pragma once

#include <cstdint>

#include "modes/ship_and_hud.h"
#include "objects/effects.h"
#include "objects/game_object.h"
#include "platform/messages.h"

namespace boss {

enum BossPhase { BossIntro = 0, BossFight = 1, BossLost = 2, BossWon = 3 };
enum BossVerdict { Fighting = 1, PlayerLost = 2, BossDefeated = 3 };

// The ship's `state`.
enum PlayerState { Ready = 0, ShotOut = 1, Struck = 2, Dying = 3, Dead = 4, Frozen = 5 };
// The boss's `state`.
enum BossState { Roaming = 0, Hit = 1, Exploding = 2, Vanishing = 3, Gone = 4 };

constexpr int ROCK_COUNT = 64;
constexpr int BULLET_COUNT = 10;
constexpr int BOMB_COUNT = 10;
constexpr int SEGMENT_COUNT = 96;
constexpr int ICON_COUNT = 10;
constexpr int SHOTS_PER_BATTLE = 3;

// Field limits shared by the ship, the boss and the weapons.
constexpr Fixed9 FIELD_BOTTOM_LIMIT = px(304);  // past it a falling thing is gone
constexpr Fixed9 SCREEN_BOTTOM = px(320);

extern GameObject rocks[ROCK_COUNT];
extern GameObject player;
extern GameObject shot;
extern GameObject boss;
extern GameObject boss_bullets[BULLET_COUNT];
extern GameObject laser_bombs[BOMB_COUNT];
extern GameObject laser_segments[SEGMENT_COUNT];
extern GameObject shots_label;
extern GameObject shot_icons[ICON_COUNT];
extern GameObject result_picture;
extern GameObject end_wait;
extern GameObject score_label;

// Where the boss was when it was hit; its shake keeps returning there.
extern Fixed9 boss_anchor_x;
extern Fixed9 boss_anchor_y;

extern ParticleBurst blast_burst;
extern ParticleBurst trail_burst;
extern ParticleBurst spark_burst;

extern int phase;           // a BossPhase
extern int rocks_released;  // rocks the intro has set going, 0 to 64
extern int release_timer;   // frames since the last rock was released

// The mode (boss_battle.cpp).
void InitBossBattle();
int JudgeBossBattle();
void UpdateBackdropRock(GameObject& rock);
void TickDefeatWait(GameObject& wait);
void TickVictoryWait(GameObject& wait);
void DrawBossScoreHud();
// The first-hit tests of a fight frame, at the positions before the move.
void TestBossBattleHits();
// Folds the score into the best score and marks the last reward.
void RecordVictory();

// The ship (boss_ship.cpp).
void InitBossShip();
void ControlBossPlayer();
void UpdateBossShot();

// The boss (boss_enemy.cpp).
void InitBoss();
void UpdateBoss();

// Bullets and laser bombs (boss_weapons.cpp).
void InitBossWeapons();
void UpdateBossBullet(GameObject& bullet);
void UpdateLaserBomb(GameObject& bomb);
int LiveSegments();

}  // namespace boss
