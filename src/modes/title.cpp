#include "modes/modes.h"
#include "modes/title_state.h"
#include "objects/effects.h"
#include "objects/random.h"
#include "objects/transition.h"
#include "platform/play_data.h"
#include "platform/resource_list.h"
#include "services/frame_end.h"
#include "services/game_state.h"
#include "services/keys.h"
#include "services/present.h"
#include "services/templates.h"
#include "services/tune_switch.h"

using namespace title;

namespace {

constexpr int MUSIC_NOTE = 1;  // effect template of the intro's notes
constexpr int INTRO_DARK_FRAMES = 32;
constexpr int INTRO_HOLD_FRAMES = 32;
constexpr int INTRO_NOTE_FRAMES = 128;
constexpr int LEAVING_CLOSED_FRAMES = 8;  // closed frames after the first, before leaving

// The intro's own counters; they live only for one run of the mode.
struct Intro {
    int counter;
    int step;  // 0 dark, 1 shake, 2 hold, 3 notes
    bool shake_toggle;
    bool fountain_done;
    ParticleBurst note_burst;
};

void StepIntroDark(Intro& in) {
    if (in.counter < INTRO_DARK_FRAMES) {
        ++in.counter;
        return;
    }
    in.counter = INTRO_DARK_FRAMES;
    maker_logo.visible = 1;
    in.step = 1;
}

// The logo jumps on every other frame by a shrinking amount and is put back
// between jumps. The last jump draws from the empty range (1, -1), which
// always gives 1, so the logo settles one pixel off before it rests.
void StepIntroShake(Intro& in) {
    if (in.counter < 0) {
        maker_logo.x = px(86);
        maker_logo.y = px(120);
        in.counter = 0;
        in.shake_toggle = false;
        in.step = 2;
        return;
    }
    --in.counter;
    if (!in.shake_toggle) {
        maker_logo.x += px(random_range(-in.counter, in.counter));
        maker_logo.y += px(random_range(-in.counter, in.counter));
        in.shake_toggle = true;
    } else {
        maker_logo.x = px(86);
        maker_logo.y = px(120);
        in.shake_toggle = false;
    }
}

void StepIntroHold(Intro& in) {
    if (in.counter < INTRO_HOLD_FRAMES) {
        ++in.counter;
        return;
    }
    in.counter = 0;
    in.fountain_done = false;
    in.step = 3;
}

// Notes rise from both edges, closing in on the middle, then a fountain
// bursts there and the library's logo appears.
void StepIntroNotes(Intro& in) {
    if (in.counter >= INTRO_NOTE_FRAMES) return;
    ParticleBurst& b = in.note_burst;
    if (in.counter == 0) {
        b.count = 1;
        b.template_row = MUSIC_NOTE;
        b.y = library_logo.y + px(8);
        b.vx_min = 0;
        b.vx_max = 0;
        b.vy_min = -px(8);
        b.vy_max = -px(2);
        b.frame_count = 4;
        b.frame_period = 2;
        b.gravity = 1;
        b.x = px(240);
        spawn_particles(b);
        b.x = 0;
        spawn_particles(b);
        in.fountain_done = false;
    } else if (b.x < px(120)) {
        b.x = px((40 - in.counter) * 6);
        spawn_particles(b);
        b.x = px(in.counter * 6);
        spawn_particles(b);
    } else if (!in.fountain_done) {
        b.count = 16;
        b.frame_period = 8;
        b.vx_min = -px(2);
        b.vx_max = px(2);
        b.vy_min = -px(10);
        b.vy_max = -px(2);
        spawn_particles(b);
        library_logo.visible = 1;
        in.fountain_done = true;
    }
    ++in.counter;
    if (in.counter == INTRO_NOTE_FRAMES) {
        title_phase = TITLE_TUNE;
        in.step = 0;
        in.counter = 0;
        in.shake_toggle = false;
        maker_logo.visible = 0;
        library_logo.visible = 0;
    }
}

void RunIntroFrame(Intro& in) {
    switch (in.step) {
        case 0:
            StepIntroDark(in);
            break;
        case 1:
            StepIntroShake(in);
            break;
        case 2:
            StepIntroHold(in);
            break;
        case 3:
            StepIntroNotes(in);
            break;
        default:
            break;
    }
    move_object(maker_logo);
    draw_object(maker_logo);
    draw_object(library_logo);
    update_effects();
    update_transition();
    present_frame();
    if (KeyState & KEY_SPACE) {
        title_phase = TITLE_TUNE;
        take_key_press();
    }
}

// The title tune is loaded before the old one is stopped.
void StartTitleTune() {
    switch_tune_loading_first(tune_name("VBTUNE_TITLE"));
    clear_effects();
    title_phase = TITLE_MENU;
}

void DrawTitleScene() {
    draw_object(title_planet);
    draw_object(title_cat);
    draw_object(title_prompt);
}

// Returns false when the cat has reached the planet and the program ends.
bool RunMenuFrame(int& counter) {
    draw_block(TemplateTable[ROW_TITLE_PICTURE]);
    AnimateTitleCat();
    BlinkTitlePrompt();
    if (EscalateTitlePrompt()) return false;
    move_object(title_planet);
    move_object(title_cat);
    move_object(title_prompt);
    DrawTitleScene();
    DrawRewards();
    present_frame();
    if (KeyState & KEY_SPACE) {
        take_key_press();
        title_phase = TITLE_LEAVING;
        counter = 0;
        transition_picture = random_range(0, 3);
        start_transition(TRANSITION_CLOSING, transition_picture);
        switch_tune(tune_name("VBTUNE_BATTLE"));
    }
    return true;
}

// Returns true once the closed picture has stood long enough: a game starts.
bool RunLeavingFrame(int& counter) {
    if (transition_state == TRANSITION_CLOSED) {
        if (counter > LEAVING_CLOSED_FRAMES) {
            score = 0;
            title_phase = TITLE_TUNE;
            stage_number = 1;
            return true;
        }
        ++counter;
    }
    draw_block(TemplateTable[ROW_TITLE_PICTURE]);
    DrawTitleScene();
    update_transition();
    present_frame();
    return false;
}

}  // namespace

int RunTitle() {
    random_warm_up();
    InitTitle();
    raise_best_score(&PlayData, score);
    save_play_data();

    Intro intro = {};
    int counter = 0;  // closed frames while leaving
    for (;;) {
        fill_rect(ScreenRect, 0);
        switch (title_phase) {
            case TITLE_INTRO:
                RunIntroFrame(intro);
                break;
            case TITLE_TUNE:
                StartTitleTune();
                continue;  // no frame is shown, and nothing is tested
            case TITLE_MENU:
                if (!RunMenuFrame(counter)) return MODE_QUIT;
                break;
            case TITLE_LEAVING:
                if (RunLeavingFrame(counter)) return MODE_STAGE_BATTLE;
                break;
            default:
                break;
        }
        // The title presents inside its phases, which act on Space after it.
        if (!frame_may_go_on()) return MODE_QUIT;
    }
}
