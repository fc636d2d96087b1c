#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "hosts/common/frame_hash.h"
#include "hosts/headless/headless_host.h"
#include "objects/effects.h"
#include "objects/transition.h"
#include "platform/display.h"
#include "platform/file_io.h"
#include "platform/play_data.h"
#include "platform/resources.h"
#include "platform/tune_render.h"
#include "replay/build_identity.h"
#include "replay/key_script.h"
#include "services/game_state.h"
#include "services/keys.h"
#include "shell/shell.h"
#include "sim/alloc_count.h"
#include "sim/audio_capture.h"
#include "sim/autoplay.h"
#include "sim/image_file.h"
#include "sim/input_file.h"
#include "sim/json_out.h"
#include "sim/render_audio.h"
#include "sim/sim.h"
#include "sim/trace_modes.h"

namespace {

constexpr int MAX_EVENTS = 256;
constexpr int CALL_TEXT = 64;

// Everything the trace gathers between two records, in fixed storage.
struct TraceState {
    const SimOptions* options = nullptr;
    std::FILE* trace = nullptr;
    ReplacedFile trace_file;  // where a trace to a file goes until it is whole
    int trace_error = 0;      // errno of the first failed trace write
    JsonOut record;
    char tune[CALL_TEXT] = "";
    char tune_calls[MAX_EVENTS][CALL_TEXT] = {};
    int tune_call_count = 0;
    int sounds[MAX_EVENTS] = {};
    int sound_count = 0;
    char boxes[MAX_EVENTS][CALL_TEXT] = {};
    int box_count = 0;
    int frames = 0;
    bool shot_failed = false;
    bool first_mode_seen = false;
};

TraceState state;

int mode_phase(int mode) {
    switch (mode) {
        case MODE_TITLE:
            return title_trace_phase();
        case MODE_STAGE_BATTLE:
            return stage_trace_phase();
        case MODE_BOSS_BATTLE:
            return boss_trace_phase();
        case MODE_ENDING:
            return ending_trace_phase();
        default:
            return -1;
    }
}

void mode_objects(int mode, JsonOut& out) {
    switch (mode) {
        case MODE_TITLE:
            title_trace_objects(out);
            break;
        case MODE_STAGE_BATTLE:
            stage_trace_objects(out);
            break;
        case MODE_BOSS_BATTLE:
            boss_trace_objects(out);
            break;
        case MODE_ENDING:
            ending_trace_objects(out);
            break;
        default:
            break;
    }
}

void copy_text(char* to, const char* from) {
    std::strncpy(to, from, CALL_TEXT - 1);
    to[CALL_TEXT - 1] = '\0';
}

void on_frame_started(int frame, void*) {
    state.frames = frame;
    const uint32_t* pixels = back_surface_pixels();
    for (const auto& [shot_frame, file] : state.options->shots) {
        if (shot_frame == frame && pixels &&
            !write_image(file, pixels, SCREEN_WIDTH, SCREEN_HEIGHT, back_surface_pitch())) {
            std::fprintf(stderr, "zarvox-sim: cannot write %s: %s\n", file.c_str(),
                         std::strerror(errno));
            state.shot_failed = true;
        }
    }
    if (!state.trace) return;
    JsonOut& r = state.record;
    r.clear();
    const int mode = current_mode;
    r.field("mode", mode);
    r.field("phase", mode == 0 ? -1 : mode_phase(mode));
    r.field("keys", KeyState);
    r.field("score", score);
    r.field("stage", stage_number);
    r.field("best", PlayData.best_score);
    r.key("rewards");
    r.begin_array();
    for (int32_t flag : PlayData.rewards) r.value(static_cast<int64_t>(flag));
    r.end_array();
    r.field("transition", transition_state);
    r.field("picture", transition_picture);
    r.field("tune", state.tune);
    r.key("tune_calls");
    r.begin_array();
    for (int i = 0; i < state.tune_call_count; ++i) r.value(state.tune_calls[i]);
    r.end_array();
    r.key("sounds");
    r.begin_array();
    for (int i = 0; i < state.sound_count; ++i) r.value(static_cast<int64_t>(state.sounds[i]));
    r.end_array();
    r.key("boxes");
    r.begin_array();
    for (int i = 0; i < state.box_count; ++i) r.value(state.boxes[i]);
    r.end_array();
    r.field("effects", live_particles());
    char hash[16];
    std::snprintf(
        hash, sizeof hash, "%08x",
        pixels ? hash_pixels(pixels, SCREEN_WIDTH, SCREEN_HEIGHT, back_surface_pitch()) : 0u);
    r.field("hash", hash);
    r.key("objects");
    r.begin_object();
    mode_objects(mode, r);
    r.end_object();
    state.tune_call_count = state.sound_count = state.box_count = 0;
}

// The record is taken before the player posts its keys, as it is before a
// script's keys are queued. A look-ahead child only plays: it writes no
// trace and no shots, and everything else it would write is the parent's.
void on_frame_begun(int frame, void* user) {
    if (!autoplay_in_lookahead()) on_frame_started(frame, user);
    autoplay_frame(frame);
}

void on_frame_finished(int frame, uint32_t ms, void*) {
    if (!state.trace || autoplay_in_lookahead()) return;
    if (std::fprintf(state.trace, "{\"frame\":%d,\"ms\":%u,%s}\n", frame, ms, state.record.text()) <
            0 &&
        state.trace_error == 0)
        state.trace_error = errno;
}

void on_sound(int slot, void*) {
    if (state.sound_count < MAX_EVENTS) state.sounds[state.sound_count++] = slot;
}

void on_tune_call(const char* call, void*) {
    if (std::strncmp(call, "load ", 5) == 0) copy_text(state.tune, call + 5);
    if (state.tune_call_count < MAX_EVENTS)
        copy_text(state.tune_calls[state.tune_call_count++], call);
}

void on_message_box(const char* text, void*) {
    if (state.box_count < MAX_EVENTS) copy_text(state.boxes[state.box_count++], text);
}

void on_mode_started(int) {
    if (state.first_mode_seen) return;
    state.first_mode_seen = true;
    score = state.options->score;
    stage_number = state.options->stage;
    if (!state.trace && state.options->shots.empty()) set_allocation_counting(true);
}

bool cannot_write(const std::string& path, int error) {
    std::fprintf(stderr, "zarvox-sim: cannot write %s: %s\n", path.c_str(), std::strerror(error));
    return false;
}

// Every resource, or (after saying why) none: what this dump made so far
// is removed again when a file cannot be written.
int dump_resources(const std::string& dir) {
    std::vector<std::string> made;
    auto fail = [&made](const std::string& path, int error) {
        cannot_write(path, error);
        for (auto it = made.rbegin(); it != made.rend(); ++it) ::remove(it->c_str());
        return 1;
    };
    auto make_dir = [&made](const std::string& path) {
        if (::mkdir(path.c_str(), 0755) == 0) {
            made.push_back(path);
            return true;
        }
        return errno == EEXIST;
    };
    size_t count = 0;
    const ResourceEntry* table = resource_table(&count);
    if (!make_dir(dir)) return fail(dir, errno);
    for (size_t i = 0; i < count; ++i) {
        const std::string type_dir = dir + "/" + table[i].type;
        if (!make_dir(type_dir)) return fail(type_dir, errno);
        const std::string path = type_dir + "/" + table[i].name;
        if (!write_whole_file(path.c_str(), table[i].bytes, table[i].size))
            return fail(path, errno);
        made.push_back(path);
    }
    return 0;
}

// Opens the trace: standard output, or a file that appears only once it is
// whole. False after saying why.
bool open_trace(const std::string& path) {
    if (path == "-") {
        state.trace = stdout;
        return true;
    }
    if (!begin_replace(&state.trace_file, path.c_str(), true)) return cannot_write(path, errno);
    const int fd = ::dup(state.trace_file.fd);
    state.trace = fd < 0 ? nullptr : ::fdopen(fd, "w");
    if (state.trace) return true;
    const int error = errno;
    if (fd >= 0) ::close(fd);
    abandon_replace(&state.trace_file);
    return cannot_write(path, error);
}

// Finishes the trace; false after saying why, with no partial file left.
bool close_trace(const std::string& path) {
    if (!state.trace) return true;
    if (std::fflush(state.trace) != 0 && state.trace_error == 0) state.trace_error = errno;
    if (std::ferror(state.trace) && state.trace_error == 0) state.trace_error = EIO;
    const bool to_stdout = state.trace == stdout;
    if (!to_stdout && std::fclose(state.trace) != 0 && state.trace_error == 0)
        state.trace_error = errno;
    state.trace = nullptr;
    if (to_stdout) {
        if (state.trace_error == 0) return true;
        std::fprintf(stderr, "zarvox-sim: cannot write the trace to standard output: %s\n",
                     std::strerror(state.trace_error));
        return false;
    }
    if (state.trace_error != 0) {
        abandon_replace(&state.trace_file);
        return cannot_write(path, state.trace_error);
    }
    if (!finish_replace(&state.trace_file, false)) return cannot_write(path, errno);
    return true;
}

}  // namespace

