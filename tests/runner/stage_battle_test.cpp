// The stage battle played through zarvox-sim with key scripts.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "runner/stage_aim.h"

namespace {

constexpr int INTRO = 0, PLAY = 1, GAME_OVER = 2, CLEARED = 3, PRIZE = 4, RETRY = 5;

SimResult run(const std::string& name, const std::string& script, std::vector<std::string> args,
              int frames) {
    SimRun r;
    r.script = script;
    r.args = args;
    r.args.push_back("--frames");
    r.args.push_back(std::to_string(frames));
    return run_sim_process(r, make_scratch_dir(name));
}

// The first frame from `from` on whose record `pred` holds, or 0.
int first_frame(const SimResult& r, int from, const std::function<bool(const Json&)>& pred) {
    for (int f = from; f <= frames_of(r); ++f)
        if (pred(at(r, f))) return f;
    return 0;
}

auto in_phase(int phase) {
    return [phase](const Json& rec) {
        return rec["mode"].as_int() == 2 && rec["phase"].as_int() == phase;
    };
}

// Whether the shot's box touched the enemy's at their places before the
// frame's move (the trace records them after it).
bool touched_before_move(const Json& shot, const Json& enemy) {
    const int64_t sx = shot["x"].as_int() - shot["vx"].as_int(),
                  sy = shot["y"].as_int() - shot["vy"].as_int();
    const int64_t ex = enemy["x"].as_int() - enemy["vx"].as_int(),
                  ey = enemy["y"].as_int() - enemy["vy"].as_int();
    return sx + 13 * 512 >= ex + 2 * 512 && sx + 3 * 512 <= ex + 18 * 512 &&
           sy + 16 * 512 >= ey + 2 * 512 && sy <= ey + 18 * 512;
}

// Space held from the start of stage 1: every shot goes, the stage is lost,
// and Space (still held) retries the moment the prompt is armed.
const std::string HOLD_SPACE = "2 down SPACE\n";
const std::vector<std::string> STAGE_1 = {"--start", "2"};

const SimResult& held_space() {
    static const SimResult held = run("held", HOLD_SPACE, STAGE_1, 700);
    return held;
}

}  // namespace

TEST(StageBattle, HeldSpaceSpendsTenShotsThenLosesAndRetries) {
    const SimResult& r = held_space();
    // The opening hands over to play on the frame after the transition is open.
    const int open =
        first_frame(r, 2, [](const Json& rec) { return rec["transition"].as_int() == 2; });
    ASSERT_GT(open, 2);
    EXPECT_EQ(at(r, open)["phase"].as_int(), INTRO);
    EXPECT_EQ(at(r, open + 1)["phase"].as_int(), PLAY);

    std::vector<int> launches;
    for (int f = open + 1; f <= frames_of(r) && at(r, f)["phase"].as_int() == PLAY; ++f)
        if (has_number(at(r, f)["sounds"], 0)) launches.push_back(f);
    ASSERT_EQ(launches.size(), 10u);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(launches[i], open + 2 + 25 * i);
        const Json& icons = obj(r, launches[i], "shot_icons");
        for (int icon = 0; icon < 10; ++icon)
            EXPECT_EQ(icons[icon]["v"].as_int(), icon < 9 - i ? 1 : 0) << i << " " << icon;
    }

    // No verdict while the last shot flies; then the defeat tune and banner.
    const int lost = first_frame(r, open, in_phase(GAME_OVER));
    EXPECT_EQ(lost, launches[9] + 24);
    EXPECT_TRUE(has_text(at(r, lost)["tune_calls"], "load VBTUNE_END2"));
    EXPECT_EQ(obj(r, lost, "banner")["v"].as_int(), 1);
    for (const Json& e : obj(r, lost + 5, "enemies").items) {
        EXPECT_EQ(e["vx"].as_int(), 0);
        EXPECT_EQ(e["vy"].as_int(), 128);
    }
    EXPECT_EQ(
        obj(r, lost + 5, "enemies")[0]["y"].as_int() - obj(r, lost, "enemies")[0]["y"].as_int(),
        5 * 128);

    // Space, held all along, does nothing until the prompt is shown and armed
    // on the 50th frame of the game over, and is taken on that same frame.
    for (int f = lost; f < lost + 50; ++f) {
        EXPECT_EQ(obj(r, f, "prompt")["f"].as_int(), 0);
        EXPECT_EQ(at(r, f)["phase"].as_int(), GAME_OVER);
    }
    const int armed = lost + 50;
    EXPECT_EQ(obj(r, armed, "prompt")["v"].as_int(), 1);
    EXPECT_EQ(at(r, armed)["phase"].as_int(), RETRY);
    EXPECT_EQ(at(r, armed)["transition"].as_int(), 3);
    EXPECT_TRUE(has_text(at(r, armed)["tune_calls"], "load VBTUNE_BATTLE"));

    // The 10th closed frame returns: stage 1 again, score 0.
    const int closed =
        first_frame(r, armed, [](const Json& rec) { return rec["transition"].as_int() == 4; });
    ASSERT_GT(closed, 0);
    EXPECT_GT(at(r, closed + 9)["score"].as_int(), 0);
    EXPECT_EQ(at(r, closed + 9)["phase"].as_int(), RETRY);
    const Json& again = at(r, closed + 10);
    EXPECT_EQ(again["mode"].as_int(), 2);
    EXPECT_EQ(again["phase"].as_int(), INTRO);
    EXPECT_EQ(again["score"].as_int(), 0);
    EXPECT_EQ(again["stage"].as_int(), 1);
    EXPECT_EQ(again["objects"]["player"]["n"].as_int(), 10);
}

