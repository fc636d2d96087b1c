// Recordings name the build that made them; one made by another build still
// replays, with a single note on standard error.
#include "replay/build_identity.h"

#include <gtest/gtest.h>

#include <string>

#include "replay/key_script.h"
#include "support/parsed_script.h"
#include "support/sim_process.h"

namespace {

TEST(BuildIdentity, IsOneWordWithoutSpaces) {
    const std::string id = build_identity();
    ASSERT_FALSE(id.empty());
    EXPECT_EQ(id.find_first_of(" \t\r\n\"\\#"), std::string::npos) << id;
}

TEST(BuildIdentity, TheLineIsACommentThatTheParserReads) {
    char line[64];
    ASSERT_GT(format_build_line("v1.0-3-gabc1234-dirty", line, sizeof line), 0);
    EXPECT_STREQ(line, "# zarvox build v1.0-3-gabc1234-dirty\n");
    EXPECT_EQ(format_build_line("", line, sizeof line), 0);
    char small[10];
    EXPECT_EQ(format_build_line("v1.0", small, sizeof small), 0);

    const std::string keys = "5 press SPACE\n9 ms 120\n";
    const KeyScript named = parsed_script(std::string(KEY_SCRIPT_HEADER) + "\n" + line + keys);
    const KeyScript plain = parsed_script(std::string(KEY_SCRIPT_HEADER) + "\n" + keys);
    EXPECT_EQ(named.build, "v1.0-3-gabc1234-dirty");
    EXPECT_EQ(plain.build, "");
    ASSERT_EQ(named.messages.size(), plain.messages.size());
    EXPECT_EQ(named.times.size(), plain.times.size());
    // With nothing after it, the line is just a comment.
    EXPECT_EQ(parsed_script("# zarvox build \n").build, "");
}

TEST(BuildIdentity, AnotherBuildIsNotedOnceAndOnlyIt) {
    const KeyScript same = parsed_script(std::string("# zarvox build ") + build_identity() + "\n");
    const KeyScript unsaid = parsed_script("1 press SPACE\n");
    const KeyScript other = parsed_script("# zarvox build 0000000-\x1b[2J\n");
    testing::internal::CaptureStderr();
    note_other_build(same, "same.keys", "zarvox");
    note_other_build(unsaid, "unsaid.keys", "zarvox");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    testing::internal::CaptureStderr();
    note_other_build(other, "other.keys", "zarvox");
    note_other_build(other, "other.keys", "zarvox");
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, std::string("zarvox: other.keys was recorded by build '0000000-\\x1b[2J', "
                                "this is build ") +
                        build_identity() + "; it may play out differently\n");
}

TEST(BuildIdentity, TheRunnerReplaysAnotherBuildsRecordingAndSaysSoOnce) {
    SimRun run;
    run.trace = false;
    run.args = {"--frames", "40"};
    run.script = std::string(KEY_SCRIPT_HEADER) + "\n# zarvox build elsewhere-1\n20 press SPACE\n";
    const SimResult other = run_sim_process(run, make_scratch_dir("build-identity-other"));
    ASSERT_EQ(other.status, 0) << other.stderr_text;
    EXPECT_EQ(other.end["frames"].as_int(), 40);
    const std::string note = "was recorded by build 'elsewhere-1'";
    const size_t at = other.stderr_text.find(note);
    ASSERT_NE(at, std::string::npos) << other.stderr_text;
    EXPECT_EQ(other.stderr_text.find(note, at + note.size()), std::string::npos);
}

}  // namespace
