// Golden replays: a key script and runner options whose whole trace and
// final play data are pinned. Each case is a line of cases.txt; its pinned
// result lives in NAME.golden beside it, and its keys (if any) in NAME.keys.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "support/trace_reader.h"

namespace golden {

struct Case {
    std::string name;
    std::vector<std::string> args;  // runner options
    std::string play_data;          // bytes of PlayData.dat to start with
    bool has_play_data = false;
};

// One line per present: the digest of each top-level trace field whose text
// changed since the previous present ("frame" is checked by position).
struct Pinned {
    std::vector<std::map<std::string, uint32_t>> changes;  // index 0 is present 1
    int status = -1;
    std::string play_data_hex;  // "none" when the run left no file
};

// Parses cases.txt: `name | options | hex bytes of the starting PlayData.dat`.
std::vector<Case> read_cases(const std::string& text, std::string* error);

// Turns a trace, each field digested as the exact text the runner wrote,
// into the pinned form.
Pinned pin_trace(const std::vector<Json>& trace, int status, const std::string& play_data_hex);

std::string write_pinned(const Pinned& pinned);
bool read_pinned(const std::string& text, Pinned* out, std::string* error);

// The first difference between what was pinned and what ran, as
// "frame N: field F ..." ; empty when they agree.
std::string first_difference(const Pinned& expected, const Pinned& actual);

}  // namespace golden