TEST(StageBattle, ClearedStageOneScoresChainsSlidesTheBannerAndGoesOnToStageTwo) {
    const stage_aim::StagePlay play =
        stage_aim::play_stage(STAGE_1, make_scratch_dir("clear1"), 10, 500);
    const SimResult& r = play.result;
    const int cleared = first_frame(r, 2, in_phase(CLEARED));
    ASSERT_GT(cleared, 0) << play.script;

    // Each shot's k-th hit is worth 1 + k / 2; a hit enemy is still drawn in
    // its frame and bursts with "bom" in the next.
    int chain = 0, longest = 0, last_launch = 0;
    for (int f = 3; f <= cleared; ++f) {
        if (has_number(at(r, f)["sounds"], 0)) chain = 0, last_launch = f;
        int64_t expected = 0;
        for (int n = 0; n < 19; ++n) {
            const Json& e = obj(r, f, "enemies")[n];
            if (e["s"].as_int() == 1 && obj(r, f - 1, "enemies")[n]["s"].as_int() == 0) {
                expected += 1 + ++chain / 2;
                EXPECT_EQ(e["v"].as_int(), 1);
                EXPECT_TRUE(touched_before_move(obj(r, f, "shot"), e)) << f;
                const Json& next = obj(r, f + 1, "enemies")[n];
                EXPECT_TRUE(next["s"].as_int() == 2 && next["v"].as_int() == 0);
                EXPECT_TRUE(has_number(at(r, f + 1)["sounds"], 1));
            }
        }
        longest = std::max(longest, chain);
        EXPECT_EQ(at(r, f)["score"].as_int() - at(r, f - 1)["score"].as_int(), expected) << f;
    }
    EXPECT_GE(longest, 3) << play.script;
    // The verdict waits until the last shot has left the screen.
    EXPECT_EQ(cleared, last_launch + 24);
    EXPECT_TRUE(has_text(at(r, cleared)["tune_calls"], "load VBTUNE_END1"));

    // The banner slides in a twelfth of the way each frame.
    const Json& banner = obj(r, cleared, "banner");
    EXPECT_EQ(banner["v"].as_int(), 1);
    EXPECT_EQ(banner["x"].as_int(), 240 * 512);
    EXPECT_EQ(obj(r, cleared + 1, "banner")["x"].as_int(), 240 * 512 - 240 * 512 / 12);

    // Shots left are tallied from the 10th frame on, one every 9 frames.
    const int64_t score = at(r, cleared)["score"].as_int();
    const int64_t left = obj(r, cleared, "player")["n"].as_int();
    ASSERT_GE(left, 2);
    EXPECT_EQ(at(r, cleared + 9)["score"].as_int(), score);
    EXPECT_EQ(at(r, cleared + 10)["score"].as_int(), score + 1);
    EXPECT_EQ(at(r, cleared + 19)["score"].as_int(), score + 2);
    EXPECT_EQ(obj(r, cleared + 10, "shot_icons")[left - 1]["v"].as_int(), 0);

    // The battle tune and the closing transition on the 130th frame; the 10th
    // closed frame returns for stage 2.
    for (int f = cleared + 1; f < cleared + 130; ++f) EXPECT_EQ(at(r, f)["tune_calls"].size(), 0u);
    EXPECT_TRUE(has_text(at(r, cleared + 130)["tune_calls"], "load VBTUNE_BATTLE"));
    EXPECT_EQ(at(r, cleared + 130)["transition"].as_int(), 3);
    const int closed =
        first_frame(r, cleared, [](const Json& rec) { return rec["transition"].as_int() == 4; });
    EXPECT_EQ(at(r, closed + 9)["stage"].as_int(), 1);
    EXPECT_EQ(at(r, closed + 10)["stage"].as_int(), 2);
    EXPECT_EQ(at(r, closed + 10)["phase"].as_int(), INTRO);
    EXPECT_EQ(at(r, closed + 10)["score"].as_int(), score + left);
}

