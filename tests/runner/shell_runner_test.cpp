// The whole program on the headless host: how a run ends, what the key
// state shows, the play-data file at start-up and the runner's own checks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>

#include "support/sim_process.h"

namespace {

SimResult run(const std::string& name, const SimRun& r) {
    return run_sim_process(r, make_scratch_dir(name));
}

TEST(ShellRunner, EachQuitRequestEndsTheRunAfterItsFrame) {
    for (const char* line : {"12 press ESCAPE", "12 close", "12 menu", "12 quit"}) {
        SimRun r;
        r.script = std::string(line) + "\n";
        const SimResult result = run("quit", r);
        EXPECT_EQ(result.status, 0) << line;
        ASSERT_EQ(result.trace.size(), 12u) << line;
        EXPECT_EQ(result.end["frames"].as_int(), 12) << line;
        EXPECT_EQ(result.end["status"].as_int(), 0) << line;
    }
}

TEST(ShellRunner, FramesOptionEndsAfterThatPresentAndFramesAreTwentyMsApart) {
    SimRun r;
    r.args = {"--frames", "30"};
    const SimResult result = run("frames", r);
    EXPECT_EQ(result.status, 0);
    ASSERT_EQ(result.trace.size(), 30u);
    EXPECT_EQ(result.trace[0]["ms"].as_int(), 1000);
    EXPECT_EQ(result.trace[0]["mode"].as_int(), 0);
    EXPECT_EQ(result.trace[0]["phase"].as_int(), -1);
    EXPECT_EQ(result.trace[1]["mode"].as_int(), 1);
    for (size_t i = 1; i < result.trace.size(); ++i) {
        EXPECT_EQ(result.trace[i]["frame"].as_int(), static_cast<int64_t>(i + 1));
        EXPECT_EQ(result.trace[i]["ms"].as_int(), 1000 + 20 * static_cast<int64_t>(i));
    }
}

TEST(ShellRunner, KeyStateFollowsHeldKeys) {
    SimRun r;
    r.script =
        "5 down LEFT\n"
        "6 down Z\n"
        "8 up LEFT\n"
        "9 press 0x41\n"
        "12 up Z\n";
    r.args = {"--frames", "14"};
    const SimResult result = run("keys", r);
    ASSERT_EQ(result.trace.size(), 14u);
    // A message given at present N is seen by the record of present N + 1.
    const int64_t expected[] = {0, 0, 0, 0, 0, 0x1, 0x41, 0x41, 0x40, 0x140, 0x40, 0x40, 0, 0};
    for (int i = 0; i < 14; ++i) EXPECT_EQ(result.trace[i]["keys"].as_int(), expected[i]) << i + 1;
}

TEST(ShellRunner, AMissingPlayDataFileIsCreatedAsSeventyTwoZeroBytes) {
    SimRun r;
    r.trace = false;
    r.args = {"--frames", "3"};
    const SimResult result = run("fresh", r);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(read_file_bytes(result.dir + "/PlayData.dat"), std::string(72, '\0'));
}

TEST(ShellRunner, ExistingPlayDataIsReadWhateverItsLength) {
    std::string record(72, '\0');
    const double best = 42;
    std::memcpy(&record[0], &best, 8);
    record[12 + 4 * 3] = 1;
    for (const std::string& bytes : {record, record.substr(0, 13), record + "extra"}) {
        SimRun r;
        r.has_play_data = true;
        r.play_data = bytes;
        r.args = {"--frames", "2"};
        const SimResult result = run("existing", r);
        ASSERT_EQ(result.status, 0);
        const Json& last = result.trace.back();
        EXPECT_EQ(last["best"].number, bytes.size() >= 8 ? 42.0 : 0.0);
        EXPECT_EQ(last["rewards"][3].as_int(), bytes.size() > 24 ? 1 : 0);
    }
}

TEST(ShellRunner, StrangeBestScoresNeverUpsetTheRun) {
    const double values[] = {std::nan(""),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             1e300,
                             -12,
                             5000};
    for (double v : values) {
        std::string record(72, '\0');
        std::memcpy(&record[0], &v, 8);
        SimRun r;
        r.has_play_data = true;
        r.play_data = record;
        r.args = {"--frames", "400", "--shot", "400:title.png"};
        const SimResult result = run("strange", r);
        EXPECT_EQ(result.status, 0) << v;
        EXPECT_EQ(result.trace.size(), 400u) << v;
    }
}

TEST(ShellRunner, BadOptionsAndScriptLinesAreRefusedBeforeAnythingRuns) {
    const std::vector<std::vector<std::string>> bad_options = {{"--bogus"},
                                                               {"--frames"},
                                                               {"--frames", "ten"},
                                                               {"--start", "5"},
                                                               {"--start", "0"},
                                                               {"--stage", "4"},
                                                               {"--score", "1000"},
                                                               {"--score", "-1"},
                                                               {"--ms-of-second", "1000"},
                                                               {"--shot", "x.png"},
                                                               {"--input", "absent.txt"}};
    for (const auto& args : bad_options) {
        SimRun r;
        r.args = args;
        const SimResult result = run("badopt", r);
        EXPECT_EQ(result.status, 2) << args[0];
        EXPECT_TRUE(result.trace.empty()) << args[0];
        EXPECT_EQ(std::count(result.stderr_text.begin(), result.stderr_text.end(), '\n'), 1)
            << result.stderr_text;
        EXPECT_FALSE(std::filesystem::exists(result.dir + "/PlayData.dat")) << args[0];
    }
    const char* bad_scripts[] = {"5 down Q\n",     "5 down\n",
                                 "x down LEFT\n",  "5 jump\n",
                                 "5 close LEFT\n", "9 down LEFT\n5 up LEFT\n",
                                 "-1 quit\n",      "5 press LEFT RIGHT\n"};
    for (const char* script : bad_scripts) {
        SimRun r;
        r.script = script;
        const SimResult result = run("badscript", r);
        EXPECT_EQ(result.status, 2) << script;
        EXPECT_NE(result.stderr_text.find("line"), std::string::npos) << script;
        EXPECT_TRUE(result.trace.empty()) << script;
    }
}

TEST(ShellRunner, CommentsBlankLinesAndCaseAreAccepted) {
    SimRun r;
    r.script = "# a comment\n\n  4 Down space  # hold it\n6 UP SPACE\n";
    r.args = {"--frames", "8"};
    const SimResult result = run("comments", r);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.trace.size(), 8u);
}

