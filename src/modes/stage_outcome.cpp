// How a stage ends and what follows: the verdict, the reward bands, the
// game-over and stage-clear banner, the blinking prompt, the thank-you panel
// of the last stage, the shaking prize caption and the score in the corner.
#include "modes/ship_and_hud.h"
#include "modes/stage_battle.h"
#include "objects/digits.h"
#include "objects/random.h"
#include "platform/play_data.h"
#include "services/game_state.h"
#include "services/templates.h"
#include "services/tune_switch.h"

namespace stage {

GameObject banner;
GameObject prompt;
GameObject prize_caption;
GameObject result_lines[RESULT_LINES];
GameObject score_label;

namespace {

constexpr int BAND_COUNT = 9;

constexpr Fixed9 CAPTION_HOME_X = px(8);
constexpr Fixed9 CAPTION_HOME_Y = px(140);

// The upper bound of the total for each band, and the reward it hands over.
struct RewardBandRow {
    int highest_total;
    int reward;
};
constexpr RewardBandRow REWARD_BANDS[BAND_COUNT] = {
    {40, 7},  // spittoon
    {47, 1},  // flour
    {53, 2},  // condensed milk
    {56, 8},  // crab
    {58, 0},  // taiko drum
    {60, 6},  // trophy
    {62, 4},  // mushroom
    {64, 5},  // straw doll
    {65, 3},  // adult
};

// The reward reaches the file the moment it is earned, with the best score
// raised to the total as the title will raise it, so closing the window on
// the result panel loses nothing. The record in memory is left as it is
// until the title takes the score.
void keep_reward(int32_t total) {
    PlayDataRecord kept = PlayData;
    raise_best_score(&kept, total);
    save_play_record(kept);
}

void text_strip(GameObject& line, int left, int top, int right, int bottom) {
    clear_object(line);
    line.block = TemplateTable[ROW_TEXT_STRIP];
    line.block.src_left = left;
    line.block.src_top = top;
    line.block.src_right = right;
    line.block.src_bottom = bottom;
}

// A result line starts empty (top equal to bottom) and uncovers itself from
// its top edge down, 4 pixels a frame up to its full height.
void uncover(GameObject& line, Fixed9 y, int full_bottom) {
    line.timer += 1.0;
    line.visible = 1;
    line.y = y;
    line.block.src_bottom += 4;
    if (line.block.src_bottom > full_bottom) line.block.src_bottom = full_bottom;
}

void black_out_field() {
    for (int row = ROW_BACKGROUND_1; row <= ROW_BACKGROUND_3; ++row) TemplateTable[row].shown = 0;
    shot.visible = 0;
    shots_label.visible = 0;
    for (GameObject& icon : shot_icons) icon.visible = 0;
    for (GameObject& enemy : enemies) enemy.visible = 0;
    player.visible = 0;
}

}  // namespace

void BuildResultObjects() {
    clear_object(banner);
    banner.block = TemplateTable[ROW_GAME_OVER];
    banner.x = 0;
    banner.y = px(42);
    banner.visible = 0;

    clear_object(prompt);
    prompt.block = TemplateTable[ROW_TEXT_STRIP];
    prompt.x = px(8);
    prompt.y = px(262);
    prompt.visible = 0;

    text_strip(prize_caption, 248, 112, 480, 144);
    prize_caption.x = CAPTION_HOME_X;
    prize_caption.y = CAPTION_HOME_Y;
    prize_caption.visible = 0;

    text_strip(result_lines[0], 232, 0, 480, 0);
    text_strip(result_lines[1], 240, 48, 480, 48);
    text_strip(result_lines[2], 240, 80, 480, 80);
    clear_object(result_lines[3]);
    result_lines[3].block = TemplateTable[ROW_REWARD_NAME];
    text_strip(result_lines[4], 240, 272, 480, 272);
    clear_object(result_lines[5]);
    result_lines[5].block = TemplateTable[ROW_REWARD_ICON];
}

void BuildScoreLabel() {
    build_score_label(score_label);
}

void SetUpClearBanner() {
    clear_object(banner);
    banner.block = TemplateTable[ROW_CLEAR_BANNER];
    banner.visible = 1;
    banner.x = px(240);  // just off the right edge
    banner.y = px(120);
}

void SlideBanner() {
    // A twelfth of the way left each frame: fast at first, then settling.
    banner.vx = banner.x / -12;
    move_object(banner);
}

int RewardBand(int total) {
    for (int band = 0; band < BAND_COUNT; ++band)
        if (total <= REWARD_BANDS[band].highest_total) return band;
    return -1;
}

StageVerdict JudgeStage() {
    if (player.state != 0) return VERDICT_PLAYING;  // nothing is judged while a shot flies

    int alive = 0;
    for (const GameObject& enemy : enemies)
        if (enemy.state == 0) ++alive;

    if (alive == 0) {
        if (stage_number < 3) return VERDICT_STAGE_CLEARED;
        // The shots not yet fired count toward the total.
        const int band = RewardBand(player.stock + score);
        if (band < 0) return VERDICT_BOSS_EARNED;
        const int reward = REWARD_BANDS[band].reward;
        PlayData.rewards[band] = 1;
        keep_reward(player.stock + score);
        result_lines[3].block = TemplateTable[ROW_REWARD_NAME + reward];
        result_lines[5].block = TemplateTable[ROW_REWARD_ICON + reward];
        return VERDICT_STAGE_CLEARED;
    }

    if (player.stock < 1) {
        for (GameObject& enemy : enemies) {
            enemy.vx = 0;
            enemy.vy = px_frac(1, 4);  // the survivors sink a quarter pixel per frame
        }
        return VERDICT_OUT_OF_SHOTS;
    }
    return VERDICT_PLAYING;
}

void BlinkPrompt(GameObject& blinker) {
    blinker.timer += 1.0;
    if (blinker.timer > 24.0) {
        blinker.timer = 0.0;
        if (blinker.state == 0) {
            blinker.visible = 0;
            blinker.state = 1;
        } else if (blinker.state == 1) {
            blinker.visible = 1;
            blinker.state = 0;
            blinker.flag = 1;
        }
    }
}

void RevealFinalResult() {
    GameObject* line = result_lines;
    if (line[0].timer < 32.0) {
        uncover(line[0], px(12), 48);  // thank you
    } else if (line[1].timer < 32.0) {
        uncover(line[1], px(60), 80);  // the Earth was saved
    } else if (line[2].timer < 14.0) {
        uncover(line[2], px(100), 112);  // please take
    } else if (line[3].timer < 14.0) {
        line[3].timer += 1.0;  // this (the reward's name) ...
        line[3].visible = 1;
        line[3].x = px(64);
        line[3].y = px(130);
        line[4].visible = 1;  // ... as a reward
        line[4].y = px(160);
        line[4].block.src_bottom += 4;
        if (line[4].block.src_bottom > 304) line[4].block.src_bottom = 304;
    } else if (line[5].timer < 14.0) {
        line[5].timer += 1.0;  // the reward's icon
        line[5].visible = 1;
        line[5].x = px(100);
        line[5].y = px(220);
    } else {
        prompt.flag = 1;  // Space now returns to the title
    }
}

void RunPrizeReveal() {
    if (prize_caption.state == 0) {
        if (result_lines[0].timer < 32.0) {
            uncover(result_lines[0], px(12), 48);
        } else if (result_lines[1].timer < 64.0) {
            uncover(result_lines[1], px(60), 80);
        } else {
            // The caption shakes in silence on a black field.
            stop_tune();
            result_lines[0].visible = 0;
            result_lines[1].visible = 0;
            black_out_field();
            prize_caption.state = 1;
            prize_caption.visible = 1;
            prize_caption.timer = 24.0;
        }
        return;
    }
    if (prize_caption.state != 1) return;

    if (prize_caption.timer != 0.0) {
        // Out to a random offset of up to t pixels, home on the next frame,
        // with t falling from 24 to 1.
        const int t = static_cast<int>(prize_caption.timer);
        if (prize_caption.flag == 0) {
            prize_caption.x += px(random_range(-t, t));
            prize_caption.y += px(random_range(-t, t));
            prize_caption.flag = 1;
        } else {
            prize_caption.x = CAPTION_HOME_X;
            prize_caption.y = CAPTION_HOME_Y;
            prize_caption.flag = 0;
        }
        prize_caption.timer -= 1.0;
    } else {
        prompt.flag = 1;  // Space now starts the boss battle
    }
}

void DrawScoreHud() {
    draw_score_corner(score_label);
}

}  // namespace stage
