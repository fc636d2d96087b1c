#include "modes/ship_and_hud.h"

#include "objects/digits.h"
#include "services/game_state.h"
#include "services/keys.h"
#include "services/templates.h"

namespace {

constexpr Fixed9 ICON_ROW_Y = px(301);

}  // namespace

void steer_ship(GameObject& ship) {
    if (KeyState == 0) ship.vx = 0;
    if (KeyState & KEY_LEFT) ship.vx = -SHIP_SPEED;
    if (KeyState & KEY_RIGHT) ship.vx = SHIP_SPEED;
}

void keep_ship_on_field(GameObject& ship) {
    const Fixed9 next_x = ship.x + ship.vx;
    if (next_x < 0) {
        ship.x = 0;
        ship.vx = 0;
    } else if (next_x > FIELD_RIGHT_LIMIT) {
        ship.x = FIELD_RIGHT_LIMIT;
        ship.vx = 0;
    }
}

void retire_shot(GameObject& shot) {
    shot.state = SHOT_READY;
    shot.flag = 0;
    shot.visible = 0;
    shot.vx = 0;
    shot.vy = 0;
}

void build_shot_row(GameObject& label, GameObject (&icons)[SHOT_ICON_SLOTS], int used) {
    clear_object(label);
    label.block = TemplateTable[ROW_PLANET];  // moved on to the caption beside the rockets
    label.block.src_left += 16;
    label.block.src_right += 16;
    label.visible = 1;
    label.x = px(3);
    label.y = ICON_ROW_Y;

    for (GameObject& icon : icons) clear_object(icon);
    for (int i = 0; i < used; ++i) {
        GameObject& icon = icons[i];
        icon.block = TemplateTable[ROW_ROCKET];
        icon.visible = 1;
        icon.x = px(23) + i * px(19);  // 23, 42, ..., 194 pixels
        icon.y = ICON_ROW_Y;
    }
}

void build_score_label(GameObject& label) {
    clear_object(label);
    label.block = TemplateTable[ROW_PLANET];
    label.block.src_left = 0;
    label.block.src_top = 144;
    label.block.src_right = 16;
    label.block.src_bottom = 160;
    label.visible = 1;
    label.x = px(186);
    label.y = px(3);
}

void draw_score_corner(GameObject& label) {
    draw_object(label);
    draw_number(px(202), px(3), score);
}
