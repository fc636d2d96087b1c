// zarvox-sim: the real game on the headless host, driven by a key script.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct SimOptions {
    std::string input;
    bool recorded_play_data = false;  // start from the play record --input names
    int frames = 100000;
    std::string trace;
    std::string audio;  // --audio: the WAVE of everything the game played
    std::vector<std::pair<int, std::string>> shots;
    int ms_of_second = 0;
    int start = 1;
    int stage = 1;
    int score = 0;
    bool autoplay = false;
    std::string autoplay_script;
    std::string dump_dir;
    bool render_tune = false;
    std::string tune_name;
    double tune_seconds = 0;
    std::string tune_file;
    bool render_score = false;
    std::string score_path;
    double score_seconds = 0;
    std::string score_wave;
};

// False with a one-line reason for an unknown option or a bad value.
bool parse_sim_options(int argc, const char* const* argv, SimOptions* options, std::string* error);

// Runs what the options ask for and returns the process's exit status.
int run_sim(const SimOptions& options);
