// The one record for every sprite-like thing, its fixed-point motion,
// drawing and collision.
#pragma once

#include <cstdint>

#include "platform/display.h"

// Positions and velocities count 1/512 pixel.
using Fixed9 = int32_t;
constexpr Fixed9 px(int pixels) {
    return pixels * 512;
}
// A fraction of a pixel: px_frac(7, 8) is 448. A fraction the 1/512 grid
// cannot hold exactly does not compile.
consteval Fixed9 px_frac(int numerator, int denominator) {
    if (numerator * 512 % denominator != 0) throw "not a whole number of 1/512 pixels";
    return numerator * 512 / denominator;
}
// The whole pixels of a position, truncated toward zero.
constexpr int whole_px(Fixed9 position) {
    return position / 512;
}

struct Hitbox {
    int32_t left, top, right, bottom;
};

struct GameObject {
    int32_t visible;
    int32_t tag;
    int32_t owner;
    int32_t direction;  // 0 up, 1 right, 2 down, 3 left
    int32_t state;
    int32_t flag;
    int32_t kind;
    int32_t gravity;
    int32_t frame_count;
    int32_t frame;
    int32_t frame_period;
    int32_t frame_timer;
    Fixed9 x;
    Fixed9 y;
    Fixed9 vx;
    Fixed9 vy;
    int32_t width;
    int32_t height;
    DrawBlock block;
    int32_t no_hit;
    // The box an object strikes with (shots, bullets, laser pieces), read
    // when it is the first operand of objects_apart, and the box it is
    // struck in (the ships, cats and boss), read as the second.
    Hitbox hitbox_a;
    Hitbox hitbox_b;
    int32_t stock;
    int32_t chain;
    double timer;
    int32_t count;
    int32_t toggle;
};

constexpr int32_t DIRECTION_UP = 0;
constexpr int32_t DIRECTION_RIGHT = 1;
constexpr int32_t DIRECTION_DOWN = 2;
constexpr int32_t DIRECTION_LEFT = 3;

inline void clear_object(GameObject& o) {
    o = GameObject{};
}

void move_object(GameObject& o);
void draw_object(GameObject& o);
// True when the two do not touch, false when they do.
bool objects_apart(const GameObject& first, const GameObject& second);
