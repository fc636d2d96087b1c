// The headless runner's own rules: how a run ends, the frame clock, what the
// key state shows, key scripts, shots and resource dumps.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/sim_process.h"

namespace {

SimResult run(const std::string& name, const SimRun& r) {
    return run_sim_process(r, make_scratch_dir(name));
}

TEST(RunnerOptions, EachQuitRequestEndsTheRunAfterItsFrame) {
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

TEST(RunnerOptions, FramesAreTwentyMsApartAndKeyStateFollowsHeldKeys) {
    SimRun r;
    // Comments, blank lines and any case are accepted.
    r.script =
        "# held keys\n\n"
        "5 down LEFT\n"
        "6 Down z  # fire\n"
        "8 up LEFT\n"
        "9 press 0x41\n"
        "12 UP Z\n";
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
    // A message given at present N is seen by the record of present N + 1.
    const int64_t expected[] = {0, 0, 0, 0, 0, 0x1, 0x41, 0x41, 0x40, 0x140, 0x40, 0x40, 0, 0};
    for (int i = 0; i < 14; ++i) EXPECT_EQ(result.trace[i]["keys"].as_int(), expected[i]) << i + 1;
}

TEST(RunnerOptions, ShotsAreWrittenAsPngOrBmp) {
    SimRun r;
    r.trace = false;
    r.args = {"--frames", "5", "--shot", "3:a.png", "--shot", "4:b.bmp"};
    const SimResult result = run("shots", r);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(read_file_bytes(result.dir + "/a.png").substr(1, 3), "PNG");
    EXPECT_EQ(read_file_bytes(result.dir + "/b.bmp").substr(0, 2), "BM");
}

TEST(RunnerOptions, ResourcesDumpByteForByte) {
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

}  // namespace
