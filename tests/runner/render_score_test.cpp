// zarvox-sim --render-score: a composer's score file heard without a rebuild,
// and a fault in it told by line, with status 2.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/sim_process.h"

namespace {

// The same score from a file (with or without a byte-order mark, as key
// scripts take it) and built in renders the same samples.
TEST(RenderScore, AScoreFileSoundsAsTheSameTuneBuiltIn) {
    const std::string dir = make_scratch_dir("render_score_same");
    const std::string source =
        read_file_bytes(std::string(ZARVOX_SOURCE_DIR) + "/resources/vbtune/VBTUNE_END2.vbt");
    ASSERT_FALSE(source.empty());
    write_file_bytes(dir + "/plain.vbt", source);
    write_file_bytes(dir + "/marked.vbt", "\xEF\xBB\xBF" + source);
    ASSERT_EQ(run_sim(dir, {"--render-tune", "VBTUNE_END2", "2.5", "built_in.wav"}).status, 0);
    const std::string built_in = read_file_bytes(dir + "/built_in.wav");
    EXPECT_EQ(built_in.size(), 44u + 4u * 55125);
    for (const std::string name : {"plain", "marked"}) {
        const SimResult r = run_sim(dir, {"--render-score", name + ".vbt", "2.5", name + ".wav"});
        ASSERT_EQ(r.status, 0) << r.stderr_text;
        EXPECT_EQ(read_file_bytes(dir + "/" + name + ".wav"), built_in) << name;
    }
}

TEST(RenderScore, AFaultGivesItsLineAndReasonAndStatus2) {
    const std::string dir = make_scratch_dir("render_score_faults");
    const std::string head = "vbtune 1\ntempo 120\nmode loop\nvoice a pulse\nvoice b triangle\n";
    const struct {
        std::string text;  // of bad.vbt
        std::string file;
        std::string says;
    } cases[] = {
        {head + "a: c4 d4 z4\nb: c2\n", "bad.vbt", "bad.vbt: line 6: unexpected 'z' in voice 'a'"},
        // A fault of a whole voice is told where its notes end.
        {head + "a: c4 d4\nb: c4\n# the end\nb: e4 f4\n", "bad.vbt",
         "bad.vbt: line 9: voice 'b' lasts 144 ticks"},
        {head + "voice c noise\na: c1\nb: c1\n", "bad.vbt",
         "bad.vbt: line 6: voice 'c' has no notes"},
        {"vbtune 1\nmode loop\n\n", "bad.vbt", "bad.vbt: line 3: the score has no tempo"},
        {"", "nowhere.vbt", "nowhere.vbt"},
        {"", ".", ""},  // a folder is no score
    };
    for (const auto& c : cases) {
        write_file_bytes(dir + "/bad.vbt", c.text);
        const SimResult r = run_sim(dir, {"--render-score", c.file, "1", "out.wav"});
        EXPECT_EQ(r.status, 2) << c.says;
        EXPECT_NE(r.stderr_text.find(c.says), std::string::npos) << r.stderr_text;
        EXPECT_FALSE(std::filesystem::exists(dir + "/out.wav")) << c.says;
    }
}

}  // namespace
