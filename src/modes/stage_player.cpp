// The ship, its one piercing shot, the row of shots left, and the rising
// number that shows the points of a hit.
#include "modes/ship_and_hud.h"
#include "modes/stage_battle.h"
#include "platform/sound.h"
#include "services/keys.h"
#include "services/templates.h"

namespace stage {

GameObject player;
GameObject shot;
GameObject shot_icons[SHOTS_PER_STAGE];
GameObject shots_label;
ParticleBurst hit_burst;

namespace {

constexpr Fixed9 SHOT_SPEED = -px(12);  // per frame upward
// The shot is done once it is just above the top edge (a few 1/512 pixel,
// not pixels: it leaves when its y is about -8 pixels).
constexpr Fixed9 SHOT_GONE_Y = -px_frac(1, 32);

}  // namespace

void BuildShip() {
    clear_object(player);
    player.block = TemplateTable[ROW_SHIP];
    player.visible = 1;
    player.width = 16;
    player.state = 0;
    player.x = px(110);
    player.y = px(280);
    player.vx = 0;
    player.vy = 0;
    player.stock = SHOTS_PER_STAGE;
}

void BuildShot() {
    clear_object(shot);
    shot.block = TemplateTable[ROW_ROCKET];
    shot.hitbox_a = {3, 0, 13, 16};
}

void BuildShotRow() {
    build_shot_row(shots_label, shot_icons, SHOTS_PER_STAGE);
}

void BuildHitBurst() {
    hit_burst = ParticleBurst{};
    hit_burst.count = 1;
    hit_burst.vx_min = 0;
    hit_burst.vx_max = 0;
    hit_burst.vy_min = -px_frac(1, 2);  // the number rises half a pixel per frame
    hit_burst.vy_max = -px_frac(1, 2);
    hit_burst.frame_count = 4;
    hit_burst.frame_period = 7;
    hit_burst.gravity = 0;
}

void ControlPlayer() {
    steer_ship(player);

    // Space is read as held: keeping it down fires again as soon as the
    // previous shot has gone.
    if (player.state == 0 && (KeyState & KEY_SPACE) && player.stock > 0) {
        player.state = 1;
        shot.state = SHOT_LAUNCHING;
        shot.chain = 0;
        play_sound(SOUND_SHOT);
    }

    keep_ship_on_field(player);
}

void UpdateShot() {
    switch (shot.state) {
        case SHOT_READY:
            shot.visible = 0;
            break;
        case SHOT_LAUNCHING:
            shot.state = SHOT_FLYING;
            shot.vx = 0;
            shot.vy = SHOT_SPEED;
            shot_icons[player.stock - 1].visible = 0;
            shot.flag = 1;
            shot.visible = 1;
            // The ship is already clamped, so this is where it stands after
            // this frame's move; the shot starts a hair above its line.
            shot.x = player.x + player.vx;
            shot.y = player.y + player.vy - 8;
            player.stock -= 1;
            break;
        case SHOT_FLYING:
            if (shot.y <= SHOT_GONE_Y) {
                retire_shot(shot);
                player.state = 0;
            }
            break;
        default:
            break;
    }
}

}  // namespace stage