namespace {

// Stage 3 played once by aiming; the same keys replay it with any starting
// score, since the score does not touch the enemies' course.
const stage_aim::StagePlay& stage_three() {
    static const stage_aim::StagePlay play = stage_aim::play_stage(
        {"--start", "2", "--stage", "3"}, make_scratch_dir("stage3"), 10, 100);
    return play;
}

int stage_three_verdict() {
    return first_frame(stage_three().result, 2, in_phase(CLEARED));
}

// Replays stage 3 from the score that makes its total (score plus shots
// left) `total`, pressing Space `space_after` frames after the verdict.
SimResult replay_stage_three(int total, int space_after) {
    const SimResult& first = stage_three().result;
    const int verdict = stage_three_verdict();
    const int64_t own =
        at(first, verdict)["score"].as_int() + obj(first, verdict, "player")["n"].as_int();
    const std::string keys =
        stage_three().script + std::to_string(verdict + space_after - 1) + " press SPACE\n";
    return run("stage3-replay", keys,
               {"--start", "2", "--stage", "3", "--score", std::to_string(total - own)},
               verdict + space_after + 20);
}

}  // namespace

TEST(StageBattle, StageThreeRewardPanelThenSpaceReturnsToTheTitle) {
    const int cleared = stage_three_verdict();
    ASSERT_GT(cleared, 0) << stage_three().script;
    const SimResult r = replay_stage_three(56, 121);  // the top edge of band 3 (crab)
    ASSERT_EQ(at(r, cleared)["phase"].as_int(), CLEARED);
    EXPECT_TRUE(has_text(at(r, cleared)["tune_calls"], "load VBTUNE_END1"));
    for (int b = 0; b < 10; ++b) EXPECT_EQ(at(r, cleared)["rewards"][b].as_int(), b == 3 ? 1 : 0);
    EXPECT_EQ(obj(r, cleared, "banner")["v"].as_int(), 0);
    // The panel builds over 106 frames, then Space is armed (the prompt stays hidden).
    EXPECT_EQ(obj(r, cleared + 106, "prompt")["f"].as_int(), 0);
    EXPECT_EQ(obj(r, cleared + 107, "prompt")["f"].as_int(), 1);
    EXPECT_EQ(obj(r, cleared + 107, "prompt")["v"].as_int(), 0);
    EXPECT_EQ(at(r, cleared + 120)["score"].as_int(), 56);  // the tally reached the total
    EXPECT_EQ(at(r, cleared + 120)["mode"].as_int(), 2);
    EXPECT_EQ(at(r, cleared + 121)["mode"].as_int(), 1);
}

