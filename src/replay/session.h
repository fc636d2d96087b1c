// The game's command line: recording a game as it is played, and playing a
// recording back in the window.
#pragma once

#include <string>

// What `zarvox --help` prints: the options and the keys.
extern const char* const GAME_USAGE;

struct GameOptions {
    std::string record;         // --record FILE: the key script of this game
    std::string record_hashes;  // --record-hashes FILE: the hash of each present
    std::string replay;         // --replay FILE: play this recording back
    bool help = false;          // --help (or -h): print the usage and stop
};

// False with a one-line reason for an unknown option or a missing value, or
// an output that names an input, the play data or another output.
bool parse_game_options(int argc, const char* const* argv, GameOptions* options,
                        std::string* error);

// Opens the files the options name and wraps the installed host in the
// recorder and the replay they ask for. False with a one-line reason when a
// file cannot be read or written or a recording is refused.
bool start_session(const GameOptions& options, std::string* error);

// Unwraps the host and closes the files. False when a recording could not
// be written completely.
bool end_session();
