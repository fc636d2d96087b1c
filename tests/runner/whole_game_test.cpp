// Whole games played by the runner's own player (--autoplay). The keys it
// plays for the seeds 0, 370 and 990 are the golden cases autoplay_ms0/370/990,
// whose replays pin every frame of those games; this checks what a replay
// cannot: that the player still plays them, that its look-ahead leaves no
// trace, and that a whole game allocates nothing once its first mode began.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/play_data.h"
#include "support/sim_process.h"

namespace {

// The player's whole game from `args`, and the record it saved.
PlayDataRecord autoplay(const std::string& name, std::vector<std::string> args, SimResult* game) {
    args.insert(args.end(), {"--autoplay", "--frames", "12000"});
    *game = run_sim_process({.args = std::move(args), .trace = false}, make_scratch_dir(name));
    const std::string data = read_file_bytes(game->dir + "/PlayData.dat");
    EXPECT_EQ(data.size(), sizeof(PlayDataRecord));
    return parsed_record(data);
}

int rewards_taken(const PlayDataRecord& r) {
    int taken = 0;
    for (int i = 0; i < 9; ++i) taken += r.rewards[i];
    return taken;
}

class WholeGame : public testing::TestWithParam<int> {};

TEST_P(WholeGame, ThePlayerWinsWithTheGoldenKeysAndAllocatesNothing) {
    const std::string ms = std::to_string(GetParam());
    SimResult game;
    const PlayDataRecord won = autoplay(
        "whole-game-" + ms, {"--autoplay-script", "played.txt", "--ms-of-second", ms}, &game);
    ASSERT_EQ(game.status, 0) << game.stderr_text;
    // Look-ahead children leave nothing behind: one end line, no other files.
    EXPECT_EQ(game.stderr_text.find('\n'), game.stderr_text.size() - 1) << game.stderr_text;
    EXPECT_EQ(files_in(game.dir), (std::vector<std::string>{"PlayData.dat", "played.txt"}));
    EXPECT_EQ(read_file_bytes(game.dir + "/played.txt"),
              read_file_bytes(std::string(ZARVOX_SOURCE_DIR) + "/tests/golden/autoplay_ms" + ms +
                              ".keys"));
    EXPECT_GE(won.best_score, 66);
    EXPECT_EQ(rewards_taken(won), 0);
    EXPECT_EQ(won.rewards[9], 1);
    if (game.end["allocs"].kind != Json::Kind::Null) {  // not counted in sanitized builds
        EXPECT_EQ(game.end["allocs"].as_int(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, WholeGame, testing::Values(0, 370, 990));

// Started at stage 3 with nothing scored, the total cannot earn the boss: the
// player takes the reward, starts a new game from the title and wins that.
TEST(WholeGameRoad, AShortTotalSendsThePlayerBackToPlayAgain) {
    SimResult game;
    const PlayDataRecord r = autoplay("whole-game-again", {"--start", "2", "--stage", "3"}, &game);
    ASSERT_EQ(game.status, 0) << game.stderr_text;
    EXPECT_EQ(rewards_taken(r), 1) << "the short total's reward";
    EXPECT_EQ(r.rewards[9], 1);
}

}  // namespace
