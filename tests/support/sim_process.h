// Runs the real zarvox-sim program in a scratch directory, as the runner's
// tests and the golden replays do, and hands back its trace and end line.
#pragma once

#include <string>
#include <vector>

#include "platform/play_data.h"
#include "support/trace_reader.h"

struct SimResult {
    int status = -1;          // the process's exit status; 137 when killed at the time limit
    std::string stderr_text;  // everything it wrote to standard error
    std::vector<Json> trace;  // one record per present
    Json end;                 // the end line, when there was one
    std::string dir;          // the scratch directory it ran in
};

struct SimRun {
    std::string script{};             // key script text (empty: no --input)
    std::vector<std::string> args{};  // further options
    bool trace = true;
    std::string play_data{};  // bytes of "PlayData.dat" to start with
    bool has_play_data = false;
    bool as_nobody = false;  // when we are root, run as `nobody` so file permissions hold
    int time_limit = 300;    // seconds before the run is killed
};

// A new empty scratch directory under the build tree's test folder,
// removed when the test program exits.
std::string make_scratch_dir(const std::string& name);
// Runs `run` in `dir`. The run's standard error goes beside `dir`, not into
// it: the folder holds only what the run was given and what it wrote.
SimResult run_sim_process(const SimRun& run, const std::string& dir);
// The runner in `dir` with only `args` and, when not empty, the key script
// `script`; no trace.
SimResult run_sim(const std::string& dir, const std::vector<std::string>& args,
                  const std::string& script = "");
std::string read_file_bytes(const std::string& path);
void write_file_bytes(const std::string& path, const std::string& bytes);
// The names in folder `dir`, sorted.
std::vector<std::string> files_in(const std::string& dir);

// The bytes of a 72-byte play record with best score `best` and rewards
// `rewards` taken.
std::string play_record(double best, const std::vector<int>& rewards = {});
// The play record in `bytes` (a PlayData.dat's), zero where they fall short.
PlayDataRecord parsed_record(const std::string& bytes);
// Whether a trace record shows the best score and rewards of the 72-byte
// play record `play_data` (a PlayData.dat's bytes).
bool trace_shows_record(const Json& record, const std::string& play_data);
