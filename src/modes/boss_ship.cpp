// The ship of the boss battle: three shots for the whole battle, one in the
// air at a time, and one hit destroys it.
#include "modes/boss_battle.h"
#include "modes/ship_and_hud.h"
#include "platform/sound.h"
#include "services/keys.h"
#include "services/templates.h"

namespace boss {

namespace {

constexpr Fixed9 SHOT_SPEED = -px(16);           // per frame up
constexpr Fixed9 SHOT_GONE_Y = -px_frac(1, 32);  // just past the top edge
constexpr double DYING_FRAMES = 48.0;            // the explosion plays 49 frames

}  // namespace

void InitBossShip() {
    clear_object(player);
    player.block = TemplateTable[ROW_SHIP];
    player.stock = SHOTS_PER_BATTLE;
    player.hitbox_b = {3, 3, 13, 13};
    player.state = Ready;
    player.visible = 1;
    player.x = px(110);
    player.y = px(280);

    clear_object(shot);
    shot.block = TemplateTable[ROW_ROCKET];
    shot.hitbox_a = {3, 0, 13, 16};

    build_shot_row(shots_label, shot_icons, SHOTS_PER_BATTLE);
}

void ControlBossPlayer() {
    steer_ship(player);

    switch (player.state) {
        case Ready:
            if ((KeyState & KEY_SPACE) && player.stock > 0) {
                player.state = ShotOut;
                shot.state = SHOT_LAUNCHING;
                play_sound(SOUND_SHOT);
            }
            break;
        case Struck:
            play_sound(SOUND_BOM);
            blast_burst.template_row = 3;
            blast_burst.x = player.x;
            blast_burst.y = player.y;
            spawn_particles(blast_burst);
            player.state = Dying;
            player.timer = 0.0;
            player.visible = 0;
            break;
        case Dying:
            if (player.timer > DYING_FRAMES) player.state = Dead;
            player.timer += 1.0;
            break;
        default:
            break;
    }

    keep_ship_on_field(player);
}

void UpdateBossShot() {
    switch (shot.state) {
        case SHOT_READY:
            shot.visible = 0;
            break;
        case SHOT_LAUNCHING: {
            shot.state = SHOT_FLYING;
            shot.vx = 0;
            shot.vy = SHOT_SPEED;
            // The rightmost icon goes first. Space is only taken with shots
            // left, so the index is always one of the three icons.
            const int icon = player.stock - 1;
            if (icon >= 0 && icon < ICON_COUNT) shot_icons[icon].visible = 0;
            shot.flag = 1;
            shot.visible = 1;
            // Where the ship will be after this frame's move.
            shot.x = player.x + player.vx;
            shot.y = player.y + player.vy - 8;
            break;
        }
        case SHOT_FLYING:
            if (shot.y <= SHOT_GONE_Y) {
                retire_shot(shot);
                if (player.state == ShotOut) player.state = Ready;
                // Counted off when it leaves, whether or not it hit.
                player.stock -= 1;
            }
            break;
        default:
            break;
    }
}

}  // namespace boss
