// Whole games played by the runner's own player (--autoplay): the road from
// the title through the three stages and the boss to the ending, what the
// victory leaves in "PlayData.dat", and the recorded keys replaying the very
// same game without a single allocation.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/sim_process.h"

namespace {

constexpr int STAGE = 2, BOSS = 3, BOSS_TOTAL = 66, PRIZE_REVEAL = 4, ENDING = 4;

// What a whole game's trace shows, one record at a time (the trace of a
// whole game is too large to hold parsed).
struct Road {
    std::vector<int> modes;  // the modes entered, a stage battle once per stage
    int records = 0;
    bool frames_in_order = true;  // records 1, 2, 3, ... and nothing else
    int stage3_total = -1;        // score plus shots left as the prize reveal begins
    int ending_frames = 0;
    int final_score = -1;
    int stage_shots = 0;
    int stage_misses = 0;      // stage shots that touched no enemy
    bool ship_struck = false;  // in the boss battle
    int boss_shots_left = -1;  // as the boss battle ends
};

Road read_road(const std::string& trace) {
    Road road;
    std::istringstream lines(trace);
    std::string line;
    int last_mode = -1, last_stage = 0, last_phase = -1;
    int shot_state = 0, score_at_fire = 0;
    while (std::getline(lines, line)) {
        if (line.empty()) continue;
        const Json r = parse_json(line);
        road.records += 1;
        road.frames_in_order = road.frames_in_order && r["frame"].as_int() == road.records;
        const int mode = static_cast<int>(r["mode"].as_int());
        const int phase = static_cast<int>(r["phase"].as_int());
        const int stage = static_cast<int>(r["stage"].as_int());
        // A stage battle is entered again when the stage changes or its phase starts over.
        const bool new_stage =
            mode == STAGE && last_mode == STAGE && (stage != last_stage || phase < last_phase);
        if (mode != 0 && (mode != last_mode || new_stage)) road.modes.push_back(mode);
        if (mode == STAGE && stage == 3 && phase == PRIZE_REVEAL && road.stage3_total < 0)
            road.stage3_total =
                static_cast<int>(r["score"].as_int() + r["objects"]["player"]["n"].as_int());
        if (mode == ENDING) road.ending_frames += 1;
        if (mode == STAGE) {
            // A shot is out from its fire frame until it leaves the top edge.
            const int now = static_cast<int>(r["objects"]["player"]["s"].as_int());
            const int score = static_cast<int>(r["score"].as_int());
            if (now == 1 && shot_state == 0) road.stage_shots += 1, score_at_fire = score;
            if (now == 0 && shot_state == 1 && score == score_at_fire) road.stage_misses += 1;
            shot_state = now;
        } else {
            shot_state = 0;
        }
        if (mode == BOSS) {
            const int ship = static_cast<int>(r["objects"]["player"]["s"].as_int());
            road.ship_struck = road.ship_struck || ship == 2 || ship == 3;
            road.boss_shots_left = static_cast<int>(r["objects"]["player"]["n"].as_int());
        }
        road.final_score = static_cast<int>(r["score"].as_int());
        last_mode = mode;
        last_stage = stage;
        last_phase = phase;
    }
    return road;
}

// A whole game takes 2,500 to 4,500 presents; a player gone wrong is cut short.
constexpr const char* FRAME_CAP = "12000";

SimResult run(const std::string& dir, std::vector<std::string> args, bool traced) {
    SimRun r;
    r.trace = false;  // read here line by line instead
    r.args = std::move(args);
    r.args.insert(r.args.end(), {"--frames", FRAME_CAP});
    if (traced) r.args.insert(r.args.end(), {"--trace", "trace.jsonl"});
    return run_sim_process(r, dir);
}

// The first frame where two traces part, or 0 when they are the same.
int first_difference(const std::string& a, const std::string& b) {
    std::istringstream la(a), lb(b);
    std::string x, y;
    for (int frame = 1;; ++frame) {
        const bool more_a = static_cast<bool>(std::getline(la, x));
        const bool more_b = static_cast<bool>(std::getline(lb, y));
        if (!more_a && !more_b) return 0;
        if (more_a != more_b || x != y) return frame;
    }
}

class WholeGame : public testing::TestWithParam<int> {};

TEST_P(WholeGame, IsWonOnTheFirstTryAndItsKeysReplayIt) {
    const std::string ms = std::to_string(GetParam());
    const std::string dir = make_scratch_dir("whole-game-" + ms);
    const SimResult game =
        run(dir, {"--autoplay", "--autoplay-script", "keys.txt", "--ms-of-second", ms}, true);
    ASSERT_EQ(game.status, 0) << game.stderr_text;
    // Look-ahead children leave no trace of their own: one end line, one
    // record per present, and no play-data file of theirs.
    EXPECT_EQ(game.stderr_text.find('\n'), game.stderr_text.size() - 1) << game.stderr_text;
    const std::string trace = read_file_bytes(dir + "/trace.jsonl");
    const Road road = read_road(trace);
    EXPECT_TRUE(road.frames_in_order);
    EXPECT_EQ(road.records, game.end["frames"].as_int());
    EXPECT_FALSE(std::filesystem::exists(dir + "/PlayData.dat.tmp"));

    EXPECT_EQ(road.modes, (std::vector<int>{1, 2, 2, 2, 3, 4}));
    EXPECT_GE(road.stage3_total, BOSS_TOTAL);
    // The player waits for enemies to line up; no shot is wasted.
    EXPECT_GT(road.stage_shots, 3);
    EXPECT_EQ(road.stage_misses, 0);
    // The player watches the ending for a while, then quits with Escape.
    EXPECT_GE(road.ending_frames, 150);
    EXPECT_LE(road.ending_frames, 300);

    // The boss's reward and the final score as the best.
    const std::string data = read_file_bytes(dir + "/PlayData.dat");
    ASSERT_EQ(data.size(), 72u);
    double best = 0;
    int32_t rewards[10];
    std::memcpy(&best, data.data(), sizeof best);
    std::memcpy(rewards, data.data() + 12, sizeof rewards);
    EXPECT_EQ(best, road.final_score);
    EXPECT_GE(best, BOSS_TOTAL);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(rewards[i], 0) << "reward " << i;
    EXPECT_EQ(rewards[9], 1);

    // The boss falls to the first of its three shots and never strikes the ship.
    EXPECT_FALSE(road.ship_struck);
    EXPECT_EQ(road.boss_shots_left, 2);

    // The recorded keys, given as a plain script, play the identical game;
    // played without a trace, the game allocates nothing once its first
    // mode has begun (not counted in sanitized builds).
    const std::string replay_dir = make_scratch_dir("whole-game-replay-" + ms);
    std::filesystem::copy_file(dir + "/keys.txt", replay_dir + "/keys.txt");
    const SimResult replay = run(replay_dir, {"--input", "keys.txt", "--ms-of-second", ms}, true);
    ASSERT_EQ(replay.status, 0) << replay.stderr_text;
    EXPECT_EQ(first_difference(trace, read_file_bytes(replay_dir + "/trace.jsonl")), 0);
    EXPECT_EQ(read_file_bytes(replay_dir + "/PlayData.dat"), data);
    const SimResult untraced =
        run(replay_dir, {"--input", "keys.txt", "--ms-of-second", ms}, false);
    EXPECT_EQ(untraced.end["frames"].as_int(), road.records);
    if (untraced.end["allocs"].kind != Json::Kind::Null) {
        EXPECT_EQ(untraced.end["allocs"].as_int(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(SomeRandomSequences, WholeGame, testing::Values(0, 370, 990));

// Started at stage 3 with nothing scored, the total cannot earn the boss: the
// player takes the reward, starts a new game from the title and wins that.
TEST(WholeGameRoad, AShortTotalSendsThePlayerBackToPlayAgain) {
    const std::string dir = make_scratch_dir("whole-game-again");
    const SimResult game = run(dir, {"--autoplay", "--start", "2", "--stage", "3"}, true);
    ASSERT_EQ(game.status, 0) << game.stderr_text;
    const Road road = read_road(read_file_bytes(dir + "/trace.jsonl"));
    EXPECT_EQ(road.modes, (std::vector<int>{2, 1, 2, 2, 2, 3, 4}));
    const std::string data = read_file_bytes(dir + "/PlayData.dat");
    ASSERT_EQ(data.size(), 72u);
    int32_t rewards[10];
    std::memcpy(rewards, data.data() + 12, sizeof rewards);
    int taken = 0;
    for (int i = 0; i < 9; ++i) taken += rewards[i];
    EXPECT_EQ(taken, 1) << "the short total's reward";
    EXPECT_EQ(rewards[9], 1);
}

}  // namespace
