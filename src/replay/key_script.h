// The runner's key script: one message per line, "<N> down|up|press <KEY>",
// "<N> close", "<N> menu", "<N> quit"; '#' starts a comment. Recordings of a
// played game add a first line naming the format ("# zarvox keys 1"), the
// build that made them ("# zarvox build <identity>"), the play record the
// game started from ("# play data <144 hex digits>"), reads of the local time
// ("<N> ms <M>") and messages that reached the game in the pump ending frame
// N rather than inside present N ("<N> after down SPACE").
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "replay/script_feed.h"

struct KeyScript {
    std::vector<ScriptedMessage> messages;  // by frame, inside before after
    std::vector<ScriptedTime> times;
    std::string play_data;  // the recorded play record's bytes; empty when none
    std::string build;      // the build that recorded it; empty when unsaid
};

constexpr const char* KEY_SCRIPT_HEADER = "# zarvox keys 1";

// Parses a whole script. On failure returns false and describes the first
// bad line in `error` ("line 3: unknown key 'Q'").
bool parse_key_script(const char* text, size_t length, KeyScript* out, std::string* error);

// The script line for a message, a read of the local time or a play record,
// with its newline, written into `out` without allocating. Returns its
// length; 0 when the message has no script form or `out` is too small.
int format_script_line(const ScriptedMessage& message, char* out, int size);
int format_time_line(const ScriptedTime& time, char* out, int size);
int format_play_data_line(const void* record, int record_size, char* out, int size);
// The line naming the build that records; 0 for an empty identity.
int format_build_line(const char* build, char* out, int size);

// The virtual-key code of a key name ("LEFT", "SPACE", "0x51"); -1 if unknown.
int key_code_from_name(const std::string& name);
// The name a key script uses for a virtual-key code.
std::string key_name_from_code(uint32_t code);
