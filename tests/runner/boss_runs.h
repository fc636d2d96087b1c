// Runs of the boss battle through zarvox-sim, and a little aiming: from a
// run in which the ship stays put, work out when a shot fired from there
// would meet the boss.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/sim_process.h"

namespace boss_runs {

constexpr int FIRST_FIGHT_FRAME = 387;  // present 2 + the 385 intro frames
constexpr int64_t SHIP_X = 0xDC00;
constexpr int64_t SHIP_Y = 0x23000;
constexpr int SHOT_FRAMES = 18;

inline SimResult run_boss(const std::string& name, const std::string& script, int frames,
                          int ms_of_second, int score = 70,
                          const std::string* play_data = nullptr) {
    SimRun run;
    run.script = script;
    run.args = {"--start",        "3",
                "--score",        std::to_string(score),
                "--frames",       std::to_string(frames),
                "--ms-of-second", std::to_string(ms_of_second)};
    if (play_data) {
        run.play_data = *play_data;
        run.has_play_data = true;
    }
    return run_sim_process(run, make_scratch_dir(name));
}

// The record of present `frame` (presents count from 1).
inline const Json& at(const SimResult& r, int frame) {
    return r.trace.at(frame - 1);
}
inline const Json& obj(const SimResult& r, int frame, const std::string& name) {
    return at(r, frame)["objects"][name];
}

inline int count_sounds(const SimResult& r, int from, int to, int slot) {
    int n = 0;
    for (int f = from; f <= to && f <= static_cast<int>(r.trace.size()); ++f) {
        const Json& sounds = at(r, f)["sounds"];
        for (size_t i = 0; i < sounds.size(); ++i) n += sounds[i].as_int() == slot;
    }
    return n;
}

// First present at or after `from` whose record satisfies `pred`, or -1.
template <typename Pred>
int find_frame(const SimResult& r, int from, Pred pred) {
    for (int f = from; f <= static_cast<int>(r.trace.size()); ++f)
        if (pred(at(r, f))) return f;
    return -1;
}

// The first present in which the ship of a run is struck, or -1.
inline int strike_frame(const SimResult& r) {
    return find_frame(r, 2, [](const Json& j) {
        return j["mode"].as_int() == 3 && j["objects"]["player"]["s"].as_int() == 2;
    });
}

// A shot taken in frame `fire` by a ship resting at 110 px: the frame in
// which it would first touch the roaming boss, or -1. The hit test sees both
// where they were before the frame's move.
inline int hit_frame_for(const SimResult& r, int fire) {
    for (int j = 0; j < SHOT_FRAMES; ++j) {
        const int f = fire + j;
        if (f > static_cast<int>(r.trace.size())) return -1;
        const Json& b = obj(r, f, "boss");
        if (b["s"].as_int() != 0) return -1;
        const int64_t bx = b["x"].as_int() - b["vx"].as_int();
        const int64_t by = b["y"].as_int() - b["vy"].as_int();
        const int64_t sx = SHIP_X, sy = SHIP_Y - 8 - 0x2000 * j;
        const bool apart = sy > by + 16 * 512 || sy + 16 * 512 < by ||
                           sx + 3 * 512 > bx + 16 * 512 || sx + 13 * 512 < bx;
        if (!apart) return f;
    }
    return -1;
}

struct Aim {
    int fire = -1;  // the frame that takes Space
    int hit = -1;   // the frame whose hit test meets the boss
};

// The earliest shot that meets the boss before the ship is struck.
inline Aim aim_at_boss(const SimResult& still) {
    const int strike = strike_frame(still);
    const int last = strike > 0 ? strike : static_cast<int>(still.trace.size()) - SHOT_FRAMES;
    for (int fire = FIRST_FIGHT_FRAME; fire < last; ++fire) {
        const int hit = hit_frame_for(still, fire);
        if (hit > 0 && (strike < 0 || hit <= strike)) return {fire, hit};
    }
    return {};
}

// Space taken in exactly frame `fire`: down before it, up in it.
inline std::string press_space_for(int fire) {
    return std::to_string(fire - 1) + " press SPACE\n";
}

}  // namespace boss_runs
