// What both battles share: the ship's steering and side bounds, the end of a
// shot's flight, the row of shot icons and the score in the top-right corner.
#pragma once

#include "objects/game_object.h"

constexpr Fixed9 SHIP_SPEED = 1536;           // 3 pixels per frame
constexpr Fixed9 SHIP_RIGHT_LIMIT = 0x1C000;  // 224 pixels: a 16-pixel ship at the edge
constexpr int SHOT_ICON_SLOTS = 10;

// Left and Right set the speed, Right read last so it wins; only a keyboard
// with no key held at all stops the ship, any other key keeps it sliding.
void steer_ship(GameObject& ship);
// Stops the ship on the side its next move would pass.
void keep_ship_on_field(GameObject& ship);
// Ends a shot's flight: it stops and hides, ready to be launched again.
void retire_shot(GameObject& shot);
// Clears the label and all icon slots, then shows `used` icons from the left.
void build_shot_row(GameObject& label, GameObject (&icons)[SHOT_ICON_SLOTS], int used);
// The small caption before the score, at the top-right corner.
void build_score_label(GameObject& label);
// The caption, then the score beside it.
void draw_score_corner(GameObject& label);
