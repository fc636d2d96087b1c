// zarvox-sim --render-score: a composer's score file heard without a rebuild,
// and a fault in it told by line, with status 2.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/sim_process.h"

namespace {

SimResult render(const std::string& dir, const std::string& score, const std::string& seconds,
                 const std::string& out) {
    SimRun r;
    r.trace = false;
    r.args = {"--render-score", score, seconds, out};
    return run_sim_process(r, dir);
}

TEST(RenderScore, AScoreFileSoundsAsTheSameTuneBuiltIn) {
    const std::string dir = make_scratch_dir("render_score_same");
    const std::string source = std::string(ZARVOX_SOURCE_DIR) + "/resources/vbtune/VBTUNE_END2.vbt";
    const SimResult from_file = render(dir, source, "2.5", dir + "/file.wav");
    ASSERT_EQ(from_file.status, 0) << from_file.stderr_text;

    SimRun r;
    r.trace = false;
    r.args = {"--render-tune", "VBTUNE_END2", "2.5", dir + "/built_in.wav"};
    ASSERT_EQ(run_sim_process(r, dir).status, 0);

    const std::string wave = read_file_bytes(dir + "/file.wav");
    EXPECT_EQ(wave.size(), 44u + 4u * 55125);
    EXPECT_EQ(wave, read_file_bytes(dir + "/built_in.wav"));
}

TEST(RenderScore, AFaultGivesItsLineAndReasonAndStatus2) {
    const std::string dir = make_scratch_dir("render_score_faults");
    const std::string head = "vbtune 1\ntempo 120\nmode loop\nvoice a pulse\nvoice b triangle\n";
    struct Case {
        std::string text;
        std::string says;
    };
    const Case cases[] = {
        {head + "a: c4 d4 z4\nb: c2\n", "line 6: unexpected 'z' in voice 'a'"},
        // A fault of a whole voice is told where its notes end.
        {head + "a: c4 d4\nb: c4\n# the end\nb: e4 f4\n", "line 9: voice 'b' lasts 144 ticks"},
        {head + "voice c noise\na: c1\nb: c1\n", "line 6: voice 'c' has no notes"},
        {"vbtune 1\nmode loop\n\n", "line 3: the score has no tempo"},
    };
    for (const Case& c : cases) {
        write_file_bytes(dir + "/bad.vbt", c.text);
        const SimResult result = render(dir, "bad.vbt", "1", "out.wav");
        EXPECT_EQ(result.status, 2) << c.says;
        EXPECT_NE(result.stderr_text.find("bad.vbt: " + c.says), std::string::npos)
            << result.stderr_text;
        EXPECT_FALSE(std::filesystem::exists(dir + "/out.wav")) << c.says;
    }
    const SimResult missing = render(dir, "nowhere.vbt", "1", "out.wav");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.stderr_text.find("nowhere.vbt"), std::string::npos);
    EXPECT_EQ(render(dir, ".", "1", "out.wav").status, 2) << "a folder is no score";
}

TEST(RenderScore, AWaveThatCannotBeWrittenIsStatus1AndLeavesNothing) {
    const std::string dir = make_scratch_dir("render_score_unwritable");
    write_file_bytes(dir + "/ok.vbt", "vbtune 1\ntempo 120\nmode once\nvoice a pulse\na: c1\n");
    const SimResult result = render(dir, "ok.vbt", "1", "no/such/folder/out.wav");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.stderr_text.find("no/such/folder/out.wav"), std::string::npos);
    if (std::filesystem::exists("/dev/full")) {
        // A device that refuses the data fails the same way, and the device
        // itself is left alone.
        EXPECT_EQ(render(dir, "ok.vbt", "1", "/dev/full").status, 1);
        EXPECT_TRUE(std::filesystem::exists("/dev/full"));
    }
}

}  // namespace
