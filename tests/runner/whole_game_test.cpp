// Whole games played by the runner's own player (--autoplay). The keys it
// plays for the seeds 0, 370 and 990 are the golden cases autoplay_ms0/370/990,
// whose replays pin every frame of those games; this checks what a replay
// cannot: that the player still plays them, that its look-ahead leaves no
// trace, and that a whole game allocates nothing once its first mode began.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "support/sim_process.h"

namespace {

struct Rewards {
    double best = 0;
    int32_t flags[10] = {};
};

Rewards saved_rewards(const std::string& dir) {
    Rewards r;
    const std::string data = read_file_bytes(dir + "/PlayData.dat");
    EXPECT_EQ(data.size(), 72u);
    if (data.size() != 72) return r;
    std::memcpy(&r.best, data.data(), sizeof r.best);
    std::memcpy(r.flags, data.data() + 12, sizeof r.flags);
    return r;
}

SimResult autoplay(const std::string& name, std::vector<std::string> args) {
    SimRun run;
    run.trace = false;
    run.args = std::move(args);
    run.args.insert(run.args.end(), {"--autoplay", "--frames", "12000"});
    return run_sim_process(run, make_scratch_dir(name));
}

class WholeGame : public testing::TestWithParam<int> {};

TEST_P(WholeGame, ThePlayerWinsWithTheGoldenKeysAndAllocatesNothing) {
    const std::string ms = std::to_string(GetParam());
    const SimResult game =
        autoplay("whole-game-" + ms, {"--autoplay-script", "played.txt", "--ms-of-second", ms});
    ASSERT_EQ(game.status, 0) << game.stderr_text;
    // Look-ahead children leave nothing behind: one end line, no files.
    EXPECT_EQ(game.stderr_text.find('\n'), game.stderr_text.size() - 1) << game.stderr_text;
    EXPECT_FALSE(std::filesystem::exists(game.dir + "/PlayData.dat.tmp"));
    EXPECT_EQ(read_file_bytes(game.dir + "/played.txt"),
              read_file_bytes(std::string(ZARVOX_SOURCE_DIR) + "/tests/golden/autoplay_ms" + ms +
                              ".keys"));
    const Rewards won = saved_rewards(game.dir);
    EXPECT_GE(won.best, 66);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(won.flags[i], 0) << "reward " << i;
    EXPECT_EQ(won.flags[9], 1);
    // Not counted in sanitized builds.
    if (game.end["allocs"].kind != Json::Kind::Null) {
        EXPECT_EQ(game.end["allocs"].as_int(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, WholeGame, testing::Values(0, 370, 990));

// Started at stage 3 with nothing scored, the total cannot earn the boss: the
// player takes the reward, starts a new game from the title and wins that.
TEST(WholeGameRoad, AShortTotalSendsThePlayerBackToPlayAgain) {
    const SimResult game = autoplay("whole-game-again", {"--start", "2", "--stage", "3"});
    ASSERT_EQ(game.status, 0) << game.stderr_text;
    const Rewards r = saved_rewards(game.dir);
    int taken = 0;
    for (int i = 0; i < 9; ++i) taken += r.flags[i];
    EXPECT_EQ(taken, 1) << "the short total's reward";
    EXPECT_EQ(r.flags[9], 1);
}

}  // namespace
