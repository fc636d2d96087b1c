// The game-wide pool of short-lived animated particles.
#pragma once

#include "objects/game_object.h"

constexpr int EFFECT_POOL_SIZE = 512;  // slot 0 is never used
constexpr int EFFECT_TEMPLATE_ROWS = 32;

struct ParticleBurst {
    int32_t count;
    int32_t template_row;
    Fixed9 x;  // centre of the burst
    Fixed9 y;
    Fixed9 vx_min;
    Fixed9 vx_max;
    Fixed9 vy_min;
    Fixed9 vy_max;
    int32_t frame_count;
    int32_t frame_period;
    int32_t gravity;
};

extern GameObject EffectPool[EFFECT_POOL_SIZE];
extern SpriteTemplate EffectTemplate[EFFECT_TEMPLATE_ROWS];

void init_effects();
void clear_effects();
void spawn_particles(ParticleBurst burst);
void update_effects();
int live_particles();