TEST(ShellRunner, ShotsAreWrittenAsPngOrBmp) {
    SimRun r;
    r.trace = false;
    r.args = {"--frames", "5", "--shot", "3:a.png", "--shot", "4:b.bmp"};
    const SimResult result = run("shots", r);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(read_file_bytes(result.dir + "/a.png").substr(1, 3), "PNG");
    EXPECT_EQ(read_file_bytes(result.dir + "/b.bmp").substr(0, 2), "BM");
}

TEST(ShellRunner, ResourcesDumpByteForByte) {
    SimRun r;
    r.trace = false;
    const std::string dir = make_scratch_dir("dump");
    r.args = {"--dump-resources", dir + "/out"};
    const SimResult result = run_sim_process(r, dir);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(read_file_bytes(dir + "/out/BITMAP/CHARA01"),
              read_file_bytes(std::string(ZARVOX_SOURCE_DIR) + "/resources/bitmap/chara01.bmp"));
    EXPECT_EQ(read_file_bytes(dir + "/out/MENU/MENU_MAIN").substr(0, 5), "Salir");
    EXPECT_FALSE(std::filesystem::exists(dir + "/PlayData.dat"));
}

TEST(ShellRunner, AnUntracedRunAllocatesNothingOnceTheGameRuns) {
    SimRun r;
    r.trace = false;
    r.args = {"--frames", "200"};
    const SimResult result = run("allocs", r);
    ASSERT_EQ(result.status, 0);
    if (result.end["allocs"].kind == Json::Kind::Null) GTEST_SKIP() << "sanitized build";
    EXPECT_EQ(result.end["allocs"].as_int(), 0);
}

}  // namespace
