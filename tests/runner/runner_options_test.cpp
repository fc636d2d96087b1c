// The headless runner's own options: how a run ends, shots and resource dumps.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/sim_process.h"

namespace {

SimResult run(const std::string& name, const SimRun& r) {
    return run_sim_process(r, make_scratch_dir(name));
}

// Every mode checks for a quit once a frame, whatever its phase; each form of
// quit request in a script ends the run after its frame.
TEST(RunnerOptions, EachQuitRequestEndsEveryModeAfterItsFrame) {
    const struct {
        const char* start;
        const char* line;
    } cases[] = {{"1", "40 press ESCAPE"}, {"2", "40 close"}, {"3", "40 menu"}, {"4", "40 quit"}};
    for (const auto& c : cases) {
        SimRun r;
        r.trace = false;
        r.script = std::string(c.line) + "\n";
        r.args = {"--start", c.start};
        const SimResult result = run("quit", r);
        EXPECT_EQ(result.status, 0) << c.line;
        EXPECT_EQ(result.end["frames"].as_int(), 40) << c.line;
        EXPECT_EQ(result.end["status"].as_int(), 0) << c.line;
    }
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
