// Runs the real zarvox-sim program in a scratch directory, as the runner's
// tests and the golden replays do, and hands back its trace and end line.
#pragma once

#include <string>
#include <vector>

#include "support/trace_reader.h"

struct SimResult {
    int status = -1;          // the process's exit status
    std::string stderr_text;  // everything it wrote to standard error
    std::vector<Json> trace;  // one record per present
    Json end;                 // the end line, when there was one
    std::string dir;          // the scratch directory it ran in
};

struct SimRun {
    std::string script;             // key script text (empty: no --input)
    std::vector<std::string> args;  // further options
    bool trace = true;
    std::string play_data;  // bytes of "PlayData.dat" to start with
    bool has_play_data = false;
};

// A new empty scratch directory under the build tree's test folder,
// removed when the test program exits.
std::string make_scratch_dir(const std::string& name);
SimResult run_sim_process(const SimRun& run, const std::string& dir);
std::string read_file_bytes(const std::string& path);
// The record of present `frame` (presents count from 1) and the number of records.
const Json& at(const SimResult& r, int frame);
int frames_of(const SimResult& r);
void write_file_bytes(const std::string& path, const std::string& bytes);

// Whether a trace record shows the best score and rewards of the 72-byte
// play record `play_data` (a PlayData.dat's bytes).
bool trace_shows_record(const Json& record, const std::string& play_data);
