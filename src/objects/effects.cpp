#include "objects/effects.h"

#include "objects/random.h"

GameObject EffectPool[EFFECT_POOL_SIZE];
SpriteTemplate EffectTemplate[EFFECT_TEMPLATE_ROWS];

namespace {

void fill_particle(GameObject& p, const ParticleBurst& burst) {
    p.visible = 1;
    p.state = 1;
    p.block = EffectTemplate[burst.template_row];
    p.x = burst.x - px((p.block.src_right - p.block.src_left) / 2);
    p.y = burst.y - px((p.block.src_bottom - p.block.src_top) / 2);
    p.vx = random_range(burst.vx_min, burst.vx_max);
    p.vy = random_range(burst.vy_min, burst.vy_max);
    p.frame_count = burst.frame_count;
    p.frame = 1;
    p.frame_period = burst.frame_period;
    p.frame_timer = 0;
    p.gravity = burst.gravity;
}

}  // namespace

void init_effects() {
    clear_effects();
    for (SpriteTemplate& row : EffectTemplate) row = SpriteTemplate{};
    EffectTemplate[0] = {0, SURFACE_CHARA, 0, 64, 16, 80, 0, 0};
    EffectTemplate[1] = {0, SURFACE_CHARA, 0, 80, 16, 96, 0, 0};
    EffectTemplate[2] = {0, SURFACE_CHARA, 0, 112, 16, 128, 0, 0};
    EffectTemplate[3] = {0, SURFACE_CHARA, 64, 32, 80, 48, 0, 0};
    EffectTemplate[4] = {0, SURFACE_CHARA, 64, 0, 80, 16, 0, 0};
    // The score pop-ups step down and right, one row per label.
    for (int n = 0; n <= 6; ++n)
        EffectTemplate[5 + n] = {
            0, SURFACE_CHARA, 128 + 16 * n, 16 * n, 144 + 16 * n, 16 + 16 * n, 0, 0};
}

void clear_effects() {
    for (GameObject& p : EffectPool) clear_object(p);
}

void spawn_particles(ParticleBurst burst) {
    int placed = 0;
    for (int slot = 1; slot < EFFECT_POOL_SIZE; ++slot) {
        if (EffectPool[slot].state == 0) {
            fill_particle(EffectPool[slot], burst);
            ++placed;
        }
        if (placed >= burst.count) return;
    }
    // Not enough free slots: the rest displace the lowest slots.
    for (int slot = 1; slot < EFFECT_POOL_SIZE && placed < burst.count; ++slot) {
        clear_object(EffectPool[slot]);
        fill_particle(EffectPool[slot], burst);
        ++placed;
    }
}

void update_effects() {
    for (int slot = 1; slot < EFFECT_POOL_SIZE; ++slot) {
        GameObject& p = EffectPool[slot];
        if (p.state != 1) continue;
        if (p.frame_timer <= p.frame_period) {
            ++p.frame_timer;
        } else if (p.frame < p.frame_count) {
            p.block.src_left += 16;
            p.block.src_right += 16;
            ++p.frame;
            p.frame_timer = 0;
        } else {
            clear_object(p);
        }
        if (p.gravity == 1) p.vy += px(1);
        move_object(p);
        draw_object(p);
    }
}

int live_particles() {
    int live = 0;
    for (int slot = 1; slot < EFFECT_POOL_SIZE; ++slot) live += EffectPool[slot].state == 1;
    return live;
}
