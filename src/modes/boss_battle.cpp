// The boss battle's loop: the intro with the falling rocks, the fight and
// its one-hit judgement, and the defeat and victory endings.
#include "modes/boss_battle.h"

#include "modes/modes.h"
#include "modes/ship_and_hud.h"
#include "objects/digits.h"
#include "objects/random.h"
#include "objects/transition.h"
#include "platform/play_data.h"
#include "platform/resource_list.h"
#include "services/frame_end.h"
#include "services/game_state.h"
#include "services/keys.h"
#include "services/present.h"
#include "services/templates.h"
#include "services/tune_switch.h"

namespace boss {

GameObject rocks[ROCK_COUNT];
GameObject player;
GameObject shot;
GameObject boss;
GameObject boss_bullets[BULLET_COUNT];
GameObject laser_bombs[BOMB_COUNT];
GameObject laser_segments[SEGMENT_COUNT];
GameObject shots_label;
GameObject shot_icons[ICON_COUNT];
GameObject result_picture;
GameObject end_wait;
GameObject score_label;
Fixed9 boss_anchor_x;
Fixed9 boss_anchor_y;
ParticleBurst blast_burst;
ParticleBurst trail_burst;
ParticleBurst spark_burst;
int phase;
int rocks_released;
int release_timer;

namespace {

constexpr double DEFEAT_WAIT = 24.0;    // Space counts from the 25th frame
constexpr double VICTORY_WAIT = 162.0;  // the screen closes on the 163rd frame
constexpr double CLOSED_WAIT = 128.0;
constexpr Fixed9 ROCK_START_Y = -px(32);
constexpr Fixed9 SINK_AWAY_SPEED = px_frac(5, 4);
constexpr int REWARD_BOSS = 9;

void intro_work() {
    if (rocks_released >= ROCK_COUNT) phase = BossFight;
    move_object(boss);
    for (int i = 0; i < rocks_released; ++i) {
        UpdateBackdropRock(rocks[i]);
        move_object(rocks[i]);
    }
    if (release_timer > 4) {
        rocks_released += 1;
        release_timer = 0;
    } else {
        release_timer += 1;
    }
}

void move_weapons() {
    for (GameObject& bullet : boss_bullets) move_object(bullet);
    for (GameObject& bomb : laser_bombs) move_object(bomb);
    for (GameObject& piece : laser_segments) move_object(piece);
}

void win() {
    stop_tune();
    result_picture.block.src_left = 0;
    result_picture.block.src_top = 320;
    result_picture.block.src_right = 240;
    result_picture.block.src_bottom = 552;
    result_picture.visible = 1;
    RecordVictory();
    save_play_data();  // a failed save is not reported; the victory goes on
    start_tune(tune_name("VBTUNE_END1"));
    phase = BossWon;
}

void fight_work() {
    for (GameObject& rock : rocks) UpdateBackdropRock(rock);
    ControlBossPlayer();
    UpdateBossShot();
    UpdateBoss();
    for (GameObject& bullet : boss_bullets) UpdateBossBullet(bullet);
    for (GameObject& bomb : laser_bombs) UpdateLaserBomb(bomb);

    TestBossBattleHits();

    for (GameObject& rock : rocks) move_object(rock);
    move_object(player);
    move_object(shot);
    move_object(boss);
    move_weapons();

    switch (JudgeBossBattle()) {
        case PlayerLost:
            switch_tune(tune_name("VBTUNE_END2"));
            result_picture.visible = 1;
            phase = BossLost;
            break;
        case BossDefeated:
            win();
            break;
        default:
            break;
    }
}

// After the verdict the attacks play out: the ship and the boss are no
// longer updated, and only the boss, the rocks and the weapons move.
void play_out() {
    for (GameObject& rock : rocks) UpdateBackdropRock(rock);
    UpdateBossShot();
    for (GameObject& bullet : boss_bullets) UpdateBossBullet(bullet);
    for (GameObject& bomb : laser_bombs) UpdateLaserBomb(bomb);
    for (GameObject& rock : rocks) move_object(rock);
    move_object(boss);
    move_weapons();
}

// Returns the mode to leave for, or -1 to stay.
int lost_work() {
    TickDefeatWait(end_wait);
    if (end_wait.flag == 1 && (KeyState & KEY_SPACE)) {
        take_key_press();
        return MODE_TITLE;
    }
    play_out();
    return -1;
}

int won_work() {
    TickVictoryWait(end_wait);
    if (end_wait.flag == 1) {
        transition_picture = random_range(0, 3);
        start_transition(TRANSITION_CLOSING, transition_picture);
        end_wait.timer = 0.0;
        end_wait.flag = 2;
    } else if (end_wait.flag == 2 && transition_state == TRANSITION_CLOSED) {
        if (end_wait.timer > CLOSED_WAIT) return MODE_ENDING;
        end_wait.timer += 1.0;
    }
    play_out();
    return -1;
}

void draw_pool(GameObject* pool, int count) {
    for (int i = 0; i < count; ++i) draw_object(pool[i]);
}

void draw_frame() {
    fill_rect(ScreenRect, 0);
    draw_pool(rocks, ROCK_COUNT);
    draw_object(player);
    draw_object(shot);
    draw_object(boss);
    draw_pool(boss_bullets, BULLET_COUNT);
    draw_pool(laser_bombs, BOMB_COUNT);
    draw_pool(laser_segments, SEGMENT_COUNT);
    draw_object(shots_label);
    draw_pool(shot_icons, ICON_COUNT);
    draw_object(result_picture);
    update_effects();
    DrawBossScoreHud();
    update_transition();
}

}  // namespace

void InitBossBattle() {
    random_warm_up();
    InitBossShip();

    clear_object(result_picture);
    result_picture.block = TemplateTable[ROW_GAME_OVER];  // the defeat picture, over the top half

    clear_object(end_wait);

    for (GameObject& rock : rocks) clear_object(rock);
    InitBossWeapons();
    InitBoss();

    build_score_label(score_label);
}

int JudgeBossBattle() {
    if (player.state == Dead) {
        boss.vx = 0;
        boss.vy = SINK_AWAY_SPEED;
        return PlayerLost;
    }
    if (player.state == Ready) {
        // Victory first: a last shot that destroys the boss wins with no stock left.
        if (boss.state == Gone) return BossDefeated;
        if (player.stock <= 0) {
            boss.vx = 0;
            boss.vy = SINK_AWAY_SPEED;
            return PlayerLost;
        }
    }
    return Fighting;
}

void TestBossBattleHits() {
    if (shot.flag == 1 && boss.state == Roaming && objects_apart(shot, boss) == 0) {
        boss.state = Hit;
        boss.no_hit = 1;
        player.no_hit = 1;
    }
    for (GameObject& bullet : boss_bullets) {
        if (bullet.flag != 1 || objects_apart(bullet, player) != 0) continue;
        player.state = Struck;
        boss.no_hit = 1;
        player.no_hit = 1;
        bullet.flag = 0;
        break;
    }
    for (const GameObject& piece : laser_segments) {
        if (piece.flag != 1 || objects_apart(piece, player) != 0) continue;
        player.state = Struck;
        boss.no_hit = 1;
        player.no_hit = 1;
        break;
    }
}

void RecordVictory() {
    PlayData.rewards[REWARD_BOSS] = 1;
    raise_best_score(&PlayData, score);
}

void UpdateBackdropRock(GameObject& rock) {
    if (rock.state == 0) {
        const int row = random_range(ROW_ROCK_NEAR, ROW_ROCK_FAR);
        rock.block = TemplateTable[row];
        // The nearer the rock, the faster it seems.
        rock.vy = row == ROW_ROCK_NEAR ? px(16) : row == ROW_ROCK_MIDDLE ? px(12) : px(8);
        rock.x = px(random_range(0, 240));
        rock.y = ROCK_START_Y;
        rock.visible = 1;
        rock.state = 1;
    } else if (rock.state == 1) {
        if (rock.y + rock.vy > FIELD_BOTTOM_LIMIT) {
            rock.x = 0;
            rock.y = ROCK_START_Y;
            rock.state = 0;
            rock.visible = 0;
        }
    }
}

void TickDefeatWait(GameObject& wait) {
    wait.timer += 1.0;
    if (wait.timer > DEFEAT_WAIT) wait.flag = 1;
}

void TickVictoryWait(GameObject& wait) {
    wait.timer += 1.0;
    if (wait.timer > VICTORY_WAIT) {
        wait.flag = 1;
        wait.timer = 0.0;
    }
}

void DrawBossScoreHud() {
    draw_score_corner(score_label);
}

}  // namespace boss

int RunBossBattle() {
    using namespace boss;
    InitBossBattle();
    phase = BossIntro;
    rocks_released = 0;
    release_timer = 0;
    switch_tune(tune_name("VBTUNE_BOSS"));
    for (;;) {
        int leave = -1;
        switch (phase) {
            case BossIntro:
                intro_work();
                break;
            case BossFight:
                fight_work();
                break;
            case BossLost:
                leave = lost_work();
                break;
            case BossWon:
                leave = won_work();
                break;
            default:
                break;
        }
        if (leave >= 0) return leave;
        draw_frame();
        if (!finish_frame()) return MODE_QUIT;
    }
}
