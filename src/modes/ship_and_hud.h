// The player's side of both battles: the ship's steering and field bounds,
// its shot's states and the end of its flight, and the heads-up display (the
// row of shots left and the score in the top-right corner).
#pragma once

#include "objects/game_object.h"

constexpr Fixed9 SHIP_SPEED = px(3);  // per frame
// The furthest right a 16-pixel object goes: touching the field's edge.
constexpr Fixed9 FIELD_RIGHT_LIMIT = px(224);
constexpr int SHOT_ICON_SLOTS = 10;

// The ship's shot's `state`: on the ship, launched this frame, in flight.
constexpr int32_t SHOT_READY = 0;
constexpr int32_t SHOT_LAUNCHING = 1;
constexpr int32_t SHOT_FLYING = 2;

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
