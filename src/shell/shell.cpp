#include "shell/shell.h"

#include "modes/modes.h"
#include "objects/digits.h"
#include "objects/effects.h"
#include "objects/transition.h"
#include "platform/display.h"
#include "platform/host.h"
#include "platform/play_data.h"
#include "platform/resource_list.h"
#include "platform/sound.h"
#include "platform/tune_library.h"
#include "services/game_state.h"
#include "services/message_pump.h"
#include "services/present.h"
#include "services/templates.h"
#include "services/tune_switch.h"

int current_mode = 0;
int first_mode = MODE_TITLE;
void (*mode_started_hook)(int mode) = nullptr;

namespace {

int run_mode(int mode) {
    switch (mode) {
        case MODE_TITLE:
            return RunTitle();
        case MODE_STAGE_BATTLE:
            return RunStageBattle();
        case MODE_BOSS_BATTLE:
            return RunBossBattle();
        case MODE_ENDING:
            return RunEnding();
        // No mode returns anything else; treat it as the end of the game.
        default:
            return MODE_QUIT;
    }
}

}  // namespace

void init_game() {
    fill_template_table();
    init_effects();
    init_transition();
    init_digits();
    if (load_play_data() == 1) save_play_data();
}

void run_modes() {
    score = 0;
    int mode = first_mode;
    while (mode != MODE_QUIT) {
        current_mode = mode;
        if (mode_started_hook) mode_started_hook(mode);
        mode = run_mode(mode);
    }
    current_mode = MODE_QUIT;
}

int game_main() {
    const Host& h = host();
    if (!h.create_window("Zarvox", SCREEN_WIDTH, SCREEN_HEIGHT)) return 0;

    start_display(SCREEN_WIDTH, SCREEN_HEIGHT);
    vorbel_Ready(nullptr, 2, 22050, 8, 0.1f, 1, 0);
    set_sound_device(vorbel_GetDirectSound());
    for (const NamedSlot& effect : SOUND_EFFECTS) {
        if (!DirectSound_Voice_Load_Resource(effect.name, effect.slot))
            show_error_box("DirectSound_Voice_Load_Resource");
    }
    fill_rect(ScreenRect, 0);
    restart_frame_schedule();
    present_frame();
    fill_rect(ScreenRect, 0);
    load_bitmaps();
    init_game();
    run_modes();

    end_display();
    release_sounds();
    vorbel_Release();
    return 1;
}
