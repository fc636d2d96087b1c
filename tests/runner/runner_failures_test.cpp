// The runner never reports a failure as success and never hangs on what it
// is given: inputs that are no script, outputs that cannot be written
// whole, odd numbers and repeated options, messages flooding the queue.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/play_data.h"
#include "support/sim_process.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;  // 124: still running after the time limit
    std::string err;
};

std::string shell_quote(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Runs zarvox-sim in `dir` with `args`, for at most 20 seconds.
Outcome sim(const std::string& dir, const std::vector<std::string>& args) {
    std::string command = "cd " + shell_quote(dir) + " && timeout -s KILL 20 " ZARVOX_SIM_PATH;
    for (const std::string& a : args) command += " " + shell_quote(a);
    command += " 2> ../" + fs::path(dir).filename().string() + ".err";
    const int raw = std::system(command.c_str());
    Outcome o;
    o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    o.err = read_file_bytes(dir + "/../" + fs::path(dir).filename().string() + ".err");
    return o;
}

// Standard error without the runner's end line.
std::string message_of(const Outcome& o) {
    const size_t end = o.err.find("{\"end\"");
    return end == std::string::npos ? o.err : o.err.substr(0, end);
}

int lines_in(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

std::vector<std::string> names_in(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
    return names;
}

TEST(RunnerFailures, AnInputThatIsNoScriptIsABadOption) {
    const std::string dir = make_scratch_dir("bad-input");
    fs::create_directory(dir + "/folder");
    ASSERT_EQ(mkfifo((dir + "/pipe").c_str(), 0644), 0);
    {
        // Larger than 64 MiB, yet taking no room.
        FILE* big = std::fopen((dir + "/big.txt").c_str(), "w");
        ASSERT_EQ(ftruncate(fileno(big), (64 << 20) + 1), 0);
        std::fclose(big);
    }
    for (const char* input : {"folder", "/dev/zero", "pipe", "big.txt", "missing.txt"}) {
        SCOPED_TRACE(input);
        const Outcome o = sim(dir, {"--input", input, "--frames", "5"});
        EXPECT_EQ(o.status, 2);
        EXPECT_EQ(lines_in(o.err), 1) << o.err;
        EXPECT_NE(o.err.find(input), std::string::npos) << o.err;
    }
}

TEST(RunnerFailures, AnOutputThatCannotBeWrittenWholeFailsAndLeavesNothing) {
    const std::string dir = make_scratch_dir("bad-output");
    // A small full file system, where the machine lets us mount one.
    const std::string small = dir + "/small";
    fs::create_directory(small);
    const bool mounted = mount("tmpfs", small.c_str(), "tmpfs", 0, "size=16k") == 0;
    std::vector<std::string> places = {"/dev/full", dir + "/no/such/folder/out"};
    if (mounted) places.push_back(small + "/out");
    for (const std::string& place : places) {
        SCOPED_TRACE(place);
        const std::vector<std::vector<std::string>> runs = {
            {"--frames", "40", "--trace", place},
            {"--frames", "40", "--shot", "2:" + place},
            {"--dump-resources", place},
            {"--render-tune", "VBTUNE_TITLE", "2", place},
        };
        for (const auto& args : runs) {
            SCOPED_TRACE(args[0] == "--frames" ? args[2] : args[0]);
            const Outcome o = sim(dir, args);
            EXPECT_EQ(o.status, 1);
            const std::string message = message_of(o);
            EXPECT_EQ(lines_in(message), 1) << o.err;
            EXPECT_NE(message.find("cannot write"), std::string::npos) << o.err;
            if (mounted) {
                EXPECT_TRUE(names_in(small).empty());
            }
        }
    }
    if (mounted) umount(small.c_str());
    if (!mounted) GTEST_SKIP() << "no small file system could be mounted; the rest passed";
}

TEST(RunnerFailures, OddNumbersAndRepeatedOptionsAreRefused) {
    const std::string dir = make_scratch_dir("odd-numbers");
    const std::vector<std::vector<std::string>> bad = {
        {"--frames", "+5"},
        {"--frames", " 5"},
        {"--frames", "0x2"},
        {"--score", "5", "--score", "6"},
        {"--autoplay", "--autoplay"},
        {"--shot", "+2:a.png"},
        {"--frames", "10", "--shot", "11:a.png"},
        {"--render-tune", "VBTUNE_TITLE", "0x2", "t.wav"},
        {"--render-tune", "VBTUNE_TITLE", "inf", "t.wav"},
    };
    for (const auto& args : bad) {
        SCOPED_TRACE(args[0] + " " + args[1]);
        const Outcome o = sim(dir, args);
        EXPECT_EQ(o.status, 2);
        EXPECT_EQ(lines_in(o.err), 1) << o.err;
    }
    EXPECT_TRUE(names_in(dir).empty());
}

TEST(RunnerFailures, ScriptLinesStartAtFrameOneAndAreQuotedSafely) {
    const std::string dir = make_scratch_dir("script-lines");
    write_file_bytes(dir + "/zero.txt", "0 quit\n");
    Outcome o = sim(dir, {"--input", "zero.txt"});
    EXPECT_EQ(o.status, 2);
    EXPECT_NE(o.err.find("line 1"), std::string::npos) << o.err;

    // A long bad key with terminal controls in it: the message stays one
    // short, plain line.
    write_file_bytes(dir + "/long.txt", "3 press \x1b[2J" + std::string(500, 'Q') + "\n");
    o = sim(dir, {"--input", "long.txt"});
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(lines_in(o.err), 1);
    EXPECT_LT(o.err.size(), 140u) << o.err;
    EXPECT_EQ(o.err.find('\x1b'), std::string::npos);
    EXPECT_NE(o.err.find("\\x1b[2J"), std::string::npos) << o.err;

    // A byte-order mark before line 1 is not part of it.
    write_file_bytes(dir + "/bom.txt",
                     "\xEF\xBB\xBF"
                     "3 press SPACE\n");
    o = sim(dir, {"--input", "bom.txt", "--frames", "5"});
    EXPECT_EQ(o.status, 0) << o.err;
}

TEST(RunnerFailures, AFloodOfKeysNeverPushesOutTheClose) {
    std::string script;
    for (int i = 0; i < 5000; ++i) script += "5 down LEFT\n";
    script += "5 close\n";
    SimRun run;
    run.script = script;
    run.trace = false;
    run.args = {"--frames", "100"};
    const SimResult r = run_sim_process(run, make_scratch_dir("flood"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.end["frames"].as_int(), 5);
}

TEST(RunnerFailures, NonFiniteBestScoresAreTracedAsStrings) {
    const double values[] = {std::nan(""), HUGE_VAL, -HUGE_VAL};
    const char* names[] = {"nan", "inf", "-inf"};
    for (int i = 0; i < 3; ++i) {
        PlayDataRecord record{};
        record.best_score = values[i];
        SimRun run;
        run.play_data.assign(reinterpret_cast<const char*>(&record), sizeof record);
        run.has_play_data = true;
        run.args = {"--frames", "3", "--start", "2"};
        const SimResult r = run_sim_process(run, make_scratch_dir("non-finite"));
        ASSERT_EQ(r.trace.size(), 3u);
        EXPECT_EQ(r.trace[2]["best"].kind, Json::Kind::String);
        EXPECT_EQ(r.trace[2]["best"].text, names[i]);
    }
}

}  // namespace
