// The page's way into the game: set up the run from the query parameters,
// then run the game; and the entry points of the page's input handlers.
#include <emscripten/emscripten.h>

#include <string>

#include "hosts/web/web_host.h"
#include "hosts/web/web_page.h"
#include "modes/stage_battle.h"
#include "replay/key_script.h"
#include "services/game_state.h"
#include "services/keys.h"
#include "shell/shell.h"

namespace {

WebOptions options;
KeyScript script;
int start_score = 0;
int start_stage = 1;
std::string script_error;
// Text handed over from the page: a key event's code and key.
char text[2][64];

void on_mode_started(int) {
    static bool first_seen = false;
    if (first_seen) return;
    first_seen = true;
    score = start_score;
    stage_number = start_stage;
}

void on_present_begun(int) {
    const int32_t ship_x = current_mode == MODE_STAGE_BATTLE ? stage::player.x : 0;
    web_game_state(current_mode, KeyState, ship_x);
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE char* web_text(int which) {
    return text[which & 1];
}

// The run's settings; -1 leaves a value as the plain game has it.
EMSCRIPTEN_KEEPALIVE void web_configure(int ms_of_second, int virtual_clock, int frames, int start,
                                        int stage, int score_at_start, int testing) {
    options.ms_of_second = ms_of_second;
    options.virtual_clock = virtual_clock != 0;
    options.quit_after_frame = frames > 0 ? frames : 0;
    options.record_hashes = testing != 0;
    options.present_begun = testing != 0 ? on_present_begun : nullptr;
    if (start > 0) first_mode = start;
    if (stage > 0) start_stage = stage;
    if (score_at_start >= 0) start_score = score_at_start;
}

// A key script; null when it reads well, else the first problem.
EMSCRIPTEN_KEEPALIVE const char* web_load_script(const char* text_begin, int length) {
    if (!parse_key_script(text_begin, static_cast<size_t>(length), &script, &script_error))
        return script_error.c_str();
    return nullptr;
}

// Runs the whole game; the exit status as the desktop program gives it.
EMSCRIPTEN_KEEPALIVE int web_run() {
    options.script = script.messages.data();
    options.script_length = static_cast<int>(script.messages.size());
    options.times = script.times.data();
    options.time_count = static_cast<int>(script.times.size());
    install_web_host(options);
    mode_started_hook = on_mode_started;
    return game_main() == 1 ? 0 : 1;
}

EMSCRIPTEN_KEEPALIVE void web_key(int pressed, int repeat, int alt) {
    web_key_event(text[0], text[1], pressed != 0, repeat != 0, alt != 0);
}

EMSCRIPTEN_KEEPALIVE void web_pointer(int action, int x, int y) {
    web_pointer_event(static_cast<PointerAction>(action), x, y);
}

EMSCRIPTEN_KEEPALIVE void web_touch(int vk, int pressed) {
    web_touch_button(static_cast<uint32_t>(vk), pressed != 0);
}

EMSCRIPTEN_KEEPALIVE void web_pad(int slot, int button, int pressed) {
    web_pad_button(slot, button, pressed != 0);
}

EMSCRIPTEN_KEEPALIVE void web_stick(int slot, int value) {
    web_pad_stick(slot, value);
}

EMSCRIPTEN_KEEPALIVE void web_pad_removed(int slot) {
    web_pad_gone(slot);
}

EMSCRIPTEN_KEEPALIVE void web_pause_game(int reason, int on) {
    web_pause(static_cast<PauseReason>(reason), on != 0);
}

EMSCRIPTEN_KEEPALIVE void web_audio_pull(int frames) {
    web_pull_audio(frames);
}

}  // extern "C"
