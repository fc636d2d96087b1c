// The runner never reports a failure as success and never hangs on what it
// is given: inputs that are no script, outputs that cannot be written
// whole, bad options, odd numbers and repeats, bad script lines.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "support/sim_process.h"

namespace {

namespace fs = std::filesystem;

struct Row {
    std::vector<std::string> args;
    std::string script;  // given as --input keys.txt when not empty
    int status;
    std::string says;  // part of the one-line message (none for status 0)
};

TEST(RunnerFailures, EachFailureIsOneShortPlainLineAndItsStatus) {
    const std::string dir = make_scratch_dir("failures");
    fs::create_directories(dir + "/folder");
    fs::create_directories(dir + "/small");
    ASSERT_EQ(mkfifo((dir + "/pipe").c_str(), 0644), 0);
    write_file_bytes(dir + "/big.txt", "");
    fs::resize_file(dir + "/big.txt", (64 << 20) + 1);  // larger than 64 MiB, taking no room
    write_file_bytes(dir + "/ok.vbt", "vbtune 1\ntempo 120\nmode once\nvoice a pulse\na: c1\n");
    write_file_bytes(dir + "/keys.txt", "2 press SPACE\n");
    const std::string data = play_record(55, {3});
    write_file_bytes(dir + "/PlayData.dat", data);
    fs::create_symlink("keys.txt", dir + "/keys-link");
    // A small full file system, where the machine lets us mount one.
    const bool mounted = mount("tmpfs", (dir + "/small").c_str(), "tmpfs", 0, "size=16k") == 0;

    std::vector<Row> rows = {
        {{"--input", "folder"}, "", 2, "--input folder: not a regular file"},
        {{"--input", "/dev/zero"}, "", 2, "--input /dev/zero: not a regular file"},
        {{"--input", "pipe"}, "", 2, "--input pipe: not a regular file"},
        {{"--input", "big.txt"}, "", 2, "--input big.txt: larger than 64 MiB"},
        {{"--input", "missing.txt"}, "", 2, "--input missing.txt"},
        {{"--bogus"}, "", 2, "unknown option '--bogus'"},
        {{"--frames"}, "", 2, "--frames needs a value"},
        {{"--frames", "ten"}, "", 2, "not 'ten'"},
        {{"--frames", "+5"}, "", 2, "not '+5'"},
        {{"--frames", " 5"}, "", 2, "not ' 5'"},
        {{"--frames", "0x2"}, "", 2, "not '0x2'"},
        {{"--start", "5"}, "", 2, "--start takes a number from 1 to 4, not '5'"},
        {{"--start", "0"}, "", 2, "not '0'"},
        {{"--stage", "4"}, "", 2, "--stage takes a number from 1 to 3, not '4'"},
        {{"--score", "1000"}, "", 2, "--score takes a number from 0 to 999, not '1000'"},
        {{"--score", "-1"}, "", 2, "not '-1'"},
        {{"--score", "5", "--score", "6"}, "", 2, "--score is given twice"},
        {{"--ms-of-second", "1000"}, "", 2, "from 0 to 999, not '1000'"},
        {{"--shot", "x.png"}, "", 2, "--shot takes N:FILE, not 'x.png'"},
        {{"--shot", "+2:a.png"}, "", 2, "not '+2:a.png'"},
        {{"--frames", "10", "--shot", "11:a.png"}, "", 2, "--shot 11 comes after the last frame"},
        {{"--autoplay", "--autoplay"}, "", 2, "--autoplay is given twice"},
        {{"--autoplay-script", "out.txt"}, "", 2, "--autoplay-script needs --autoplay"},
        {{"--autoplay", "--input", "keys.txt"}, "", 2, "takes no --input"},
        {{"--render-tune", "VBTUNE_TITLE", "0x2", "t.wav"}, "", 2, "not '0x2'"},
        {{"--render-tune", "VBTUNE_TITLE", "inf", "t.wav"}, "", 2, "not 'inf'"},
        {{}, "0 quit\n", 2, "keys.txt: line 1: frame numbers start at 1"},
        {{}, "-1 quit\n", 2, "line 1: bad frame number '-1'"},
        {{}, "5 down Q\n", 2, "line 1: unknown key 'Q'"},
        {{}, "5 down\n", 2, "line 1: 'down' takes one key"},
        {{}, "x down LEFT\n", 2, "line 1: bad frame number 'x'"},
        {{}, "5 jump\n", 2, "line 1: unknown action 'jump'"},
        {{}, "5 close LEFT\n", 2, "line 1: 'close' takes no key"},
        {{}, "5 press LEFT RIGHT\n", 2, "line 1: 'press' takes one key"},
        {{}, "9 down LEFT\n5 up LEFT\n", 2, "line 2: frame numbers must not decrease"},
        {{}, "# zarvox keys 2\n3 down SPACE\n", 2, "unknown format version '2'"},
        {{}, "# zarvox keys\n", 2, "unknown format version ''"},
        {{}, "3 ms 1000\n", 2, "line 1: 'ms' takes a number from 0 to 999"},
        {{}, "3 ms -1\n", 2, "line 1: 'ms' takes a number from 0 to 999"},
        {{}, "3 ms\n", 2, "line 1: 'ms' takes a number from 0 to 999"},
        {{}, "3 after ms 20\n", 2, "line 1: 'after' takes a message, not 'ms'"},
        {{}, "3 after\n", 2, "line 1: 'after' needs a message"},
        {{}, "1234567890 down SPACE\n", 2, "bad frame number '1234567890'"},  // nine digits at most
        // A long bad key with terminal controls in it: quoted short and escaped.
        {{}, "3 press \x1b[2J" + std::string(500, 'Q') + "\n", 2, "unknown key '\\x1b[2JQQQ"},
        // A byte-order mark before line 1 is not part of it.
        {{"--frames", "5"}, std::string("\xEF\xBB\xBF") + "3 press SPACE\n", 0, ""},
        {{"--autoplay", "--frames", "40", "--autoplay-script", "no/k.txt"}, "", 1, "no/k.txt"},
        // A trace that cannot be written leaves no WAVE behind either.
        {{"--frames", "30", "--audio", "a.wav", "--trace", "no/t.json"}, "", 1, "no/t.json"},
        {{"--audio", "a.wav", "--audio", "b.wav"}, "", 2, "--audio is given twice"},
        // An output that names an input, the play data or another output, through
        // links, hard links and "./" spellings alike, is refused.
        {{"--frames", "3", "--trace", "PlayData.dat"}, "", 2, "would overwrite the play data"},
        {{"--frames", "3", "--trace", "./hard.dat"}, "", 2, "would overwrite the play data"},
        {{"--frames", "3", "--shot", "2:PlayData.dat"}, "", 2, "would overwrite the play data"},
        {{"--input", "keys.txt", "--trace", "./keys.txt"}, "", 2, "would overwrite --input"},
        {{"--input", "keys.txt", "--trace", "keys-link"}, "", 2, "would overwrite --input"},
        {{"--trace", "new.json", "--shot", "2:./new.json"}, "", 2, "is the same file as --trace"},
        {{"--autoplay", "--autoplay-script", "PlayData.dat"}, "", 2, "overwrite the play data"},
        {{"--frames", "3", "--audio", "./PlayData.dat"}, "", 2, "would overwrite the play data"},
        {{"--input", "keys.txt", "--audio", "keys-link"}, "", 2, "would overwrite --input"},
        {{"--render-score", "ok.vbt", "1", "./ok.vbt"}, "", 2, "would overwrite --render-score"},
        {{"--render-tune", "VBTUNE_TITLE", "1", "hard.dat"}, "", 2, "overwrite the play data"},
        // Standard output and devices are no files to clobber.
        {{"--frames", "3", "--trace", "/dev/null"}, "", 0, ""},
    };
    std::vector<std::string> places = {"/dev/full", "no/such/folder/out"};
    if (mounted) places.push_back("small/out");
    for (const std::string& place : places) {
        const std::string says = "cannot write " + place;
        rows.push_back({{"--frames", "40", "--trace", place}, "", 1, says});
        rows.push_back({{"--frames", "40", "--shot", "2:" + place}, "", 1, says});
        rows.push_back({{"--dump-resources", place}, "", 1, says});
        rows.push_back({{"--render-tune", "VBTUNE_TITLE", "2", place}, "", 1, says});
        rows.push_back({{"--render-score", "ok.vbt", "1", place}, "", 1, says});
        rows.push_back({{"--frames", "40", "--audio", place}, "", 1, says});
    }

    for (const Row& row : rows) {
        std::string shown = row.script.substr(0, 20);
        for (const std::string& a : row.args) shown += " " + a;
        SCOPED_TRACE(shown);
        fs::remove(dir + "/hard.dat");  // a game that saved replaced the file it named
        fs::create_hard_link(dir + "/PlayData.dat", dir + "/hard.dat");
        const std::vector<std::string> before = files_in(dir);
        const std::string keys = read_file_bytes(dir + "/keys.txt");
        const SimResult r = run_sim_process(
            {.script = row.script, .args = row.args, .trace = false, .time_limit = 20}, dir);
        EXPECT_EQ(r.status, row.status) << r.stderr_text;
        // No output is left, whole or in part, and no input is touched.
        EXPECT_EQ(files_in(dir), before);
        EXPECT_EQ(read_file_bytes(dir + "/PlayData.dat"), data);
        if (row.script.empty()) {
            EXPECT_EQ(read_file_bytes(dir + "/keys.txt"), keys);
        }
        if (mounted) {
            EXPECT_TRUE(files_in(dir + "/small").empty());
        }
        const std::string message = r.stderr_text.substr(0, r.stderr_text.find("{\"end\""));
        if (row.status == 0) {
            EXPECT_EQ(message, "");
            continue;
        }
        EXPECT_EQ(message.rfind("zarvox-sim: ", 0), 0u) << message;
        EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
        EXPECT_NE(message.find(row.says), std::string::npos) << message;
        EXPECT_LT(message.size(), 140u) << message;
        EXPECT_EQ(message.find('\x1b'), std::string::npos) << message;
        if (row.status == 2) {  // refused before anything runs: no end line
            EXPECT_EQ(r.end.kind, Json::Kind::Null) << r.stderr_text;
        }
    }
    if (mounted) umount((dir + "/small").c_str());
    if (!mounted) GTEST_SKIP() << "no small file system could be mounted; the rest passed";
}

TEST(RunnerFailures, NonFiniteBestScoresAreTracedAsStrings) {
    const std::string dir = make_scratch_dir("non-finite");
    const std::pair<double, const char*> values[] = {
        {std::nan(""), "nan"}, {HUGE_VAL, "inf"}, {-HUGE_VAL, "-inf"}};
    for (const auto& [best, text] : values) {
        const SimResult r = run_sim_process({.args = {"--frames", "3", "--start", "2"},
                                             .play_data = play_record(best),
                                             .has_play_data = true},
                                            dir);
        ASSERT_EQ(r.trace.size(), 3u);
        EXPECT_EQ(r.trace[2]["best"].kind, Json::Kind::String);
        EXPECT_EQ(r.trace[2]["best"].text, text);
    }
}

}  // namespace
