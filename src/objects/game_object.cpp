#include "objects/game_object.h"

#include <cstdint>

namespace {

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
    o.block.screen_x = whole_px(o.x);  // truncates toward zero, as the game expects
    o.block.screen_y = whole_px(o.y);
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
    const int32_t a_left = first.x + px(first.hitbox_a.left);
    const int32_t a_right = first.x + px(first.hitbox_a.right);
    const int32_t a_top = first.y + px(first.hitbox_a.top);
    const int32_t a_bottom = first.y + px(first.hitbox_a.bottom);
    const int32_t b_left = second.x + px(second.hitbox_b.left);
    const int32_t b_right = second.x + px(second.hitbox_b.right);
    const int32_t b_top = second.y + px(second.hitbox_b.top);
    const int32_t b_bottom = second.y + px(second.hitbox_b.bottom);
    if (a_top > b_bottom || a_bottom < b_top || a_left > b_right || a_right < b_left) return true;
    return false;
}
