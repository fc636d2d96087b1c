// The player's driver: picks the keys for the running mode, posts the key
// messages that get there from the keys now held, and keeps every message
// it posted (in fixed storage) for the replay script.
#include "sim/autoplay.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "modes/title_state.h"
#include "platform/file_io.h"
#include "platform/host.h"
#include "replay/key_script.h"
#include "services/game_state.h"
#include "services/keys.h"
#include "shell/shell.h"
#include "sim/autoplay_internal.h"

namespace {

using autoplay::Keys;

// The ending plays this many frames before the player quits with Escape.
constexpr int ENDING_FRAMES_WATCHED = 200;
constexpr int MAX_POSTED = 32768;

struct Posted {
    int frame;
    uint32_t message;
    uint32_t key;
};

struct KeyBinding {
    Keys bit;
    uint32_t virtual_key;
};
constexpr KeyBinding BINDINGS[] = {
    {KEY_LEFT, VK_LEFT}, {KEY_RIGHT, VK_RIGHT}, {KEY_SPACE, VK_SPACE}, {KEY_QUIT, VK_ESCAPE}};

bool enabled = false;
Keys held = 0;
int ending_frames = 0;
Posted posted[MAX_POSTED];
int posted_count = 0;
bool posted_overflow = false;

void post(int frame, uint32_t message, uint32_t key) {
    host().post_message(Message{message, key, 0});
    if (autoplay::in_lookahead()) return;
    if (posted_count == MAX_POSTED) {
        posted_overflow = true;
        return;
    }
    posted[posted_count++] = {frame, message, key};
}

// Key-ups first, then key-downs, so a change of direction never has both held.
void hold(int frame, Keys want) {
    for (const KeyBinding& b : BINDINGS)
        if ((held & b.bit) && !(want & b.bit)) post(frame, WM_KEYUP, b.virtual_key);
    for (const KeyBinding& b : BINDINGS)
        if (!(held & b.bit) && (want & b.bit)) post(frame, WM_KEYDOWN, b.virtual_key);
    held = want;
}

Keys title_keys() {
    // Space skips the intro, then starts a game.
    if (title_phase == TITLE_INTRO || title_phase == TITLE_MENU)
        return autoplay::tap(held, KEY_SPACE);
    return 0;
}

Keys ending_keys() {
    ending_frames += 1;
    return ending_frames >= ENDING_FRAMES_WATCHED ? KEY_QUIT : 0;
}

Keys decide(int frame) {
    if (current_mode != MODE_ENDING) ending_frames = 0;
    switch (current_mode) {
        case MODE_TITLE:
            return title_keys();
        case MODE_STAGE_BATTLE:
            return autoplay::stage_keys(frame, held);
        case MODE_BOSS_BATTLE:
            return autoplay::boss_keys(frame, held);
        case MODE_ENDING:
            return ending_keys();
        default:
            return 0;
    }
}

}  // namespace

void start_autoplay() {
    enabled = true;
    held = 0;
    ending_frames = 0;
    posted_count = 0;
    posted_overflow = false;
}

bool autoplay_enabled() {
    return enabled;
}

bool autoplay_in_lookahead() {
    return autoplay::in_lookahead();
}

void autoplay_frame(int frame) {
    if (!enabled) return;
    const bool was_child = autoplay::in_lookahead();
    Keys want = was_child ? autoplay::child_keys(frame) : decide(frame);
    // A planner that forked in this frame returns at once in the child,
    // which then plays this frame's keys by its own step.
    if (!was_child && autoplay::in_lookahead()) want = autoplay::child_keys(frame);
    hold(frame, want);
}

void end_lookahead_child() {
    autoplay::finish_lookahead();
}

bool write_autoplay_script(const char* path) {
    if (posted_overflow) {
        std::fprintf(stderr, "zarvox-sim: more than %d key messages; no script written\n",
                     MAX_POSTED);
        return false;
    }
    std::string text = "# keys posted by --autoplay\n";
    for (int i = 0; i < posted_count; ++i) {
        const Posted& p = posted[i];
        text += std::to_string(p.frame) + (p.message == WM_KEYDOWN ? " down " : " up ") +
                key_name_from_code(p.key) + "\n";
    }
    if (!write_whole_file(path, text.data(), text.size())) {
        std::fprintf(stderr, "zarvox-sim: cannot write %s: %s\n", path, std::strerror(errno));
        return false;
    }
    return true;
}
