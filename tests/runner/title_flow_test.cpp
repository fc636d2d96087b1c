// The title mode as the player meets it: the intro, the title screen, the
// idle ending, starting a game, and the best score kept in the play data.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "platform/play_data.h"
#include "support/sim_process.h"

namespace {

std::vector<std::string> tune_calls(const SimResult& r, int frame) {
    std::vector<std::string> calls;
    const Json& list = at(r, frame)["tune_calls"];
    for (size_t i = 0; i < list.size(); ++i) calls.push_back(list[i].text);
    return calls;
}

SimRun make_run(std::string script, std::vector<std::string> args, std::string play_data = {},
                bool has_play_data = false) {
    SimRun run;
    run.script = std::move(script);
    run.args = std::move(args);
    run.play_data = std::move(play_data);
    run.has_play_data = has_play_data;
    return run;
}

std::string play_data_bytes(double best, std::vector<int> rewards = {}) {
    PlayDataRecord record = {};
    record.best_score = best;
    for (size_t k = 0; k < rewards.size() && k < REWARD_COUNT; ++k) record.rewards[k] = rewards[k];
    std::string bytes(sizeof record, '\0');
    std::memcpy(bytes.data(), &record, sizeof record);
    return bytes;
}

double saved_best(const std::string& dir) {
    const std::string bytes = read_file_bytes(dir + "/PlayData.dat");
    EXPECT_EQ(bytes.size(), sizeof(PlayDataRecord));
    PlayDataRecord record = {};
    std::memcpy(&record, bytes.data(), std::min(bytes.size(), sizeof record));
    return record.best_score;
}

// Present numbers of the first title-screen frame and of title-screen frame n.
constexpr int FIRST_MENU_FRAME = 230;
constexpr int menu_frame(int n) {
    return FIRST_MENU_FRAME + n - 1;
}

}  // namespace

TEST(TitleFlow, IdleRunPlaysIntroThenTitleScreenUntilTheCatArrives) {
    const std::string dir = make_scratch_dir("title-idle");
    const SimResult r = run_sim_process(SimRun{}, dir);
    ASSERT_EQ(r.status, 0) << r.stderr_text;
    // The cat reaches the planet on title frame 1378, which is never shown.
    ASSERT_EQ(r.trace.size(), 1606u);

    // The intro: frames 2 to 229; its last frame already hands over.
    for (int f = 2; f <= 228; ++f) {
        ASSERT_EQ(at(r, f)["phase"].as_int(), 0) << f;
    }
    EXPECT_EQ(at(r, 229)["phase"].as_int(), 1);

    // 32 dark frames, then the logo at (96, 120); it shakes and, after its
    // last jump of exactly +1, rests at (86, 120).
    EXPECT_EQ(at(r, 33)["hash"].text, at(r, 2)["hash"].text);
    EXPECT_EQ(obj(r, 34, "maker_logo")["v"].as_int(), 1);
    EXPECT_EQ(obj(r, 34, "maker_logo")["x"].as_int(), 96 * 512);
    EXPECT_EQ(obj(r, 67, "maker_logo")["x"].as_int(), 87 * 512);
    EXPECT_EQ(obj(r, 67, "maker_logo")["y"].as_int(), 121 * 512);
    for (int f = 68; f <= 228; ++f) ASSERT_EQ(obj(r, f, "maker_logo")["x"].as_int(), 86 * 512);

    // Notes from frame 102; the fountain and the library's logo on 123;
    // both logos gone on the intro's last frame.
    EXPECT_EQ(at(r, 101)["effects"].as_int(), 0);
    EXPECT_EQ(at(r, 102)["effects"].as_int(), 2);
    EXPECT_EQ(obj(r, 123, "library_logo")["v"].as_int(), 1);
    EXPECT_GE(at(r, 123)["effects"].as_int(), 16);
    EXPECT_EQ(obj(r, 229, "maker_logo")["v"].as_int(), 0);
    EXPECT_EQ(obj(r, 229, "library_logo")["v"].as_int(), 0);

    // The title tune is loaded before the old one stops; the notes are gone.
    const Json& first = at(r, FIRST_MENU_FRAME);
    EXPECT_EQ(first["phase"].as_int(), 2);
    EXPECT_EQ(tune_calls(r, FIRST_MENU_FRAME),
              (std::vector<std::string>{"load VBTUNE_TITLE", "stop", "play"}));
    EXPECT_EQ(first["effects"].as_int(), 0);

    // The cat opens its mouth on title frame 17; the prompt hides on 25.
    EXPECT_EQ(obj(r, menu_frame(17), "title_cat")["fr"].as_int(), 1);
    EXPECT_EQ(obj(r, menu_frame(25), "title_prompt")["v"].as_int(), 0);

    // The prompt grows more urgent on title frames 378, 778 and 1258.
    int expected = 0;
    for (int n = 1; n <= 1377; ++n) {
        if (n == 378 || n == 778 || n == 1258) ++expected;
        ASSERT_EQ(obj(r, menu_frame(n), "title_prompt")["fr"].as_int(), expected) << n;
        ASSERT_EQ(at(r, menu_frame(n))["phase"].as_int(), 2) << n;
    }

    // With no file at start the unchanged best score is still written.
    EXPECT_EQ(saved_best(dir), 0.0);
}

