// The boss: short random dashes about the upper field, a volley after each,
// and a long explosion when the ship's shot touches it.
#include "modes/boss_battle.h"
#include "objects/random.h"
#include "platform/sound.h"

namespace boss {

namespace {

constexpr Fixed9 DASH_PUSH = px_frac(5, 8);    // added every dash frame
constexpr Fixed9 SPRING_PUSH = px_frac(1, 4);  // towards the resting height
constexpr Fixed9 REST_HEIGHT = px(50);
constexpr Fixed9 LOWEST_Y = px(184);
constexpr double DASH_FRAMES = 15.0;
constexpr double VOLLEY_AT = 17.0;  // two frames of rest after the dash
constexpr double EXPLOSION_GAP = 4.0;
constexpr int LAST_EXPLOSION = 32;  // the 34th explosion ends the shaking
constexpr int SHAKE_PX = 12;

// The first free slot of a weapon pool is asked to launch; a full pool
// launches nothing and stays silent.
void launch_from(GameObject* pool, int count) {
    for (int i = 0; i < count; ++i) {
        if (pool[i].state == 0) {
            pool[i].state = 1;
            play_sound(SOUND_SHOT);
            return;
        }
    }
}

void dash_cycle() {
    if (boss.timer < DASH_FRAMES) {
        switch (boss.direction) {
            case DIRECTION_UP:
                boss.vy -= DASH_PUSH;
                break;
            case DIRECTION_RIGHT:
                boss.vx += DASH_PUSH;
                break;
            case DIRECTION_DOWN:
                boss.vy += DASH_PUSH;
                break;
            case DIRECTION_LEFT:
                boss.vx -= DASH_PUSH;
                break;
            default:
                break;
        }
        boss.timer += 1.0;
    } else if (boss.timer < VOLLEY_AT) {
        boss.timer += 1.0;
        boss.vx = 0;
        boss.vy = 0;
    } else {
        boss.direction = random_range(0, 3);
        boss.timer = 0.0;
        launch_from(boss_bullets, BULLET_COUNT);
        launch_from(laser_bombs, BOMB_COUNT);
    }
}

// An edge restarts the cycle heading away from it; the top and bottom come
// last, so their heading wins when a corner is met.
void turn_at_edges() {
    const Fixed9 next_x = boss.x + boss.vx;
    if (next_x < 0) {
        boss.x = 0;
        boss.vx = 0;
        boss.direction = DIRECTION_RIGHT;
        boss.timer = 0.0;
    } else if (next_x > FIELD_RIGHT_LIMIT) {
        boss.x = FIELD_RIGHT_LIMIT;
        boss.vx = 0;
        boss.direction = DIRECTION_LEFT;
        boss.timer = 0.0;
    }
    const Fixed9 next_y = boss.y + boss.vy;
    if (next_y < 0) {
        boss.timer = 0.0;
        boss.y = 0;
        boss.vy = 0;
        boss.direction = DIRECTION_DOWN;
    } else if (next_y > LOWEST_Y) {
        boss.timer = 0.0;
        boss.vy = 0;
        boss.direction = DIRECTION_UP;
        boss.y = LOWEST_Y;
    }
}

void roam() {
    // The after-image marks where the boss is before this frame's move.
    trail_burst.x = boss.x + px(8);
    trail_burst.y = boss.y + px(8);
    spawn_particles(trail_burst);

    dash_cycle();
    if (boss.y < REST_HEIGHT)
        boss.vy += SPRING_PUSH;
    else
        boss.vy -= SPRING_PUSH;
    turn_at_edges();
}

void take_hit() {
    play_sound(SOUND_BOM);
    blast_burst.template_row = 0;
    blast_burst.x = boss.x;
    blast_burst.y = boss.y;
    spawn_particles(blast_burst);
    boss.timer = 0.0;
    boss.vy = 0;
    boss.vx = 0;
    boss.count = 0;
    boss.toggle = 0;
    boss.state = Exploding;
    boss_anchor_x = boss.x;
    boss_anchor_y = boss.y;
    // The ship may steer but not fire, and nothing is judged, until the boss is gone.
    player.state = Frozen;
}

void explode() {
    if (boss.toggle == 0) {
        boss.x += px(random_range(-SHAKE_PX, SHAKE_PX));
        boss.y += px(random_range(-SHAKE_PX, SHAKE_PX));
        boss.toggle = 1;
    } else {
        boss.x = boss_anchor_x;
        boss.y = boss_anchor_y;
        boss.toggle = 0;
    }
    if (boss.timer > EXPLOSION_GAP) {
        play_sound(SOUND_BOM);
        blast_burst.template_row = 0;
        blast_burst.x = boss.x + px(8);
        blast_burst.y = boss.y + px(8);
        spawn_particles(blast_burst);
        if (boss.count > LAST_EXPLOSION) boss.state = Vanishing;
        boss.timer = 0.0;
        boss.count += 1;
    } else {
        boss.timer += 1.0;
    }
}

}  // namespace

void InitBoss() {
    clear_object(boss);
    boss.block = {1, SURFACE_CHARA, 0, 96, 16, 112, 0, 0};
    boss.state = Roaming;
    boss.visible = 1;
    boss.x = px(114);
    boss.y = -px(32);            // above the field
    boss.vy = px_frac(35, 128);  // sinks into view during the intro
    boss.hitbox_b = {0, 0, 16, 16};
    boss.direction = random_range(1, 2) == 1 ? DIRECTION_LEFT : DIRECTION_RIGHT;

    trail_burst = {1, 2, 0, 0, 0, 0, 0, 0, 4, 1, 0};
    blast_burst = {10, 0, 0, 0, -px(4), px(4), -px(8), -px(3), 4, 4, 1};
}

void UpdateBoss() {
    switch (boss.state) {
        case Roaming:
            roam();
            break;
        case Hit:
            take_hit();
            break;
        case Exploding:
            explode();
            break;
        case Vanishing:
            boss.visible = 0;
            boss.state = Gone;
            break;
        case Gone:
            player.state = Ready;
            break;
        default:
            break;
    }
}

}  // namespace boss