int run_sim(const SimOptions& options) {
    if (!options.dump_dir.empty()) return dump_resources(options.dump_dir);
    if (options.render_tune) return run_render_tune(options);
    if (options.render_score) return run_render_score(options);

    KeyScript script;
    PlayDataRecord recorded_start = {};
    if (!options.input.empty()) {
        std::string text, error;
        if (!read_input(options.input, &text, &error)) {
            std::fprintf(stderr, "zarvox-sim: cannot read --input %s: %s\n", options.input.c_str(),
                         error.c_str());
            return 2;
        }
        if (!parse_key_script(text.data(), text.size(), &script, &error)) {
            std::fprintf(stderr, "zarvox-sim: %s: %s\n", options.input.c_str(), error.c_str());
            return 2;
        }
        note_other_build(script, options.input, "zarvox-sim");
    }
    if (options.recorded_play_data) {
        if (script.play_data.size() != sizeof recorded_start) {
            std::fprintf(stderr, "zarvox-sim: %s names no play data\n", options.input.c_str());
            return 2;
        }
        std::memcpy(&recorded_start, script.play_data.data(), sizeof recorded_start);
        use_play_data_start(&recorded_start);
    }

    state.options = &options;
    if (!options.audio.empty() && !open_audio_capture(options.audio)) return 1;
    if (!options.trace.empty() && !open_trace(options.trace)) {
        abandon_audio_capture();
        return 1;
    }

    HeadlessConfig config;
    config.script = script.messages.data();
    config.script_length = static_cast<int>(script.messages.size());
    config.quit_after_frame = options.frames;
    config.ms_of_second = options.ms_of_second;
    config.times = script.times.data();
    config.time_count = static_cast<int>(script.times.size());
    config.observer = {on_frame_begun,
                       nullptr,
                       on_frame_finished,
                       on_sound,
                       on_tune_call,
                       on_message_box,
                       options.audio.empty() ? nullptr : capture_audio,
                       nullptr};
    install_headless_host(config);
    first_mode = options.start;
    mode_started_hook = on_mode_started;
    if (options.autoplay) start_autoplay();

    const int result = game_main();
    set_allocation_counting(false);
    use_play_data_start(nullptr);
    if (autoplay_in_lookahead()) end_lookahead_child();
    int status = result == 1 ? 0 : 1;
    if (!options.autoplay_script.empty() && !write_autoplay_script(options.autoplay_script.c_str()))
        status = 1;

    if (!close_trace(options.trace)) status = 1;
    if (!close_audio_capture(options.audio)) status = 1;
    if (state.shot_failed) status = 1;
    char allocs[32] = "null";
    if (options.trace.empty() && options.shots.empty() && allocation_counting_available())
        std::snprintf(allocs, sizeof allocs, "%ld", allocations_counted());
    std::fprintf(stderr, "{\"end\": true, \"frames\": %d, \"status\": %d, \"allocs\": %s}\n",
                 state.frames, status, allocs);
    return status;
}
