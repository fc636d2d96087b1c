// The ending: the opening transition, the texts rising one at a time, and
// the end mark bouncing to rest; only the quit request leaves.
#include <gtest/gtest.h>

#include <string>

#include "support/sim_process.h"

namespace {

constexpr int SLOTS = 16;
constexpr int END_MARK = 15;
constexpr int FLOOR = 140 * 512;

const Json& slot(const Json& rec, int i) {
    return rec["objects"]["ending_objects"][static_cast<size_t>(i)];
}

SimResult run_ending(const char* name, const std::string& script, int frames) {
    const std::string dir = make_scratch_dir(name);
    SimRun run;
    run.script = script;
    run.args = {"--start", "4", "--frames", std::to_string(frames)};
    return run_sim_process(run, dir);
}

// The ending left alone, shared by the tests that compare with it.
const SimResult& idle_ending() {
    static const SimResult idle = run_ending("ending-idle", "", 1400);
    return idle;
}

}  // namespace

TEST(EndingScroll, TextsRiseOneAtATimeAfterTheOpeningAndTheEndMarkComesToRest) {
    const SimResult& r = idle_ending();
    ASSERT_EQ(r.status, 0) << r.stderr_text;
    ASSERT_EQ(r.trace.size(), 1400u);

    const Json& first = r.trace[1];
    EXPECT_EQ(first["mode"].as_int(), 4);
    EXPECT_EQ(first["tune_calls"][1].text, "load VBTUNE_ENDING");

    int start_frame[SLOTS] = {};
    int opened_at = 0;
    int last_off_floor = 0;
    bool in_end_mark = false;
    for (size_t n = 1; n < r.trace.size(); ++n) {
        const Json& rec = r.trace[n];
        const int frame = static_cast<int>(rec["frame"].as_int());
        const int step = static_cast<int>(rec["phase"].as_int());
        if (rec["transition"].as_int() == 2 && opened_at == 0) opened_at = frame;
        int moving = 0;
        int visible = 0;
        for (int i = 0; i < SLOTS; ++i) {
            const Json& o = slot(rec, i);
            if (o["vy"].as_int() != 0) {
                ++moving;
                if (start_frame[i] == 0) start_frame[i] = frame;
            }
            visible += static_cast<int>(o["v"].as_int());
        }
        if (step == 0) {
            ASSERT_EQ(moving, 0) << frame;
            ASSERT_EQ(visible, 0) << frame;
        } else {
            // Exactly one text at a time, and the end mark stays the last.
            ASSERT_EQ(visible, 1) << frame;
            ASSERT_LE(moving, 1) << frame;
        }
        if (step == 2) in_end_mark = true;
        if (in_end_mark) {
            const Json& mark = slot(rec, END_MARK);
            ASSERT_EQ(mark["v"].as_int(), 1);
            ASSERT_LE(mark["y"].as_int() / 512, 140) << frame;
            if (mark["y"].as_int() / 512 != 140) last_off_floor = frame;
        }
    }

    // The opening ends, then the first text starts on the next frame.
    ASSERT_GT(opened_at, 2);
    EXPECT_EQ(start_frame[0], opened_at + 1);
    for (int i = 1; i < SLOTS; ++i) EXPECT_EQ(start_frame[i] - start_frame[i - 1], 43) << i;
    ASSERT_TRUE(in_end_mark);
    // It comes to rest on the floor well before the run ends and stays.
    EXPECT_GT(last_off_floor, start_frame[END_MARK] + 100);
    EXPECT_LT(last_off_floor, 1300);
    const Json& rest = slot(r.trace.back(), END_MARK);
    EXPECT_GE(rest["y"].as_int(), FLOOR);
    EXPECT_LT(rest["y"].as_int(), FLOOR + 512);
}

TEST(EndingScroll, SpaceDoesNothingAndEscapeEnds) {
    const SimResult& quiet = idle_ending();
    const SimResult keys = run_ending(
        "ending-keys",
        "10 press SPACE\n60 down SPACE\n70 down LEFT\n90 up SPACE\n120 press ESCAPE\n", 200);
    ASSERT_EQ(keys.status, 0) << keys.stderr_text;
    ASSERT_EQ(keys.trace.size(), 120u);
    for (size_t n = 0; n < keys.trace.size(); ++n) {
        ASSERT_EQ(keys.trace[n]["hash"].text, quiet.trace[n]["hash"].text) << n + 1;
        ASSERT_EQ(keys.trace[n]["phase"].as_int(), quiet.trace[n]["phase"].as_int()) << n + 1;
    }
}
