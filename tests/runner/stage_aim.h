// Plays one stage through zarvox-sim by aiming: run the stage, read where the
// enemies go, pick the fire frame and ship position whose shot pierces the
// most of them, add the keys to the script and run again. Ship moves draw no
// random numbers, so the enemies' course up to the next hit is known from the
// previous run.
#pragma once

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "support/sim_process.h"

namespace stage_aim {

constexpr int SHIP_STEP = 1536;  // a held arrow moves the ship 3 pixels a frame
constexpr int SHOT_STEP = 6144;  // the shot climbs 12 pixels a frame
constexpr int SHOT_FRAMES = 24;  // frames in which a shot is tested
constexpr int SHIP_RIGHT = 224 * 512;

// Where the enemies stand before each frame's move: per frame, per slot,
// {alive, x, y}, from the trace (which records positions after the move).
struct Course {
    std::vector<int> phase;
    std::vector<std::vector<std::array<int, 3>>> enemies;
};

inline Course course_of(const SimResult& r) {
    Course c;
    for (const Json& rec : r.trace) {
        c.phase.push_back(rec["mode"].as_int() == 2 ? static_cast<int>(rec["phase"].as_int()) : -1);
        std::vector<std::array<int, 3>> slots;
        if (rec["mode"].as_int() == 2)
            for (const Json& o : rec["objects"]["enemies"].items)
                slots.push_back({o["s"].as_int() == 0,
                                 static_cast<int>(o["x"].as_int() - o["vx"].as_int()),
                                 static_cast<int>(o["y"].as_int() - o["vy"].as_int())});
        c.enemies.push_back(slots);
    }
    return c;
}

// Enemies a shot fired at frame `fire` from ship x `ship_x` would touch.
inline int predicted_hits(const Course& c, int fire, int ship_x) {
    bool hit[19] = {};
    int hits = 0;
    for (int k = 0; k < SHOT_FRAMES; ++k) {
        const size_t i = static_cast<size_t>(fire + k - 1);
        if (i >= c.phase.size() || c.phase[i] != 1) return 0;
        const int sy = 280 * 512 - 8 - SHOT_STEP * k;
        for (int e = 0; e < 19; ++e) {
            const auto& [alive, ex, ey] = c.enemies[i][e];
            if (hit[e] || !alive) continue;
            const bool apart = sy > ey + 18 * 512 || sy + 16 * 512 < ey + 2 * 512 ||
                               ship_x + 3 * 512 > ex + 18 * 512 || ship_x + 13 * 512 < ex + 2 * 512;
            if (!apart) hit[e] = true, ++hits;
        }
    }
    return hits;
}

struct StagePlay {
    std::string script;  // the keys that play the stage
    SimResult result;    // the last run, with the whole stage in its trace
    int shots = 0;
};

// `lines` maps a frame to its script lines, kept in frame order.
inline std::string script_text(const std::multimap<int, std::string>& lines) {
    std::string text;
    for (const auto& [frame, line] : lines) text += std::to_string(frame) + " " + line + "\n";
    return text;
}

// Plays the stage the runner starts with `args` (e.g. --start 2 --stage 3),
// firing until the stage ends or `max_shots` are spent; the final run goes on
// for `tail_frames` after the last shot with `extra` added to the script.
inline StagePlay play_stage(const std::vector<std::string>& args, const std::string& dir,
                            int max_shots = 10, int tail_frames = 400) {
    StagePlay play;
    std::multimap<int, std::string> lines;
    int last_fire = 0, ship_x = 110 * 512;
    for (;;) {
        SimRun run;
        run.script = script_text(lines);
        run.args = args;
        run.args.push_back("--frames");
        run.args.push_back(std::to_string(last_fire + tail_frames));
        play.result = run_sim_process(run, dir);
        const SimResult& r = play.result;
        if (play.shots >= max_shots) break;
        // The first frame that may fire: the previous frame was in play with no shot out.
        int ready = 0;
        for (int f = std::max(last_fire, 2) + 1; f <= frames_of(r) && ready == 0; ++f) {
            const Json& prev = at(r, f - 1);
            if (prev["mode"].as_int() != 2 || prev["phase"].as_int() > 1) break;
            if (prev["phase"].as_int() == 1 && prev["objects"]["player"]["s"].as_int() == 0)
                ready = f;
        }
        if (ready == 0 || at(r, ready - 1)["objects"]["player"]["n"].as_int() == 0) break;
        if (last_fire == 0) {
            last_fire = ready - 1;
            ship_x = static_cast<int>(at(r, last_fire)["objects"]["player"]["x"].as_int());
        }
        const Course course = course_of(r);
        // Best (most hits, then soonest, then least travel) fire frame and move.
        int best_hits = -1, best_fire = 0, best_move = 0;
        for (int fire = ready; fire < ready + 200; ++fire) {
            const int reach = std::min(fire - last_fire - 2, 80);
            for (int m = 0; m <= reach; ++m) {
                for (int sign : {1, -1}) {
                    const int x = ship_x + sign * m * SHIP_STEP;
                    if (x < 0 || x > SHIP_RIGHT || (m == 0 && sign < 0)) continue;
                    const int hits = predicted_hits(course, fire, x);
                    if (hits > best_hits) best_hits = hits, best_fire = fire, best_move = sign * m;
                }
            }
        }
        if (best_hits <= 0) break;
        // The ship moves |m| frames, stops for a frame, then fires.
        const int m = std::abs(best_move);
        if (m > 0) {
            const std::string key = best_move > 0 ? "RIGHT" : "LEFT";
            const int start = best_fire - 2 - m;
            lines.emplace(start, "down " + key);
            lines.emplace(start + m, "up " + key);
        }
        lines.emplace(best_fire - 1, "press SPACE");
        ship_x += best_move * SHIP_STEP;
        last_fire = best_fire;
        ++play.shots;
    }
    play.script = script_text(lines);
    return play;
}

}  // namespace stage_aim
