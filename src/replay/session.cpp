#include "replay/session.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "platform/file_io.h"
#include "platform/play_data.h"
#include "replay/build_identity.h"
#include "replay/key_script.h"
#include "replay/path_clash.h"
#include "replay/recorder.h"
#include "replay/replay_host.h"
#include "services/game_state.h"
#include "shell/shell.h"

const char* const GAME_USAGE =
    "Usage: zarvox [--record FILE] [--record-hashes FILE] [--replay FILE]\n"
    "Plays Zarvox in a window.\n"
    "\n"
    "  --record FILE         write the keys of this game down, to replay it later\n"
    "  --record-hashes FILE  write the hash of every frame shown\n"
    "  --replay FILE         play a recorded game back\n"
    "  --help                print this and exit\n"
    "\n"
    "Keys: arrows move, Space fires, Escape quits, P (or Pause, or a controller's\n"
    "Start) pauses and plays on, M mutes, - and + (or [ and ]) set the volume,\n"
    "F11 or Alt+Enter toggles fullscreen. The game pauses when its window loses\n"
    "the focus. The volume is kept in zarvox-settings.txt beside PlayData.dat.\n";

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
    const int fd = create_output_file(path.c_str());
    if (fd < 0) *error = "cannot write " + path + ": " + std::strerror(errno);
    return fd;
}

bool read_recording(const std::string& path, std::string* text, std::string* error) {
    bool not_regular = false;
    long long size = 0;
    std::FILE* in = open_regular_file(path.c_str(), &not_regular, &size);
    if (!in && !not_regular) {
        *error = "cannot read " + path + ": " + std::strerror(errno);
        return false;
    }
    if (!in || size > MAX_RECORDING_BYTES) {
        if (in) std::fclose(in);
        *error = path + " is not a recording (not a regular file of at most 64 MiB)";
        return false;
    }
    text->clear();
    char block[1 << 14];
    size_t n = 0;
    while ((n = std::fread(block, 1, sizeof block, in)) > 0) text->append(block, n);
    const bool ok = !std::ferror(in);
    std::fclose(in);
    if (ok) return true;
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
    std::vector<NamedPath> outputs, inputs = {play_data_input()};
    if (!o->record.empty()) outputs.push_back({"--record", o->record});
    if (!o->record_hashes.empty()) outputs.push_back({"--record-hashes", o->record_hashes});
    if (!o->replay.empty()) inputs.push_back({"--replay", o->replay});
    *error = find_path_clash(outputs, inputs);
    return error->empty();
}

bool start_session(const GameOptions& options, std::string* error) {
    if (!options.replay.empty() && !start_replay(options.replay, error)) return false;
    files = RecorderFiles{};
    if (!options.record.empty() && (files.keys = open_for_writing(options.record, error)) < 0)
        return false;
    if (!options.record_hashes.empty() &&
        (files.hashes = open_for_writing(options.record_hashes, error)) < 0) {
        if (files.keys >= 0) close_file(files.keys);
        return false;
    }
    recording = files.keys >= 0 || files.hashes >= 0;
    if (!recording) return true;
        // A reader that goes away from a piped recording must not end the game:
        // the write fails instead and only the recording stops.
#ifdef SIGPIPE
    std::signal(SIGPIPE, SIG_IGN);
#endif
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
        if (fd >= 0 && !close_file(fd)) ok = false;
    files = RecorderFiles{};
    return ok;
}
