#include "services/templates.h"

SpriteTemplate TemplateTable[TEMPLATE_ROWS];

namespace {

void set_row(int row, int surface, int left, int top, int right, int bottom) {
    TemplateTable[row] = {1, surface, left, top, right, bottom, 0, 0};
}

}  // namespace

void fill_template_table() {
    for (SpriteTemplate& row : TemplateTable) row = {1, SURFACE_BACKGROUND_1, 0, 0, 0, 0, 0, 0};
    set_row(ROW_BACKGROUND_1, SURFACE_BACKGROUND_1, 0, 0, 240, 320);
    set_row(ROW_BACKGROUND_2, SURFACE_BACKGROUND_2, 0, 0, 240, 320);
    set_row(ROW_BACKGROUND_3, SURFACE_BACKGROUND_3, 0, 0, 240, 320);
    set_row(ROW_SHIP, SURFACE_CHARA, 0, 0, 16, 16);
    set_row(ROW_ROCKET, SURFACE_CHARA, 16, 0, 32, 16);
    set_row(ROW_CAT, SURFACE_CHARA, 96, 88, 116, 108);
    set_row(ROW_TITLE_PICTURE, SURFACE_TITLE, 0, 0, 240, 320);
    set_row(ROW_GAME_OVER, SURFACE_OBJECT, 0, 0, 240, 160);
    set_row(ROW_PROMPT, SURFACE_OBJECT, 0, 160, 240, 192);
    set_row(ROW_TITLE_CAT, SURFACE_CHARA, 0, 32, 32, 64);
    set_row(ROW_PLANET, SURFACE_CHARA, 0, 16, 16, 32);
    set_row(ROW_TEXT_STRIP, SURFACE_OBJECT, 0, 288, 240, 320);
    set_row(ROW_ROCK_NEAR, SURFACE_CHARA, 64, 16, 80, 32);
    set_row(ROW_ROCK_MIDDLE, SURFACE_CHARA, 80, 16, 96, 32);
    set_row(ROW_ROCK_FAR, SURFACE_CHARA, 96, 16, 112, 32);
    set_row(ROW_BULLET, SURFACE_CHARA, 32, 16, 48, 32);
    set_row(ROW_LASER_BOMB, SURFACE_CHARA, 64, 96, 96, 112);
    set_row(ROW_END_PICTURE, SURFACE_END, 0, 0, 240, 320);
    set_row(ROW_CLEAR_BANNER, SURFACE_OBJECT, 0, 576, 240, 632);
    for (int k = 0; k < 10; ++k) {
        set_row(ROW_REWARD_NAME + k, SURFACE_OBJECT, 488, 32 * k, 664, 32 * k + 32);
        set_row(ROW_REWARD_ICON + k, SURFACE_REWARDS, 32 * k, 0, 32 * k + 32, 32);
    }
}
