// The stage battle's loop: one stage per entry, from the opening transition
// to the verdict and whatever screen follows it.
#include "modes/stage_battle.h"

#include "modes/modes.h"
#include "objects/random.h"
#include "objects/transition.h"
#include "platform/resource_list.h"
#include "services/frame_end.h"
#include "services/game_state.h"
#include "services/keys.h"
#include "services/present.h"
#include "services/templates.h"
#include "services/tune_switch.h"

namespace stage {

int32_t phase = PHASE_INTRO;
int32_t close_counter = 0;
int32_t hold_counter = 0;
int32_t tally_timer = 0;

namespace {

constexpr const char* TUNE_BATTLE = tune_name("VBTUNE_BATTLE");
constexpr const char* TUNE_CLEARED = tune_name("VBTUNE_END1");
constexpr const char* TUNE_LOST = tune_name("VBTUNE_END2");

// Frames the cleared stage 1 or 2 holds before the music changes.
constexpr int32_t CLEAR_HOLD_FRAMES = 128;
// Closed frames to wait before leaving.
constexpr int32_t CLEARED_CLOSED_FRAMES = 9;
constexpr int32_t RETRY_CLOSED_FRAMES = 8;

bool space_armed() {
    return prompt.flag == 1 && (KeyState & KEY_SPACE);
}

void close_screen() {
    transition_picture = random_range(0, 3);
    start_transition(TRANSITION_CLOSING, transition_picture);
}

void update_enemy(GameObject& enemy) {
    switch (enemy.kind) {
        case ENEMY_SWEEPER:
            UpdateSweeper(enemy);
            break;
        case ENEMY_JITTERER:
            UpdateJitterer(enemy);
            break;
        case ENEMY_ORBITER:
            UpdateOrbiter(enemy);
            break;
        default:
            break;
    }
}

// Counts one shot left into the score every 9 frames, from the rightmost icon.
void tally_shots_left() {
    if (player.stock <= 0) return;
    if (tally_timer > 8) {
        GameObject& icon = shot_icons[player.stock - 1];
        hit_burst.template_row = 5;
        hit_burst.x = icon.x + px(8);  // the icon's centre
        hit_burst.y = icon.y + px(8);
        spawn_particles(hit_burst);
        icon.visible = 0;
        player.stock -= 1;
        score += 1;
        tally_timer = 0;
    }
    tally_timer += 1;
}

void play_frame() {
    ControlPlayer();
    UpdateShot();
    for (GameObject& enemy : enemies) update_enemy(enemy);
    // Hits are tested at the positions before this frame's move.
    ScoreHits();
    move_object(player);
    move_object(shot);
    for (GameObject& enemy : enemies) move_object(enemy);

    switch (JudgeStage()) {
        case VERDICT_OUT_OF_SHOTS:
            switch_tune(TUNE_LOST);
            banner.visible = 1;
            phase = PHASE_GAME_OVER;
            break;
        case VERDICT_STAGE_CLEARED:
            switch_tune(TUNE_CLEARED);
            phase = PHASE_CLEARED;
            close_counter = 0;
            hold_counter = 0;
            tally_timer = 0;
            if (stage_number == 1 || stage_number == 2) SetUpClearBanner();
            break;
        case VERDICT_BOSS_EARNED:
            switch_tune(TUNE_CLEARED);
            phase = PHASE_PRIZE_REVEAL;
            tally_timer = 0;
            break;
        default:
            break;
    }
}

void game_over_frame() {
    for (GameObject& enemy : enemies) {
        AnimateTaunt(enemy);
        move_object(enemy);
    }
    BlinkPrompt(prompt);
    if (space_armed()) {
        take_key_press();
        phase = PHASE_RETRY;
        close_counter = 0;
        close_screen();
        switch_tune(TUNE_BATTLE);
    }
}

// Stages 1 and 2: returns true when the mode must leave for the next stage.
bool cleared_frame() {
    if (close_counter == 0) {
        if (hold_counter <= CLEAR_HOLD_FRAMES) {
            hold_counter += 1;
        } else {
            switch_tune(TUNE_BATTLE);
            close_counter = 1;
            close_screen();
        }
    } else if (transition_state == TRANSITION_CLOSED) {
        if (close_counter > CLEARED_CLOSED_FRAMES) {
            stage_number += 1;
            return true;
        }
        close_counter += 1;
    }
    SlideBanner();
    tally_shots_left();
    return false;
}

void draw_frame() {
    fill_rect(ScreenRect, 0);
    // The background of this stage, unless the prize reveal has blacked it out.
    if (stage_number >= 1 && stage_number <= 3)
        draw_block(TemplateTable[ROW_BACKGROUND_1 + stage_number - 1]);
    draw_object(player);
    draw_object(shot);
    draw_object(shots_label);
    for (GameObject& enemy : enemies) draw_object(enemy);
    for (GameObject& icon : shot_icons) draw_object(icon);
    draw_object(banner);
    draw_object(prompt);
    for (GameObject& line : result_lines) draw_object(line);
    draw_object(prize_caption);
    update_effects();
    DrawScoreHud();
    update_transition();
}

}  // namespace

// The phase's work for one frame; returns the next mode when the mode ends
// here, or -1 to go on and draw the frame.
int RunStagePhase() {
    switch (phase) {
        case PHASE_INTRO:
            if (transition_state == TRANSITION_OPEN) {
                phase = PHASE_PLAY;
                clear_transition();
            }
            for (GameObject& enemy : enemies) move_object(enemy);  // they fall in
            break;
        case PHASE_PLAY:
            play_frame();
            break;
        case PHASE_GAME_OVER:
            game_over_frame();
            break;
        case PHASE_CLEARED:
            if (stage_number == 1 || stage_number == 2) {
                if (cleared_frame()) return MODE_STAGE_BATTLE;
                break;
            }
            RevealFinalResult();
            if (space_armed()) {
                take_key_press();
                return MODE_TITLE;
            }
            tally_shots_left();
            break;
        case PHASE_PRIZE_REVEAL:
            move_object(prize_caption);
            RunPrizeReveal();
            if (space_armed()) {
                take_key_press();
                return MODE_BOSS_BATTLE;
            }
            tally_shots_left();
            break;
        case PHASE_RETRY:
            if (transition_state == TRANSITION_CLOSED) {
                if (close_counter > RETRY_CLOSED_FRAMES) {
                    score = 0;
                    stage_number = 1;
                    return MODE_STAGE_BATTLE;
                }
                close_counter += 1;
            }
            break;
        default:
            break;
    }
    return -1;
}

void ScoreHits() {
    if (shot.flag != 1) return;
    for (GameObject& enemy : enemies) {
        if (enemy.state != 0 || objects_apart(shot, enemy) != 0) continue;
        enemy.state = 1;  // it bursts on its next update
        shot.chain += 1;
        // Each further enemy pierced by the same shot is worth more.
        score += 1 + shot.chain / 2;
        hit_burst.template_row = 5 + shot.chain / 2;
        hit_burst.x = enemy.x;
        hit_burst.y = enemy.y;
        spawn_particles(hit_burst);
    }
}

void InitStage() {
    random_warm_up();
    BuildShip();
    for (int row = ROW_BACKGROUND_1; row <= ROW_BACKGROUND_3; ++row) TemplateTable[row].shown = 1;
    BuildShot();
    BuildResultObjects();
    BuildShotRow();
    BuildEnemies();  // the stage's random numbers are drawn here
    BuildDeathBurst();
    BuildScoreLabel();
    BuildHitBurst();
}

}  // namespace stage

int RunStageBattle() {
    using namespace stage;
    clear_effects();
    InitStage();
    // The screen opens with the picture it closed on.
    start_transition(TRANSITION_OPENING, transition_picture);
    phase = PHASE_INTRO;
    close_counter = 0;
    hold_counter = 0;
    tally_timer = 0;

    for (;;) {
        const int next_mode = RunStagePhase();
        if (next_mode >= 0) return next_mode;
        draw_frame();
        if (!finish_frame()) return MODE_QUIT;
    }
}
