#include "objects/game_object.h"

#include <cstdint>

#include "platform/host.h"

namespace {

uint32_t seed = 1;

// An object left drifting (the sunken boss, the enemies after a game over)
// would overflow its position after hours of idling. Far below and beside
// the screen it stops instead; the margin leaves room for hitbox sums.
constexpr int64_t FAR_OFF_SCREEN = int64_t{1} << 30;

Fixed9 moved(Fixed9 position, Fixed9 speed) {
    const int64_t to = static_cast<int64_t>(position) + speed;
    if (to > FAR_OFF_SCREEN) return static_cast<Fixed9>(FAR_OFF_SCREEN);
    if (to < -FAR_OFF_SCREEN) return static_cast<Fixed9>(-FAR_OFF_SCREEN);
    return static_cast<Fixed9>(to);
}

}  // namespace

void move_object(GameObject& o) {
    o.x = moved(o.x, o.vx);
    o.y = moved(o.y, o.vy);
}

void draw_object(GameObject& o) {
    o.block.shown = o.visible;
    o.block.screen_x = o.x / 512;  // truncates toward zero, as the game expects
    o.block.screen_y = o.y / 512;
    // What draw_block does, from the fields: a copy of the block just written
    // field by field would be read back whole, which stalls the CPU.
    if (o.block.shown == 1) {
        const Rect source = {o.block.src_left, o.block.src_top, o.block.src_right,
                             o.block.src_bottom};
        blit_clipped(&ScreenRect, o.block.screen_x, o.block.screen_y, &source, o.block.surface);
    }
}

bool objects_apart(const GameObject& first, const GameObject& second) {
    if (second.no_hit != 0) return true;
    const int32_t a_left = first.x + (first.hitbox_a.left << 9);
    const int32_t a_right = first.x + (first.hitbox_a.right << 9);
    const int32_t a_top = first.y + (first.hitbox_a.top << 9);
    const int32_t a_bottom = first.y + (first.hitbox_a.bottom << 9);
    const int32_t b_left = second.x + (second.hitbox_b.left << 9);
    const int32_t b_right = second.x + (second.hitbox_b.right << 9);
    const int32_t b_top = second.y + (second.hitbox_b.top << 9);
    const int32_t b_bottom = second.y + (second.hitbox_b.bottom << 9);
    if (a_top > b_bottom || a_bottom < b_top || a_left > b_right || a_right < b_left) return true;
    return false;
}

int random_range(int lo, int hi) {
    seed = seed * 214013u + 2531011u;
    const int r = static_cast<int>((seed >> 16) & 0x7FFF);
    const int64_t span = static_cast<int64_t>(hi) - lo + 1;
    // An empty range has no value to give; the game never asks for one.
    if (span == 0) return lo;
    return static_cast<int>(r % span + lo);
}

void random_warm_up() {
    const int draws = host().local_milliseconds() / 10;
    for (int i = 0; i < draws; ++i) random_range(1, 8);
}

uint32_t random_seed() {
    return seed;
}

void set_random_seed(uint32_t s) {
    seed = s;
}
