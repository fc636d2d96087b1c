// The boss's two weapons: the blinking bullet that falls straight down, and
// the laser bomb that arcs, counts down and fires a beam to the bottom edge.
#include "modes/boss_battle.h"
#include "objects/random.h"
#include "platform/sound.h"
#include "services/templates.h"

namespace boss {

namespace {

constexpr Fixed9 BULLET_SPEED = px(5);  // per frame down
constexpr int BULLET_BLINK_GAP = 2;     // the picture changes every 4th frame
constexpr Fixed9 BOMB_THROW = -px(3);   // per frame up
constexpr Fixed9 BOMB_PULL = px_frac(1, 16);
constexpr double BOMB_FALL_FRAMES = 32.0;  // stops on the 33rd falling frame
constexpr int COUNTDOWN_HOLD = 12;         // each count-down picture shows 14 frames
constexpr int BEAM_STEP_GAP = 1;           // a beam step every 3rd frame
constexpr int BEAM_LAST_STEP = 4;
constexpr int PIECE_PX = 16;

struct Source {
    int32_t left, top, right, bottom;
};
constexpr Source BEAM_HEAD = {64, 56, 80, 72};
constexpr Source BEAM_BODY = {64, 72, 80, 88};

// Launched objects start where the boss will be after this frame's move.
void place_at_boss(GameObject& o) {
    o.x = boss.x + boss.vx;
    o.y = boss.y + boss.vy - 8;
}

void launch_bullet(GameObject& bullet) {
    bullet.state = 2;
    bullet.flag = 1;
    bullet.visible = 1;
    place_at_boss(bullet);
    bullet.vy = BULLET_SPEED;
    bullet.vx = 0;
    bullet.block.src_left = 32;
    bullet.block.src_right = 46;  // the drawn picture is 14 px wide
    bullet.frame_timer = 0;
    bullet.frame = 0;
}

void fall_bullet(GameObject& bullet) {
    if (bullet.frame_timer > BULLET_BLINK_GAP) {
        const int32_t shift = bullet.frame == 0 ? 16 : -16;
        bullet.frame = bullet.frame == 0 ? 1 : 0;
        bullet.block.src_left += shift;
        bullet.block.src_right += shift;
        bullet.frame_timer = 0;
    } else {
        bullet.frame_timer += 1;
    }
    if (bullet.y + bullet.vy > FIELD_BOTTOM_LIMIT) {
        bullet.state = 0;
        bullet.vx = 0;
        bullet.vy = 0;
        bullet.flag = 0;
        bullet.x = 0;
        bullet.y = 0;
        bullet.visible = 0;
    }
}

void launch_bomb(GameObject& bomb) {
    bomb.state = 2;
    bomb.block = TemplateTable[ROW_LASER_BOMB];
    bomb.visible = 1;
    place_at_boss(bomb);
    bomb.vx = px(random_range(-3, 3));
    bomb.vy = BOMB_THROW;
    bomb.timer = 0.0;
    bomb.frame_timer = 0;
    bomb.frame = 0;
}

void fly_bomb(GameObject& bomb) {
    bomb.vy += BOMB_PULL;
    // Only falling inside the field counts towards the stop, so a bomb
    // thrown above the top edge starts counting when it comes back in.
    if (bomb.vy > 0 && bomb.y > 0) {
        bomb.timer += 1.0;
        if (bomb.timer > BOMB_FALL_FRAMES) {
            bomb.state = 3;
            bomb.vx = 0;
            bomb.vy = 0;
        }
    }
    const Fixed9 next_x = bomb.x + bomb.vx;
    if (next_x < 0 || next_x > FIELD_RIGHT_LIMIT) {
        bomb.x = next_x < 0 ? 0 : FIELD_RIGHT_LIMIT;
        bomb.vx = -bomb.vx;
    }
    if (bomb.y + bomb.vy > FIELD_BOTTOM_LIMIT) {
        bomb.state = 0;
        bomb.vx = 0;
        bomb.vy = 0;
        bomb.x = 0;
        bomb.y = 0;
        bomb.visible = 0;
    }
}

void place_piece(GameObject& piece, const GameObject& bomb, const Source& source, Fixed9 y) {
    piece.frame = 1;
    piece.flag = 1;
    piece.visible = 1;
    piece.block.src_left = source.left;
    piece.block.src_top = source.top;
    piece.block.src_right = source.right;
    piece.block.src_bottom = source.bottom;
    piece.x = bomb.x;
    piece.y = y;
    piece.owner = bomb.tag;
    piece.hitbox_a.left = 7;
    piece.hitbox_a.right = 9;
}

// Builds the beam from free segments: a head just under the bomb and body
// pieces down to the first one below the bottom edge. A pool that runs out
// gives a shorter beam, or none at all.
void fire_beam(GameObject& bomb) {
    play_sound(SOUND_LASER);
    bomb.block = TemplateTable[ROW_LASER_BOMB];
    bomb.frame_timer = 0;
    bomb.frame = 1;
    spark_burst.x = bomb.x + px(8);
    spark_burst.y = bomb.y + px(12);
    spawn_particles(spark_burst);

    int head = 0;
    while (head < SEGMENT_COUNT && laser_segments[head].flag != 0) ++head;
    if (head < SEGMENT_COUNT) {
        bomb.visible = 0;
        place_piece(laser_segments[head], bomb, BEAM_HEAD, bomb.y + px(8));
        Fixed9 last_y = laser_segments[head].y;
        for (int i = 0; i < SEGMENT_COUNT; ++i) {
            if (laser_segments[i].flag != 0) continue;
            last_y += px(16);
            place_piece(laser_segments[i], bomb, BEAM_BODY, last_y);
            if (last_y > SCREEN_BOTTOM) break;
        }
    }
    bomb.state = 4;
    bomb.frame_timer = 0;
}

void count_down(GameObject& bomb) {
    if (bomb.frame_timer <= COUNTDOWN_HOLD) {
        bomb.frame_timer += 1;
    } else if (bomb.frame < 3) {
        bomb.frame += 1;
        bomb.block.src_top += PIECE_PX;
        bomb.block.src_bottom += PIECE_PX;
        bomb.frame_timer = 0;
    } else {
        fire_beam(bomb);
    }
}

// Four steps, each 3 frames apart: the beam narrows and fades over three,
// and the fourth frees its pieces and the bomb's slot.
void beam_step(GameObject& bomb) {
    if (bomb.frame_timer <= BEAM_STEP_GAP) {
        bomb.frame_timer += 1;
        return;
    }
    spark_burst.x = bomb.x + px(8);
    spark_burst.y = bomb.y + ((SCREEN_BOTTOM - bomb.y) / 4) * bomb.frame;
    spawn_particles(spark_burst);

    if (bomb.frame < BEAM_LAST_STEP) {
        for (GameObject& piece : laser_segments) {
            if (piece.flag != 1 || piece.owner != bomb.tag) continue;
            piece.frame += 1;
            if (bomb.frame == 1) {
                piece.hitbox_a.left = 6;
                piece.hitbox_a.right = 9;
            } else if (bomb.frame == 2) {
                piece.hitbox_a.left = 8;
                piece.hitbox_a.right = 8;
            }
            piece.block.src_left += PIECE_PX;
            piece.block.src_right += PIECE_PX;
        }
        bomb.frame += 1;
    } else {
        for (GameObject& piece : laser_segments) {
            if (piece.flag != 1 || piece.frame < 3 || piece.owner != bomb.tag) continue;
            piece.frame = 0;
            piece.flag = 0;
            piece.visible = 0;
            piece.owner = 0;
        }
        bomb.state = 0;
    }
    bomb.frame_timer = 0;
}

}  // namespace

void InitBossWeapons() {
    for (GameObject& bullet : boss_bullets) {
        clear_object(bullet);
        bullet.block = TemplateTable[ROW_BULLET];
        bullet.hitbox_a = {3, 0, 13, 16};
    }
    for (int i = 0; i < BOMB_COUNT; ++i) {
        GameObject& bomb = laser_bombs[i];
        clear_object(bomb);
        bomb.block = TemplateTable[ROW_LASER_BOMB];
        bomb.tag = i + 1;
    }
    for (GameObject& piece : laser_segments) {
        clear_object(piece);
        piece.block = TemplateTable[ROW_LASER_BOMB];
        piece.hitbox_a = {3, 0, 13, 16};
    }
    spark_burst = {2, 4, 0, 0, -px_frac(1, 2), px_frac(1, 2), px(3), px(7), 3, 7, 0};
}

void UpdateBossBullet(GameObject& bullet) {
    switch (bullet.state) {
        case 1:
            launch_bullet(bullet);
            break;
        case 2:
            fall_bullet(bullet);
            break;
        default:
            break;
    }
}

void UpdateLaserBomb(GameObject& bomb) {
    switch (bomb.state) {
        case 1:
            launch_bomb(bomb);
            break;
        case 2:
            fly_bomb(bomb);
            break;
        case 3:
            count_down(bomb);
            break;
        case 4:
            beam_step(bomb);
            break;
        default:
            break;
    }
}

int LiveSegments() {
    int live = 0;
    for (const GameObject& piece : laser_segments) live += piece.flag == 1;
    return live;
}

}  // namespace boss
