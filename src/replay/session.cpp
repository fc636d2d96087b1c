#include "replay/session.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/play_data.h"
#include "replay/build_identity.h"
#include "replay/key_script.h"
#include "replay/recorder.h"
#include "replay/replay_host.h"
#include "services/game_state.h"
#include "shell/shell.h"

namespace {

// Recordings of very long games stay far below this.
constexpr long long MAX_RECORDING_BYTES = 64LL * 1024 * 1024;

KeyScript replayed;
PlayDataRecord replayed_play_data;
RecorderFiles files;
bool recording = false;
bool play_data_recorded = false;

void record_play_data_once(int) {
    if (play_data_recorded) return;
    play_data_recorded = true;
    record_play_data();
}

int open_for_writing(const std::string& path, std::string* error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) *error = "cannot write " + path + ": " + std::strerror(errno);
    return fd;
}

bool read_recording(const std::string& path, std::string* text, std::string* error) {
    struct stat info = {};
    if (::stat(path.c_str(), &info) != 0) {
        *error = "cannot read " + path + ": " + std::strerror(errno);
        return false;
    }
    if (!S_ISREG(info.st_mode) || info.st_size > MAX_RECORDING_BYTES) {
        *error = path + " is not a recording (not a regular file of at most 64 MiB)";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    text->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in.bad() && in) return true;
    *error = "cannot read " + path;
    return false;
}

bool start_replay(const std::string& path, std::string* error) {
    std::string text, why;
    if (!read_recording(path, &text, error)) return false;
    if (!parse_key_script(text.data(), text.size(), &replayed, &why)) {
        *error = path + ": " + why;
        return false;
    }
    note_other_build(replayed, path, "zarvox");
    if (replayed.play_data.size() == sizeof replayed_play_data) {
        std::memcpy(&replayed_play_data, replayed.play_data.data(), sizeof replayed_play_data);
        use_play_data_start(&replayed_play_data);
    }
    set_play_data_saves(false);
    install_replay(
        start_script_feed(replayed.messages.data(), static_cast<int>(replayed.messages.size()),
                          replayed.times.data(), static_cast<int>(replayed.times.size()), 0));
    return true;
}

}  // namespace

bool parse_game_options(int argc, const char* const* argv, GameOptions* o, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            o->help = true;
            return true;
        }
        std::string* target = option == "--record"          ? &o->record
                              : option == "--record-hashes" ? &o->record_hashes
                              : option == "--replay"        ? &o->replay
                                                            : nullptr;
        if (!target) {
            *error = "unknown option '" + option + "'";
            return false;
        }
        if (i + 1 >= argc || argv[i + 1][0] == '\0') {
            *error = option + " needs a file";
            return false;
        }
        if (!target->empty()) {
            *error = option + " given twice";
            return false;
        }
        *target = argv[++i];
    }
    if (!o->record.empty() && !o->replay.empty()) {
        *error = "--record and --replay cannot go together";
        return false;
    }
    return true;
}

bool start_session(const GameOptions& options, std::string* error) {
    if (!options.replay.empty() && !start_replay(options.replay, error)) return false;
    files = RecorderFiles{};
    if (!options.record.empty() && (files.keys = open_for_writing(options.record, error)) < 0)
        return false;
    if (!options.record_hashes.empty() &&
        (files.hashes = open_for_writing(options.record_hashes, error)) < 0) {
        if (files.keys >= 0) ::close(files.keys);
        return false;
    }
    recording = files.keys >= 0 || files.hashes >= 0;
    if (!recording) return true;
    // A reader that goes away from a piped recording must not end the game:
    // the write fails instead and only the recording stops.
    std::signal(SIGPIPE, SIG_IGN);
    install_recorder(files);
    if (files.keys >= 0) {
        play_data_recorded = false;
        mode_started_hook = record_play_data_once;
    }
    return true;
}

bool end_session() {
    if (!recording) return true;
    recording = false;
    bool ok = remove_recorder();
    for (int fd : {files.keys, files.hashes})
        if (fd >= 0 && ::close(fd) != 0) ok = false;
    files = RecorderFiles{};
    return ok;
}
