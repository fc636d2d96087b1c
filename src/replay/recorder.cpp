#include "replay/recorder.h"

#include <cstdio>

#include "platform/display.h"
#include "platform/file_io.h"
#include "platform/frame_hash.h"
#include "platform/host.h"
#include "platform/play_data.h"
#include "sim/key_script.h"

namespace {

// Messages the game posted to itself and has not taken back yet: they come
// again from the script's own messages on replay, so they are not written.
constexpr int MAX_POSTED = 16;

const Host* inner = nullptr;
Host recording = {};
RecorderFiles files;
bool failed = false;
int presents = 0;
bool inside_present = false;
Message posted[MAX_POSTED];
int posted_count = 0;

void write_line(int fd, const char* text, int length) {
    if (fd < 0 || length <= 0 || failed) return;
    if (write_fully(fd, text, static_cast<size_t>(length))) return;
    // The game goes on; only the recording stops.
    failed = true;
    std::fprintf(stderr, "zarvox: the recording could not be written; it stops here\n");
}

bool same(const Message& a, const Message& b) {
    return a.id == b.id && a.wparam == b.wparam && a.lparam == b.lparam;
}

bool take_back_posted(const Message& m) {
    for (int i = 0; i < posted_count; ++i) {
        if (!same(posted[i], m)) continue;
        for (int j = i + 1; j < posted_count; ++j) posted[j - 1] = posted[j];
        --posted_count;
        return true;
    }
    return false;
}

bool take_message(Message* out) {
    if (!inner->take_message(out)) return false;
    if (take_back_posted(*out)) return true;
    // Before present 1 no pump runs; a message then would be present 1's.
    const ScriptedMessage line = {presents > 0 ? presents : 1, *out,
                                  presents > 0 && !inside_present};
    char text[64];
    write_line(files.keys, text, format_script_line(line, text, sizeof text));
    return true;
}

void post_message(const Message& m) {
    if (posted_count < MAX_POSTED) posted[posted_count++] = m;
    inner->post_message(m);
}

int local_milliseconds() {
    const int ms = inner->local_milliseconds();
    char text[32];
    write_line(files.keys, text, format_time_line({presents + 1, ms}, text, sizeof text));
    return ms;
}

void frame_started() {
    ++presents;
    inside_present = true;
    if (files.hashes >= 0) {
        const uint32_t* pixels = back_surface_pixels();
        const uint32_t hash =
            pixels ? hash_pixels(pixels, SCREEN_WIDTH, SCREEN_HEIGHT, back_surface_pitch()) : 0;
        char text[48];
        const int n =
            std::snprintf(text, sizeof text, "{\"frame\":%d,\"hash\":\"%08x\"}\n", presents, hash);
        write_line(files.hashes, text, n);
    }
    inner->frame_started();
}

void frame_finished() {
    inner->frame_finished();
    inside_present = false;
}

}  // namespace

void install_recorder(const RecorderFiles& f) {
    inner = &host();
    files = f;
    failed = false;
    presents = 0;
    inside_present = false;
    posted_count = 0;
    recording = *inner;
    recording.take_message = take_message;
    recording.post_message = post_message;
    recording.local_milliseconds = local_milliseconds;
    recording.frame_started = frame_started;
    recording.frame_finished = frame_finished;
    char header[32];
    const int n = std::snprintf(header, sizeof header, "%s\n", KEY_SCRIPT_HEADER);
    write_line(files.keys, header, n);
    install_host(&recording);
}

void record_play_data() {
    char text[256];
    write_line(files.keys, text,
               format_play_data_line(&PlayData, sizeof PlayData, text, sizeof text));
}

bool remove_recorder() {
    if (inner) install_host(inner);
    inner = nullptr;
    return !failed;
}
