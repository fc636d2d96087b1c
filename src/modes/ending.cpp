#include "modes/ending_state.h"
#include "modes/modes.h"
#include "objects/transition.h"
#include "platform/resource_list.h"
#include "services/frame_end.h"
#include "services/game_state.h"
#include "services/present.h"
#include "services/templates.h"
#include "services/tune_switch.h"

namespace ending {

GameObject ending_objects[ENDING_SLOTS];
int ending_step = ENDING_WAITING;

namespace {

constexpr int STORY_LINES = 10;
constexpr Fixed9 RISE_SPEED = -px(9);   // per frame upwards
constexpr Fixed9 GONE_ABOVE = -px(64);  // top edge above the screen
constexpr Fixed9 END_MARK_FLOOR = px(140);
constexpr Fixed9 END_MARK_GRAVITY = px_frac(1, 4);

// The five credit blocks: top and bottom of each in the "object" picture.
constexpr int CREDIT_TOP[5] = {320, 368, 424, 488, 560};
constexpr int CREDIT_BOTTOM[5] = {368, 424, 488, 560, 632};

// The slot now rising and the one that follows it.
int current = 0;
int next = 1;

void set_picture(GameObject& o, int left, int top, int right, int bottom) {
    o.block.surface = SURFACE_OBJECT;
    o.block.src_left = left;
    o.block.src_top = top;
    o.block.src_right = right;
    o.block.src_bottom = bottom;
}

void start_rising(GameObject& o) {
    o.vy = RISE_SPEED;
    o.visible = 1;
}

void StepEnding() {
    switch (ending_step) {
        case ENDING_WAITING:
            if (transition_state == TRANSITION_OPEN) {
                current = 0;
                next = 1;
                clear_transition();
                ending_step = ENDING_SCROLLING;
                start_rising(ending_objects[0]);
            }
            break;
        case ENDING_SCROLLING:
            if (ending_objects[current].y < GONE_ABOVE) {
                if (current == END_MARK_SLOT) {
                    ending_step = ENDING_END_MARK;  // the end mark keeps its speed
                } else {
                    start_rising(ending_objects[next]);
                    ending_objects[current].vy = 0;
                    ending_objects[current].visible = 0;
                    ++current;
                    ++next;
                }
            }
            break;
        case ENDING_END_MARK: {
            // The end mark falls back and bounces on its floor, keeping five
            // sixths of its speed each time, until it rests there.
            GameObject& mark = ending_objects[END_MARK_SLOT];
            if (mark.y + mark.vy > END_MARK_FLOOR) {
                mark.y = END_MARK_FLOOR;
                mark.vy = mark.vy / 6 - mark.vy;
            }
            mark.vy += END_MARK_GRAVITY;
            break;
        }
        default:
            break;
    }
}

}  // namespace

void InitEnding() {
    for (int i = 0; i < ENDING_SLOTS; ++i) {
        GameObject& o = ending_objects[i];
        clear_object(o);
        o.visible = 0;
        o.y = px(320);
        if (i < STORY_LINES) {
            o.x = px(154);
            set_picture(o, 320, 320 + 32 * i, 400, 352 + 32 * i);
        } else if (i < END_MARK_SLOT) {
            o.x = px(160);
            set_picture(o, 240, CREDIT_TOP[i - STORY_LINES], 320, CREDIT_BOTTOM[i - STORY_LINES]);
        } else {
            o.x = px(160);
            set_picture(o, 408, 544, 480, 584);
        }
    }
}

}  // namespace ending

using namespace ending;

int RunEnding() {
    InitEnding();
    switch_tune(tune_name("VBTUNE_ENDING"));
    start_transition(TRANSITION_OPENING, transition_picture);
    ending_step = ENDING_WAITING;

    for (;;) {
        fill_rect(ScreenRect, 0);
        draw_block(TemplateTable[ROW_END_PICTURE]);
        StepEnding();
        for (GameObject& o : ending_objects) move_object(o);
        for (GameObject& o : ending_objects) draw_object(o);
        update_transition();
        if (!finish_frame()) return MODE_QUIT;
    }
}
