// The headless runner's own options: how a run ends, shots and resource dumps.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/sim_process.h"

namespace {

// Every mode checks for a quit once a frame, whatever its phase; each form of
// quit request in a script ends the run after its frame.
TEST(RunnerOptions, EachQuitRequestEndsEveryModeAfterItsFrame) {
    const std::string dir = make_scratch_dir("quit");
    const char* cases[][2] = {
        {"1", "40 press ESCAPE"}, {"2", "40 close"}, {"3", "40 menu"}, {"4", "40 quit"}};
    for (const auto& [start, line] : cases) {
        const SimResult r = run_sim(dir, {"--start", start}, std::string(line) + "\n");
        EXPECT_EQ(r.status, 0) << line;
        EXPECT_EQ(r.end["frames"].as_int(), 40) << line;
        EXPECT_EQ(r.end["status"].as_int(), 0) << line;
    }
}

TEST(RunnerOptions, ShotsAndResourcesAreWrittenAsAsked) {
    const std::string dir = make_scratch_dir("outputs");
    EXPECT_EQ(run_sim(dir, {"--frames", "5", "--shot", "3:a.png", "--shot", "4:b.bmp"}).status, 0);
    EXPECT_EQ(read_file_bytes(dir + "/a.png").substr(1, 3), "PNG");
    EXPECT_EQ(read_file_bytes(dir + "/b.bmp").substr(0, 2), "BM");

    std::filesystem::remove(dir + "/PlayData.dat");
    EXPECT_EQ(run_sim(dir, {"--dump-resources", "out"}).status, 0);
    EXPECT_EQ(read_file_bytes(dir + "/out/BITMAP/CHARA01"),
              read_file_bytes(std::string(ZARVOX_SOURCE_DIR) + "/resources/bitmap/chara01.bmp"));
    EXPECT_EQ(read_file_bytes(dir + "/out/MENU/MENU_MAIN").substr(0, 5), "Salir");
    EXPECT_FALSE(std::filesystem::exists(dir + "/PlayData.dat")) << "a dump runs no game";
}

}  // namespace
