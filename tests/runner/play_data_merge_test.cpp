// What is stored only grows, whoever else writes in the folder: two games
// saving in one folder merge their records, replaying a recording never
// touches the folder's record.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/play_data.h"
#include "support/measure.h"
#include "support/sim_process.h"

namespace {

std::string golden(const std::string& name) {
    return read_file_bytes(std::string(ZARVOX_SOURCE_DIR) + "/tests/golden/" + name);
}

// Two games in one folder, both started from the same record: the first
// to save wins the boss battle (its reward and a best of 70); the second
// loses it with a score of 90 and saves at the title, from a record that
// knows nothing of the first one's reward. The stored record keeps both.
TEST(PlayDataMerge, TwoGamesInOneFolderNeverEraseEachOthersGains) {
    const std::string dir = make_scratch_dir("merge-two-games");
    write_file_bytes(dir + "/PlayData.dat", play_record(39, {2}));
    write_file_bytes(dir + "/misses.keys", golden("boss_three_misses.keys"));
    write_file_bytes(dir + "/victory.keys", golden("boss_victory.keys"));

    // The lost battle loads the record, then stalls on its unread trace
    // long before the title, which saves.
    std::FILE* lost =
        popen(("cd " + dir +
               " && exec " ZARVOX_SIM_PATH " --input misses.keys --start 3 --score 90 --frames 700"
               " --trace - 2>/dev/null")
                  .c_str(),
              "r");
    ASSERT_NE(lost, nullptr);
    char line[8192];
    ASSERT_NE(std::fgets(line, sizeof line, lost), nullptr);  // start-up is over

    const SimResult won = run_sim(dir, {"--input", "victory.keys", "--start", "3", "--score", "70",
                                        "--ms-of-second", "120", "--frames", "1200"});
    ASSERT_EQ(won.status, 0) << won.stderr_text;
    PlayDataRecord stored = parsed_record(read_file_bytes(dir + "/PlayData.dat"));
    ASSERT_EQ(stored.best_score, 70.0);
    ASSERT_EQ(stored.rewards[9], 1);

    while (std::fread(line, 1, sizeof line, lost) > 0) {
    }
    EXPECT_EQ(pclose(lost), 0);
    stored = parsed_record(read_file_bytes(dir + "/PlayData.dat"));
    EXPECT_EQ(stored.best_score, 90.0);
    for (int k = 0; k < REWARD_COUNT; ++k)
        EXPECT_EQ(stored.rewards[k], k == 2 || k == 9 ? 1 : 0) << "reward " << k;
    EXPECT_EQ(files_in(dir),
              (std::vector<std::string>{"PlayData.dat", "misses.keys", "victory.keys"}))
        << "a temporary file is left behind";
}

// A stored best that is not a number never wins; one of ours loses to any
// stored number. Rewards join, and the fields we do not merge stay ours.
TEST(PlayDataMerge, MergingKeepsTheHigherBestAndEveryReward) {
    const double rows[][3] = {{39, 100, 100}, {100, 39, 100}, {100, NAN, 100}, {NAN, 12, 12}};
    for (const auto& [mine, stored, merged] : rows) {
        PlayDataRecord r = parsed_record(play_record(mine, {1}));
        r.unused_a = 5;
        merge_play_records(&r, parsed_record(play_record(stored, {4})));
        EXPECT_EQ(r.best_score, merged) << mine << " merged with " << stored;
        EXPECT_EQ(r.rewards[1] + r.rewards[4], 2);
        EXPECT_EQ(r.unused_a, 5);
    }
}

// The README's own command, in the player's folder: the recording's record
// plays in memory and the player's file is left alone, though the replayed
// game wins the boss battle, which saves.
TEST(PlayDataMerge, ReplayingARecordingNeverTouchesTheFoldersRecord) {
    const std::string dir = make_scratch_dir("merge-replay");
    const std::string own = play_record(100, {4, 6});
    write_file_bytes(dir + "/PlayData.dat", own);
    SimRun run;
    run.script = "# zarvox keys 1\n# play data " + to_hex(play_record(39)) + "\n" +
                 golden("boss_victory.keys");
    run.args = {"--recorded-play-data", "--start", "3",        "--score", "70",
                "--ms-of-second",       "120",     "--frames", "1200"};
    const SimResult r = run_sim_process(run, dir);
    ASSERT_EQ(r.status, 0) << r.stderr_text;
    // The recording's record, in memory, with the victory's reward.
    EXPECT_EQ(r.trace.back()["best"].number, 70.0);
    EXPECT_EQ(r.trace.back()["rewards"][9].as_int(), 1);
    EXPECT_EQ(read_file_bytes(dir + "/PlayData.dat"), own);
}

}  // namespace
