#include "shell/shell.h"

#include "modes/modes.h"
#include "objects/digits.h"
#include "objects/effects.h"
#include "objects/transition.h"
#include "platform/display.h"
#include "platform/host.h"
#include "platform/play_data.h"
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

// The one window there is; its handle only has to be distinct from none.
int window_token = 0;

int run_mode(int mode, WindowHandle window) {
    switch (mode) {
        case MODE_TITLE:
            return RunTitle(window);
        case MODE_STAGE_BATTLE:
            return RunStageBattle(window);
        case MODE_BOSS_BATTLE:
            return RunBossBattle(window);
        case MODE_ENDING:
            return RunEnding(window);
        // No mode returns anything else; treat it as the end of the game.
        default:
            return MODE_QUIT;
    }
}

}  // namespace

int init_game() {
    fill_template_table();
    init_effects();
    init_transition();
    init_digits();
    if (load_play_data() == 1) save_play_data();
    return 0;
}

int run_modes(WindowHandle window) {
    score = 0;
    int mode = first_mode;
    while (mode != MODE_QUIT) {
        current_mode = mode;
        if (mode_started_hook) mode_started_hook(mode);
        mode = run_mode(mode, window);
    }
    current_mode = MODE_QUIT;
    return 1;
}

int game_main() {
    const Host& h = host();
    if (!h.create_window("Zarvox", SCREEN_WIDTH, SCREEN_HEIGHT)) return 0;
    main_window = &window_token;
    WindowHandle window = main_window;

    start_display(window, SCREEN_WIDTH, SCREEN_HEIGHT);
    vorbel_Ready(window, 2, 22050, 8, 0.1f, 1, 0);
    set_sound_device(vorbel_GetDirectSound());
    const char* effects[] = {"shot", "bom", "laser"};
    for (int slot = 0; slot < 3; ++slot) {
        if (!DirectSound_Voice_Load_Resource(effects[slot], slot))
            show_error_box(window, "DirectSound_Voice_Load_Resource");
    }
    fill_rect(ScreenRect, 0);
    present_frame(window);
    fill_rect(ScreenRect, 0);
    load_bitmaps();
    init_game();
    run_modes(window);

    end_display(window);
    release_sounds();
    vorbel_Release();
    return 1;
}
