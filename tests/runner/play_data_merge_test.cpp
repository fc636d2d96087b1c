// What is stored only grows, whoever else writes in the folder: two games
// saving in one folder merge their records, replaying a recording never
// touches the folder's record, and no output option may overwrite an input,
// the play data or another output.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/play_data.h"
#include "support/sim_process.h"

namespace {

namespace fs = std::filesystem;

std::string record(double best, std::vector<int> rewards) {
    PlayDataRecord r{};
    r.best_score = best;
    for (int k : rewards) r.rewards[k] = 1;
    return std::string(reinterpret_cast<const char*>(&r), sizeof r);
}

PlayDataRecord parsed(const std::string& bytes) {
    PlayDataRecord r{};
    std::memcpy(&r, bytes.data(), std::min(bytes.size(), sizeof r));
    return r;
}

std::string golden(const std::string& name) {
    return read_file_bytes(std::string(ZARVOX_SOURCE_DIR) + "/tests/golden/" + name);
}

// The runner in `dir` with `args`, standard output to a pipe the caller
// reads (or leaves unread, which stops the runner once the pipe is full).
struct Piped {
    pid_t pid = -1;
    std::FILE* out = nullptr;
};

Piped start_piped(const std::string& dir, const std::vector<std::string>& args) {
    int fds[2];
    if (pipe(fds) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        if (chdir(dir.c_str()) != 0 || dup2(fds[1], 1) < 0) _exit(120);
        if (!freopen("/dev/null", "w", stderr)) _exit(120);
        std::vector<const char*> argv = {ZARVOX_SIM_PATH};
        for (const std::string& a : args) argv.push_back(a.c_str());
        argv.push_back(nullptr);
        execv(ZARVOX_SIM_PATH, const_cast<char* const*>(argv.data()));
        _exit(121);
    }
    close(fds[1]);
    return {pid, fdopen(fds[0], "r")};
}

int finish_piped(Piped& p) {
    char buffer[4096];
    while (std::fread(buffer, 1, sizeof buffer, p.out) > 0) {
    }
    std::fclose(p.out);
    int status = 0;
    waitpid(p.pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Two games in one folder, both started from the same record: the first
// to save wins the boss battle (its reward and a best of 70); the second
// loses it with a score of 90 and saves at the title, from a record that
// knows nothing of the first one's reward. The stored record keeps both.
TEST(PlayDataMerge, TwoGamesInOneFolderNeverEraseEachOthersGains) {
    const std::string dir = make_scratch_dir("merge-two-games");
    write_file_bytes(dir + "/PlayData.dat", record(39, {2}));
    write_file_bytes(dir + "/misses.keys", golden("boss_three_misses.keys"));
    write_file_bytes(dir + "/victory.keys", golden("boss_victory.keys"));

    // The lost battle loads the record, then stalls on its unread trace
    // long before the title, which saves.
    Piped lost = start_piped(dir, {"--input", "misses.keys", "--start", "3", "--score", "90",
                                   "--frames", "700", "--trace", "-"});
    ASSERT_GT(lost.pid, 0);
    char line[8192];
    ASSERT_NE(std::fgets(line, sizeof line, lost.out), nullptr);  // start-up is over

    SimRun victory;
    victory.args = {"--input", "victory.keys",   "--start", "3",        "--score",
                    "70",      "--ms-of-second", "120",     "--frames", "1200"};
    victory.trace = false;
    const SimResult won = run_sim_process(victory, dir);
    ASSERT_EQ(won.status, 0) << won.stderr_text;
    PlayDataRecord stored = parsed(read_file_bytes(dir + "/PlayData.dat"));
    ASSERT_EQ(stored.best_score, 70.0);
    ASSERT_EQ(stored.rewards[9], 1);

    EXPECT_EQ(finish_piped(lost), 0);
    stored = parsed(read_file_bytes(dir + "/PlayData.dat"));
    EXPECT_EQ(stored.best_score, 90.0);
    for (int k = 0; k < REWARD_COUNT; ++k)
        EXPECT_EQ(stored.rewards[k], k == 2 || k == 9 ? 1 : 0) << "reward " << k;
    for (const auto& e : fs::directory_iterator(dir)) {
        const std::string name = e.path().filename();
        EXPECT_EQ(name.find("PlayData.dat."), std::string::npos) << name << " is left behind";
    }
}

TEST(PlayDataMerge, MergingKeepsTheHigherBestAndEveryReward) {
    PlayDataRecord mine = parsed(record(39, {1}));
    mine.unused_a = 5;
    merge_play_records(&mine, parsed(record(100, {4})));
    EXPECT_EQ(mine.best_score, 100.0);
    EXPECT_EQ(mine.rewards[1], 1);
    EXPECT_EQ(mine.rewards[4], 1);
    EXPECT_EQ(mine.unused_a, 5);
    // A stored best that is not a number never wins; one of ours loses to
    // any stored number.
    merge_play_records(&mine, parsed(record(NAN, {})));
    EXPECT_EQ(mine.best_score, 100.0);
    PlayDataRecord broken = parsed(record(NAN, {}));
    merge_play_records(&broken, parsed(record(12, {})));
    EXPECT_EQ(broken.best_score, 12.0);
    // The game's own record after what it loaded merges to itself.
    PlayDataRecord game = parsed(record(70, {9}));
    const PlayDataRecord before = game;
    merge_play_records(&game, parsed(record(39, {})));
    EXPECT_EQ(std::memcmp(&game, &before, sizeof game), 0);
}

// The README's own command, in the player's folder: the recording's record
// plays in memory and the player's file is left alone, though the replayed
// game wins the boss battle, which saves.
TEST(PlayDataMerge, ReplayingARecordingNeverTouchesTheFoldersRecord) {
    const std::string dir = make_scratch_dir("merge-replay");
    const std::string own = record(100, {4, 6});
    write_file_bytes(dir + "/PlayData.dat", own);
    std::string hex;
    const std::string theirs = record(39, {});
    for (unsigned char c : theirs) {
        char two[3];
        std::snprintf(two, sizeof two, "%02x", c);
        hex += two;
    }
    SimRun run;
    run.script = "# zarvox keys 1\n# play data " + hex + "\n" + golden("boss_victory.keys");
    run.args = {"--recorded-play-data", "--start", "3",        "--score", "70",
                "--ms-of-second",       "120",     "--frames", "1200"};
    const SimResult r = run_sim_process(run, dir);
    ASSERT_EQ(r.status, 0) << r.stderr_text;
    // The recording's record, in memory, with the victory's reward.
    EXPECT_EQ(r.trace.back()["best"].number, 70.0);
    EXPECT_EQ(r.trace.back()["rewards"][9].as_int(), 1);
    EXPECT_EQ(read_file_bytes(dir + "/PlayData.dat"), own);
}

// Every output is compared with every input, the play data and the other
// outputs, through links, hard links and "./" spellings alike; a clash is
// one line and status 2, with nothing written.
TEST(OutputClashes, AnOutputThatNamesAnInputOrAnotherOutputIsRefused) {
    const std::string dir = make_scratch_dir("clash");
    const std::string data = record(55, {3});
    const std::string keys = "5 press SPACE\n";
    write_file_bytes(dir + "/PlayData.dat", data);
    write_file_bytes(dir + "/rec.keys", keys);
    write_file_bytes(dir + "/tune.txt", "not a score\n");
    ASSERT_EQ(symlink("rec.keys", (dir + "/rec-link").c_str()), 0);
    ASSERT_EQ(link((dir + "/PlayData.dat").c_str(), (dir + "/hard.dat").c_str()), 0);
    const std::vector<std::vector<std::string>> clashes = {
        {"--frames", "3", "--trace", "PlayData.dat"},
        {"--frames", "3", "--trace", "./hard.dat"},
        {"--frames", "3", "--shot", "2:PlayData.dat"},
        {"--input", "rec.keys", "--frames", "3", "--trace", "./rec.keys"},
        {"--input", "rec.keys", "--frames", "3", "--trace", "rec-link"},
        {"--frames", "3", "--trace", "new.json", "--shot", "2:./new.json"},
        {"--frames", "3", "--autoplay", "--autoplay-script", "PlayData.dat"},
        {"--frames", "3", "--audio", "./PlayData.dat"},
        {"--input", "rec.keys", "--frames", "3", "--audio", "rec-link"},
        {"--render-score", "tune.txt", "1", "./tune.txt"},
        {"--render-tune", "VBTUNE_TITLE", "1", "hard.dat"},
    };
    for (const auto& args : clashes) {
        std::string shown;
        for (const std::string& a : args) shown += a + " ";
        SCOPED_TRACE(shown);
        SimRun run;
        run.args = args;
        run.trace = false;
        const SimResult r = run_sim_process(run, dir);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.stderr_text.rfind("zarvox-sim: ", 0), 0u) << r.stderr_text;
        EXPECT_EQ(std::count(r.stderr_text.begin(), r.stderr_text.end(), '\n'), 1) << r.stderr_text;
        EXPECT_EQ(read_file_bytes(dir + "/PlayData.dat"), data);
        EXPECT_EQ(read_file_bytes(dir + "/rec.keys"), keys);
        EXPECT_FALSE(fs::exists(dir + "/new.json"));
    }
    // Standard output and devices are no files to clobber.
    SimRun fine;
    fine.args = {"--frames", "3", "--trace", "/dev/null"};
    fine.trace = false;
    EXPECT_EQ(run_sim_process(fine, dir).status, 0);
}

// A score file saved with a byte-order mark plays as key scripts do.
TEST(ScoreFiles, AByteOrderMarkAtTheStartIsSkipped) {
    const std::string dir = make_scratch_dir("score-bom");
    const std::string source =
        read_file_bytes(std::string(ZARVOX_SOURCE_DIR) + "/resources/vbtune/VBTUNE_TITLE.vbt");
    ASSERT_FALSE(source.empty());
    write_file_bytes(dir + "/plain.txt", source);
    write_file_bytes(dir + "/marked.txt", "\xEF\xBB\xBF" + source);
    for (const char* name : {"plain", "marked"}) {
        SimRun run;
        run.args = {"--render-score", std::string(name) + ".txt", "0.5",
                    std::string(name) + ".wav"};
        run.trace = false;
        const SimResult r = run_sim_process(run, dir);
        EXPECT_EQ(r.status, 0) << name << ": " << r.stderr_text;
    }
    EXPECT_EQ(read_file_bytes(dir + "/plain.wav"), read_file_bytes(dir + "/marked.wav"));
}

}  // namespace
