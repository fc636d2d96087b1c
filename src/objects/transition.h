// The full-screen picture that closes between modes and tears open again.
#pragma once

#include "objects/game_object.h"

constexpr int TRANSITION_STRIPS = 320;

constexpr int TRANSITION_IDLE = 0;
constexpr int TRANSITION_OPENING = 1;
constexpr int TRANSITION_OPEN = 2;
constexpr int TRANSITION_CLOSING = 3;
constexpr int TRANSITION_CLOSED = 4;

extern GameObject TransitionStrips[TRANSITION_STRIPS];
extern SpriteTemplate TransitionPicture[32];
extern int transition_state;
extern int transition_picture;

void init_transition();
void start_transition(int kind, int picture);
void update_transition();
void clear_transition();
