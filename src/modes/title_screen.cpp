#include <initializer_list>

#include "modes/title_state.h"
#include "objects/digits.h"
#include "platform/play_data.h"
#include "services/templates.h"

int title_phase = TITLE_INTRO;

namespace title {

GameObject maker_logo;
GameObject library_logo;
GameObject title_prompt;
GameObject title_cat;
GameObject title_planet;
GameObject record_label;

namespace {

// The template row of each reward picture, by reward flag.
constexpr int REWARD_ROW[REWARD_COUNT] = {36, 30, 31, 37, 29, 35, 33, 34, 32, 38};
constexpr int REWARD_X[5] = {8, 56, 104, 152, 200};
constexpr int REWARD_TOP_Y = 0;
constexpr int REWARD_BOTTOM_Y = 278;

// How close (in whole pixels) the cat must come before each prompt picture
// gives way to the next; the last one ends the program.
constexpr int ESCALATION_DISTANCE[4] = {130, 80, 20, 5};

void set_picture(GameObject& o, int surface, int left, int top, int right, int bottom) {
    o.block.surface = surface;
    o.block.src_left = left;
    o.block.src_top = top;
    o.block.src_right = right;
    o.block.src_bottom = bottom;
}

void place(GameObject& o, int x, int y) {
    o.x = px(x);
    o.y = px(y);
}

}  // namespace

void InitTitle() {
    for (GameObject* o :
         {&maker_logo, &library_logo, &title_prompt, &title_cat, &title_planet, &record_label})
        clear_object(*o);

    set_picture(maker_logo, SURFACE_MAKER_LOGO, 0, 0, 64, 32);
    place(maker_logo, 96, 120);

    set_picture(library_logo, SURFACE_LIBRARY_LOGO, 0, 0, 40, 10);
    place(library_logo, 99, 226);

    title_prompt.block = TemplateTable[ROW_PROMPT];
    place(title_prompt, 0, 242);
    title_prompt.visible = 1;

    title_cat.block = TemplateTable[ROW_TITLE_CAT];
    place(title_cat, 210, 200);
    title_cat.visible = 1;
    title_cat.vx = -px_frac(1, 8);

    title_planet.block = TemplateTable[ROW_PLANET];
    place(title_planet, 32, 212);
    title_planet.visible = 1;

    set_picture(record_label, SURFACE_CHARA, 16, 144, 64, 160);
    record_label.visible = 1;
}

void AnimateTitleCat() {
    title_cat.timer += 1.0;
    if (title_cat.timer > 16.0) {
        title_cat.timer = 0.0;
        // The cat's second picture, mouth open, lies 32 pixels to the right.
        const int shift = title_cat.frame == 0 ? 32 : -32;
        title_cat.frame = title_cat.frame == 0 ? 1 : 0;
        title_cat.block.src_left += shift;
        title_cat.block.src_right += shift;
    }
}

void BlinkTitlePrompt() {
    title_prompt.timer += 1.0;
    if (title_prompt.timer > 24.0) {
        title_prompt.timer = 0.0;
        if (title_prompt.state == 0) {
            title_prompt.visible = 0;
            title_prompt.state = 1;
        } else if (title_prompt.state == 1) {
            title_prompt.visible = 1;
            title_prompt.state = 0;
        }
    }
}

bool EscalateTitlePrompt() {
    const int step = title_prompt.frame;
    if (step < 0 || step > 3) return false;
    const int distance = whole_px(title_cat.x) - whole_px(title_planet.x);
    if (distance > ESCALATION_DISTANCE[step]) return false;
    if (step == 3) return true;
    // The prompt pictures are stacked 32 pixels apart, each more urgent.
    title_prompt.block.src_top += 32;
    title_prompt.block.src_bottom += 32;
    ++title_prompt.frame;
    return false;
}

void DrawRewards() {
    for (int k = 0; k < REWARD_COUNT; ++k) {
        if (PlayData.rewards[k] != 1) continue;
        SpriteTemplate& row = TemplateTable[REWARD_ROW[k]];
        row.screen_x = REWARD_X[k % 5];
        row.screen_y = k < 5 ? REWARD_TOP_Y : REWARD_BOTTOM_Y;
        draw_block(row);
    }
    place(record_label, 4, 184);
    draw_object(record_label);
    draw_number(px(52), px(184), best_score_for_display());
}

}  // namespace title
