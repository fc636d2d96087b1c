// The cat faces: their set-up from the stage's random numbers, the motion of
// each kind, the burst after a hit and the taunt after a lost stage.
#include "modes/stage_battle.h"
#include "objects/random.h"
#include "platform/sound.h"
#include "services/game_state.h"
#include "services/templates.h"

namespace stage {

GameObject enemies[ENEMY_SLOTS];
ParticleBurst death_burst;

namespace {

constexpr int CAT_SIZE = 20;
// The three expressions are stacked 20 pixels apart down the bitmap.
constexpr int CALM_TOP = 88;
constexpr int GRIN_TOP = 108;
constexpr int LAUGH_TOP = 128;

constexpr Fixed9 CENTRE_X = px(120);
constexpr Fixed9 CENTRE_Y = px(160);

void show_rows(GameObject& enemy, int top) {
    enemy.block.src_top = top;
    enemy.block.src_bottom = top + CAT_SIZE;
}

// A Sweeper or a Jitterer stops dead at a side and turns.
void keep_between_sides(GameObject& enemy) {
    const Fixed9 right_bound = px(240 - enemy.width);
    const Fixed9 next_x = enemy.x + enemy.vx;
    if (next_x < 0) {
        enemy.x = 0;
        enemy.vx = 0;
        enemy.direction = DIRECTION_RIGHT;
    } else if (next_x > right_bound) {
        enemy.x = right_bound;
        enemy.vx = 0;
        enemy.direction = DIRECTION_LEFT;
    }
}

enum class FrameStep { Held, Next, Wrapped };

// The face's timer: each picture is held for frame_period + 2 updates, then
// the frame number moves on, wrapping to 0 after the last one.
FrameStep step_frame(GameObject& enemy) {
    if (enemy.frame_timer <= enemy.frame_period) {
        enemy.frame_timer += 1;
        return FrameStep::Held;
    }
    enemy.frame += 1;
    enemy.frame_timer = 0;
    if (enemy.frame > enemy.frame_count - 1) {
        enemy.frame = 0;
        return FrameStep::Wrapped;
    }
    return FrameStep::Next;
}

void animate(GameObject& enemy) {
    const FrameStep step = step_frame(enemy);
    if (step == FrameStep::Wrapped) {
        show_rows(enemy, CALM_TOP);
    } else if (step == FrameStep::Next) {
        enemy.block.src_top += CAT_SIZE;
        enemy.block.src_bottom += CAT_SIZE;
    }
}

// A hit enemy bursts on its next update; a gone one stays gone. Returns true
// when the slot is alive and its kind's motion should run.
bool settle_hit(GameObject& enemy) {
    if (enemy.state == 1) {
        play_sound(SOUND_BOM);
        death_burst.x = enemy.x;
        death_burst.y = enemy.y;
        spawn_particles(death_burst);
        enemy.visible = 0;
        enemy.state = 2;
        return false;
    }
    return enemy.state == 0;
}

}  // namespace

int EnemiesForStage(int stage) {
    if (stage <= 1) return 5;
    if (stage == 2) return 10;
    return 15;
}

void BuildEnemies() {
    const int count = EnemiesForStage(stage_number);
    const int last_kind = stage_number <= 1 ? ENEMY_JITTERER : ENEMY_ORBITER;
    // Every slot draws its four numbers, the empty ones too, so the draws
    // always come in the same order for a given random sequence.
    for (int n = 1; n <= ENEMY_SLOTS; ++n) {
        GameObject& enemy = enemies[n - 1];
        clear_object(enemy);
        enemy.block = TemplateTable[ROW_CAT];
        enemy.state = 0;
        enemy.flag = 0;
        enemy.visible = 1;
        enemy.vx = 0;
        enemy.vy = px(8);  // per frame, falling while the screen opens
        enemy.hitbox_b = {2, 2, 18, 18};
        enemy.width = CAT_SIZE;
        enemy.height = CAT_SIZE;

        if (n % 2 == 1) {
            enemy.vx = px_frac(1, 8);
            enemy.direction = DIRECTION_RIGHT;
        } else {
            enemy.vx = -px_frac(1, 8);
            enemy.direction = DIRECTION_LEFT;
        }

        enemy.frame_count = 2;
        enemy.frame = random_range(0, 1);
        if (enemy.frame == 1) {
            enemy.block.src_top += CAT_SIZE;
            enemy.block.src_bottom += CAT_SIZE;
        }
        enemy.frame_period = 12;

        enemy.kind = random_range(ENEMY_SWEEPER, last_kind);

        if (enemy.kind == ENEMY_ORBITER)
            enemy.x = px(random_range(1, 3) * 80);
        else
            enemy.x = px(random_range(1, 16) * 15);
        enemy.y = px(random_range(1, 8) * 18 - 320);

        if (n > count) {
            enemy.state = 2;
            enemy.visible = 0;
        }
    }
}

void BuildDeathBurst() {
    death_burst = ParticleBurst{};
    death_burst.count = 10;
    death_burst.template_row = 0;  // red drops
    death_burst.vx_min = -px(4);
    death_burst.vx_max = px(4);
    death_burst.vy_min = -px(4);
    death_burst.vy_max = px(4);
    death_burst.frame_count = 4;
    death_burst.frame_period = 1;
    death_burst.gravity = 0;
}

void UpdateSweeper(GameObject& enemy) {
    if (!settle_hit(enemy)) return;
    enemy.vy = 0;
    // Accelerates along its row with no speed limit; a side stops it dead.
    if (enemy.direction == DIRECTION_RIGHT) enemy.vx += px_frac(1, 8);
    if (enemy.direction == DIRECTION_LEFT) enemy.vx -= px_frac(1, 8);
    keep_between_sides(enemy);
    animate(enemy);
}

void UpdateJitterer(GameObject& enemy) {
    if (!settle_hit(enemy)) return;
    if (enemy.direction == DIRECTION_RIGHT) enemy.vx = px_frac(7, 8);
    if (enemy.direction == DIRECTION_LEFT) enemy.vx = -px_frac(7, 8);
    enemy.vy = px(random_range(-2, 2));
    keep_between_sides(enemy);
    const Fixed9 bottom_bound = px(320 - enemy.height);
    const Fixed9 next_y = enemy.y + enemy.vy;
    if (next_y < 0) {
        enemy.y = 0;
        enemy.vy = 0;
    } else if (next_y > bottom_bound) {
        enemy.y = bottom_bound;
        enemy.vy = 0;
    }
    animate(enemy);
}

void UpdateOrbiter(GameObject& enemy) {
    if (!settle_hit(enemy)) return;
    // Pulled toward the centre; each cap applies only on the side the speed
    // was just pushed toward, so a fast fall in from above slows gradually.
    if (enemy.x < CENTRE_X) {
        enemy.vx += px_frac(3, 32);
        // Never reached: a swing across the field peaks under 5 px per frame.
        if (enemy.vx > px(7)) enemy.vx = px(7);
    } else {
        enemy.vx -= px_frac(3, 32);
        // Never reached either.
        if (enemy.vx < -px(7)) enemy.vx = -px(7);
    }
    if (enemy.y < CENTRE_Y) {
        enemy.vy += px_frac(3, 32);
        if (enemy.vy > px(4)) enemy.vy = px(4);
    } else {
        enemy.vy -= px_frac(3, 32);
        if (enemy.vy < -px(4)) enemy.vy = -px(4);
    }
    animate(enemy);
}

void AnimateTaunt(GameObject& enemy) {
    const FrameStep step = step_frame(enemy);
    if (step == FrameStep::Wrapped) {
        show_rows(enemy, GRIN_TOP);
    } else if (step == FrameStep::Next) {
        show_rows(enemy, LAUGH_TOP);
    }
}

}  // namespace stage
