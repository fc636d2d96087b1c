// The shared sprite-template table, filled once at start-up.
#pragma once

#include "platform/display.h"

constexpr int TEMPLATE_ROWS = 256;

// The fixed rows of TemplateTable (the rest keep the default).
enum TemplateRow : int {
    ROW_BACKGROUND_1 = 0,  // the three stage backgrounds
    ROW_BACKGROUND_2 = 1,
    ROW_BACKGROUND_3 = 2,
    ROW_SHIP = 3,
    ROW_ROCKET = 4,  // the ship's shot, and the icons of the shots left
    ROW_CAT = 5,     // a stage enemy
    ROW_TITLE_PICTURE = 6,
    ROW_GAME_OVER = 7,  // also the boss battle's defeat picture
    ROW_PROMPT = 8,
    ROW_TITLE_CAT = 9,
    ROW_PLANET = 10,  // the captions lie beside it on the same sheet
    ROW_TEXT_STRIP = 11,
    ROW_ROCK_NEAR = 12,  // the boss battle's backdrop rocks, nearest first
    ROW_ROCK_MIDDLE = 13,
    ROW_ROCK_FAR = 14,
    ROW_BULLET = 15,
    ROW_LASER_BOMB = 16,
    ROW_END_PICTURE = 17,
    ROW_CLEAR_BANNER = 18,
    ROW_REWARD_NAME = 19,  // + reward, 0 to 9
    ROW_REWARD_ICON = 29,  // + reward, 0 to 9
};

extern SpriteTemplate TemplateTable[TEMPLATE_ROWS];

void fill_template_table();
