#include "replay/recorder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "hosts/common/frame_hash.h"
#include "platform/display.h"
#include "platform/file_io.h"
#include "platform/host.h"
#include "platform/play_data.h"
#include "replay/build_identity.h"
#include "replay/key_script.h"

namespace {

// Messages the game posted to itself and has not taken back yet: they come
// again from the script's own messages on replay, so they are not written.
constexpr int MAX_POSTED = 16;

const Host* inner = nullptr;
Host recording = {};
int presents = 0;
bool inside_present = false;
Message posted[MAX_POSTED];
int posted_count = 0;

// A file that refuses a line is given up, with one message; the game and
// the other file go on.
struct Output {
    int fd;
    bool failed;
    const char* what;
};
Output keys_out = {-1, false, "the recording"};
Output hashes_out = {-1, false, "the frame hashes"};

void write_line(Output& out, const char* text, int length) {
    if (out.fd < 0 || length <= 0 || out.failed) return;
    if (write_fully(out.fd, text, static_cast<size_t>(length))) return;
    out.failed = true;
    std::fprintf(stderr, "zarvox: cannot write %s (%s); the game goes on without it\n", out.what,
                 std::strerror(errno));
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
    write_line(keys_out, text, format_script_line(line, text, sizeof text));
    return true;
}

void post_message(const Message& m) {
    if (posted_count < MAX_POSTED) posted[posted_count++] = m;
    inner->post_message(m);
}

int local_milliseconds() {
    const int ms = inner->local_milliseconds();
    char text[32];
    write_line(keys_out, text, format_time_line({presents + 1, ms}, text, sizeof text));
    return ms;
}

void frame_started() {
    ++presents;
    inside_present = true;
    if (hashes_out.fd >= 0) {
        const uint32_t* pixels = back_surface_pixels();
        const uint32_t hash =
            pixels ? hash_pixels(pixels, SCREEN_WIDTH, SCREEN_HEIGHT, back_surface_pitch()) : 0;
        char text[48];
        const int n =
            std::snprintf(text, sizeof text, "{\"frame\":%d,\"hash\":\"%08x\"}\n", presents, hash);
        write_line(hashes_out, text, n);
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
    keys_out.fd = f.keys;
    keys_out.failed = false;
    hashes_out.fd = f.hashes;
    hashes_out.failed = false;
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
    write_line(keys_out, header, n);
    char build[128];
    write_line(keys_out, build, format_build_line(build_identity(), build, sizeof build));
    install_host(&recording);
}

void record_play_data() {
    char text[256];
    write_line(keys_out, text,
               format_play_data_line(&PlayData, sizeof PlayData, text, sizeof text));
}

bool remove_recorder() {
    if (inner) install_host(inner);
    inner = nullptr;
    return !keys_out.failed && !hashes_out.failed;
}