TEST(TitleFlow, SpaceSkipsTheIntroAndMustBePressedAgainToStart) {
    // Space held from frame 50 on: the title screen comes at once and stays.
    {
        const std::string dir = make_scratch_dir("title-skip-held");
        const SimResult r = run_sim_process(make_run("50 down SPACE\n", {"--frames", "150"}), dir);
        ASSERT_EQ(r.status, 0) << r.stderr_text;
        EXPECT_EQ(at(r, 50)["phase"].as_int(), 0);
        EXPECT_EQ(at(r, 51)["phase"].as_int(), 2);
        EXPECT_EQ(tune_calls(r, 51),
                  (std::vector<std::string>{"load VBTUNE_TITLE", "stop", "play"}));
        for (int f = 51; f <= 150; ++f) {
            ASSERT_EQ(at(r, f)["mode"].as_int(), 1);
            ASSERT_EQ(at(r, f)["phase"].as_int(), 2) << f;
            ASSERT_EQ(at(r, f)["keys"].as_int(), 0) << f;
        }
    }
    // Released and pressed again: the game starts after 26 closing frames.
    {
        const std::string dir = make_scratch_dir("title-start");
        const SimRun run =
            make_run("50 down SPACE\n120 up SPACE\n150 press SPACE\n",
                     {"--frames", "190", "--score", "40"}, play_data_bytes(20.0), true);
        const SimResult r = run_sim_process(run, dir);
        ASSERT_EQ(r.status, 0) << r.stderr_text;
        EXPECT_EQ(at(r, 150)["phase"].as_int(), 2);
        EXPECT_EQ(tune_calls(r, 151),
                  (std::vector<std::string>{"stop", "load VBTUNE_BATTLE", "play"}));
        // The halves meet on the 16th frame, the picture is closed on the
        // 17th and stays 9 more frames; nothing on the title moves meanwhile.
        for (int f = 151; f <= 176; ++f) {
            ASSERT_EQ(at(r, f)["mode"].as_int(), 1);
            ASSERT_EQ(at(r, f)["phase"].as_int(), 3) << f;
            ASSERT_EQ(at(r, f)["transition"].as_int(), f <= 166 ? 3 : 4) << f;
            ASSERT_EQ(obj(r, f, "title_cat")["x"].as_int(), obj(r, 150, "title_cat")["x"].as_int());
        }
        EXPECT_EQ(at(r, 176)["hash"].text, at(r, 168)["hash"].text);
        const Json& battle = at(r, 177);
        EXPECT_EQ(battle["mode"].as_int(), 2);
        EXPECT_EQ(battle["stage"].as_int(), 1);
        EXPECT_EQ(battle["score"].as_int(), 0);
        // The score of 40 beat the stored 20 as the title began.
        EXPECT_EQ(at(r, 2)["best"].number, 40.0);
        EXPECT_EQ(saved_best(dir), 40.0);
    }
}

// Whatever "PlayData.dat" holds at start-up, the run goes on: what the record
// has is read, a damaged or lower best gives way to the running score, and a
// fresh save writes the exact 72 bytes.
TEST(TitleFlow, StoredPlayDataOfAnyShapeIsReadAndSavedWhole) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::string record = play_data_bytes(100.0, {0, 0, 0, 1});
    const struct {
        bool has_file;
        std::string stored;
        double best_seen;  // NaN: not a number in the trace
        int reward_3;
        std::string saved;
    } cases[] = {
        {false, "", 40, 0, play_data_bytes(40)},
        {true, record, 100, 1, record},
        {true, record.substr(0, 13), 100, 0, play_data_bytes(100)},
        {true, record + "trailing", 100, 1, record},
        {true, play_data_bytes(20), 40, 0, play_data_bytes(40)},
        {true, play_data_bytes(std::nan("")), 40, 0, play_data_bytes(40)},
        {true, play_data_bytes(inf), NAN, 0, play_data_bytes(inf)},
        {true, play_data_bytes(-inf), 40, 0, play_data_bytes(40)},
        {true, play_data_bytes(1e300), 1e300, 0, play_data_bytes(1e300)},
        {true, play_data_bytes(-12), 40, 0, play_data_bytes(40)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.has_file ? std::to_string(c.stored.size()) + " bytes" : "no file");
        const std::string dir = make_scratch_dir("title-play-data");
        // The best score is drawn on the title screen from present 3 on.
        const SimRun run =
            make_run("2 press SPACE\n", {"--frames", "5", "--score", "40"}, c.stored, c.has_file);
        const SimResult r = run_sim_process(run, dir);
        ASSERT_EQ(r.status, 0) << r.stderr_text;
        ASSERT_EQ(at(r, 5)["phase"].as_int(), 2);
        if (!std::isnan(c.best_seen)) {
            EXPECT_EQ(at(r, 2)["best"].number, c.best_seen);
        }
        EXPECT_EQ(at(r, 2)["rewards"][3].as_int(), c.reward_3);
        EXPECT_EQ(read_file_bytes(dir + "/PlayData.dat"), c.saved);
    }
}
