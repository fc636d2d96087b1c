#include "objects/transition.h"

#include "objects/random.h"

GameObject TransitionStrips[TRANSITION_STRIPS];
SpriteTemplate TransitionPicture[32];
int transition_state = TRANSITION_IDLE;
int transition_picture = 0;

namespace {

constexpr Fixed9 SCREEN_WIDTH_FIXED = px(240);
constexpr Fixed9 HALF_HEIGHT_FIXED = px(160);

void lay_out_opening(const SpriteTemplate& picture) {
    for (int i = 0; i < TRANSITION_STRIPS; ++i) {
        GameObject& s = TransitionStrips[i];
        s.visible = 1;
        s.block = picture;
        s.block.src_top = picture.src_top + i;
        s.block.src_bottom = picture.src_top + i + 1;
        s.x = 0;
        s.y = px(i);
        if (i % 2 == 0) {
            s.vx = -px(random_range(1, 16));
            s.direction = DIRECTION_LEFT;
        } else {
            s.vx = px(random_range(1, 16));
            s.direction = DIRECTION_RIGHT;
        }
    }
}

void lay_out_closing(const SpriteTemplate& picture) {
    GameObject& upper = TransitionStrips[0];
    upper.visible = 1;
    upper.block = picture;
    upper.x = 0;
    upper.block.src_top = picture.src_top;
    upper.block.src_bottom = picture.src_top + 160;
    upper.y = -px(160);
    upper.vy = px(12);
    upper.direction = DIRECTION_DOWN;

    GameObject& lower = TransitionStrips[1];
    lower.visible = 1;
    lower.block = picture;
    lower.x = 0;
    lower.block.src_top = picture.src_top + 160;
    lower.block.src_bottom = picture.src_top + 320;
    lower.y = px(320);
    lower.vy = -px(12);
    lower.direction = DIRECTION_UP;
}

bool update_opening() {
    bool moving = false;
    for (GameObject& s : TransitionStrips) {
        if (s.vx != 0) {
            moving = true;
            if (s.direction == DIRECTION_RIGHT) {
                if (s.x + s.vx >= SCREEN_WIDTH_FIXED) {
                    s.x = SCREEN_WIDTH_FIXED;
                    s.vx = 0;
                } else {
                    s.vx += px_frac(1, 4);
                }
            } else if (s.direction == DIRECTION_LEFT) {
                if (s.x + s.vx <= -SCREEN_WIDTH_FIXED) {
                    s.x = -SCREEN_WIDTH_FIXED;
                    s.vx = 0;
                } else {
                    s.vx -= px_frac(1, 4);
                }
            }
        }
        move_object(s);
        draw_object(s);
    }
    return moving;
}

bool update_closing() {
    bool moving = false;
    for (int i = 0; i < 2; ++i) {
        GameObject& s = TransitionStrips[i];
        if (s.vy != 0) {
            moving = true;
            if (s.direction == DIRECTION_DOWN) {
                if (s.y + s.vy >= 0) {
                    s.y = 0;
                    s.vy = 0;
                } else {
                    s.vy -= px_frac(3, 16);
                    if (s.vy < px(1)) s.vy = px(1);  // never reached: the half shuts first
                }
            } else if (s.direction == DIRECTION_UP) {
                if (s.y + s.vy <= HALF_HEIGHT_FIXED) {
                    s.y = HALF_HEIGHT_FIXED;
                    s.vy = 0;
                } else {
                    s.vy += px_frac(3, 16);
                    if (s.vy > -px(1)) s.vy = -px(1);  // never reached: the half shuts first
                }
            }
        }
        move_object(s);
        draw_object(s);
    }
    return moving;
}

}  // namespace

void init_transition() {
    for (SpriteTemplate& row : TransitionPicture) row = SpriteTemplate{};
    for (GameObject& s : TransitionStrips) clear_object(s);
    transition_state = TRANSITION_IDLE;
    transition_picture = 0;
    TransitionPicture[0] = {0, SURFACE_SHUTTER, 0, 0, 240, 320, 0, 0};
    TransitionPicture[1] = {0, SURFACE_SHUTTER, 240, 0, 480, 320, 0, 0};
    TransitionPicture[2] = {0, SURFACE_SHUTTER, 0, 320, 240, 640, 0, 0};
    TransitionPicture[3] = {0, SURFACE_SHUTTER, 240, 320, 480, 640, 0, 0};
}

void start_transition(int kind, int picture) {
    const SpriteTemplate& row = TransitionPicture[picture & 31];
    if (kind == TRANSITION_OPENING)
        lay_out_opening(row);
    else if (kind == TRANSITION_CLOSING)
        lay_out_closing(row);
    transition_state = kind;
}

void update_transition() {
    if (transition_state == TRANSITION_OPENING || transition_state == TRANSITION_OPEN) {
        const bool moving = update_opening();
        if (transition_state == TRANSITION_OPENING && !moving) transition_state = TRANSITION_OPEN;
    } else if (transition_state == TRANSITION_CLOSING || transition_state == TRANSITION_CLOSED) {
        const bool moving = update_closing();
        if (transition_state == TRANSITION_CLOSING && !moving) transition_state = TRANSITION_CLOSED;
    }
}

void clear_transition() {
    for (GameObject& s : TransitionStrips) clear_object(s);
    transition_state = TRANSITION_IDLE;
}