TEST(StageBattle, SixtySixRevealsTheBossBattleAsThePrize) {
    const int reveal = stage_three_verdict();
    ASSERT_GT(reveal, 0) << stage_three().script;
    const int dark = reveal + 97;  // after 96 frames of lines
    const SimResult r = replay_stage_three(66, 97 + 41);
    ASSERT_EQ(at(r, reveal)["phase"].as_int(), PRIZE);
    EXPECT_TRUE(has_text(at(r, reveal)["tune_calls"], "load VBTUNE_END1"));
    for (int b = 0; b < 10; ++b) EXPECT_EQ(at(r, reveal)["rewards"][b].as_int(), 0);

    // Silence and a black field but for the caption and the score.
    for (int f = reveal + 1; f < dark; ++f) EXPECT_EQ(at(r, f)["tune_calls"].size(), 0u) << f;
    EXPECT_EQ(at(r, dark)["tune_calls"].size(), 1u);
    EXPECT_TRUE(has_text(at(r, dark)["tune_calls"], "stop"));
    EXPECT_EQ(obj(r, dark, "player")["v"].as_int(), 0);
    for (const Json& e : obj(r, dark, "enemies").items) EXPECT_EQ(e["v"].as_int(), 0);
    for (const Json& icon : obj(r, dark, "shot_icons").items) EXPECT_EQ(icon["v"].as_int(), 0);
    EXPECT_EQ(obj(r, dark, "prize_caption")["v"].as_int(), 1);

    // It shakes out and home on alternate frames for 24 frames, then arms Space.
    int away = 0;
    for (int f = dark + 1; f <= dark + 24; ++f) {
        const Json& c = obj(r, f, "prize_caption");
        const bool home = c["x"].as_int() == 8 * 512 && c["y"].as_int() == 140 * 512;
        EXPECT_TRUE(home || (f - dark) % 2 == 1) << f;
        away += !home;
        EXPECT_EQ(obj(r, f, "prompt")["f"].as_int(), 0);
    }
    EXPECT_GT(away, 6);
    EXPECT_EQ(obj(r, dark + 25, "prompt")["f"].as_int(), 1);
    EXPECT_EQ(at(r, dark + 40)["score"].as_int(), 66);
    EXPECT_EQ(at(r, dark + 40)["mode"].as_int(), 2);
    EXPECT_EQ(at(r, dark + 41)["mode"].as_int(), 3);
}

TEST(StageBattle, EscapeEndsTheModeInEveryPhase) {
    const int lost = first_frame(held_space(), 2, in_phase(GAME_OVER));
    const stage_aim::StagePlay& play = stage_three();
    const int cleared = stage_three_verdict();
    ASSERT_TRUE(lost > 0 && cleared > 0);
    const std::vector<std::string> stage3 = {"--start", "2", "--stage", "3"};
    const std::vector<std::string> prize = {"--start", "2", "--stage", "3", "--score", "60"};
    struct Case {
        int phase;
        std::string script;
        std::vector<std::string> args;
        int frame;
    } cases[] = {
        {INTRO, "", STAGE_1, 10},
        {PLAY, HOLD_SPACE, STAGE_1, 100},
        {GAME_OVER, HOLD_SPACE, STAGE_1, lost + 10},
        {RETRY, HOLD_SPACE, STAGE_1, lost + 55},
        {CLEARED, play.script, stage3, cleared + 50},
        {PRIZE, play.script, prize, cleared + 110},
    };
    for (const Case& c : cases) {
        const SimResult r = run("escape", c.script + std::to_string(c.frame) + " press ESCAPE\n",
                                c.args, c.frame + 100);
        EXPECT_EQ(r.status, 0);
        ASSERT_EQ(frames_of(r), c.frame) << c.phase;
        EXPECT_EQ(at(r, c.frame)["phase"].as_int(), c.phase);
        EXPECT_EQ(at(r, c.frame)["mode"].as_int(), 2);
    }
}
