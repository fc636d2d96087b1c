// The boss battle through the runner. To hit the boss, a first run with the
// ship at rest tells where the boss will be; a shot is then timed to meet it.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "support/sim_process.h"

namespace {

constexpr int FIGHT = 387;  // the first fight frame: present 2 + 385 intro frames
constexpr int64_t SHIP_X = 0xDC00, SHIP_Y = 0x23000, SINK_AWAY = 0x280;

SimResult run_boss(const std::string& script, int frames, int ms, double best = 5.0) {
    SimRun run;
    run.script = script;
    run.args = {"--start",        "3",
                "--score",        "70",
                "--frames",       std::to_string(frames),
                "--ms-of-second", std::to_string(ms)};
    run.play_data.assign(72, '\0');
    std::memcpy(run.play_data.data(), &best, sizeof best);
    run.has_play_data = true;
    return run_sim_process(run, make_scratch_dir("boss"));
}

// The battle left alone for 1,000 frames at `ms`: where the boss roams and
// when the ship is struck. Kept for every test that reads it.
const SimResult& still(int ms) {
    static std::map<int, SimResult> runs;
    const auto found = runs.find(ms);
    if (found != runs.end()) return found->second;
    return runs.emplace(ms, run_boss("", 1000, ms)).first->second;
}

int sounds(const SimResult& r, int from, int to, int slot) {
    int n = 0;
    for (int f = from; f <= to; ++f)
        for (const Json& s : at(r, f)["sounds"].items) n += s.as_int() == slot;
    return n;
}
int strike_frame(const SimResult& r) {
    for (size_t i = 1; i < r.trace.size(); ++i)
        if (r.trace[i]["objects"]["player"]["s"].as_int() == 2) return static_cast<int>(i) + 1;
    return -1;
}

// The frame in which a shot taken in frame `fire` from 110 px first touches
// the roaming boss, or -1. Both are tested where they were before the move.
int hit_frame_for(const SimResult& still, int fire) {
    for (int j = 0; j < 18; ++j) {
        const Json& b = obj(still, fire + j, "boss");
        const int64_t bx = b["x"].as_int() - b["vx"].as_int(),
                      by = b["y"].as_int() - b["vy"].as_int();
        const int64_t sy = SHIP_Y - 8 - 0x2000 * j;
        if (!(sy > by + 8192 || sy + 8192 < by || SHIP_X + 1536 > bx + 8192 || SHIP_X + 6656 < bx))
            return fire + j;
    }
    return -1;
}

struct Aim {
    int ms = -1, fire = -1, hit = -1;
};

// A random sequence and a shot that meets the boss before a bullet finds the ship.
Aim aim_at_boss() {
    for (int ms = 0; ms < 1000; ms += 10) {
        const int strike = strike_frame(still(ms)) > 0 ? strike_frame(still(ms)) : 980;
        for (int fire = FIGHT; fire < strike; ++fire) {
            const int hit = hit_frame_for(still(ms), fire);
            if (hit > 0 && hit <= strike) return {ms, fire, hit};
        }
    }
    return {};
}

std::string press(int frame, const char* key) {
    return std::to_string(frame) + " press " + key + "\n";
}

}  // namespace

TEST(BossBattleRun, IntroFirstDashVolleyAndStruckShip) {
    const SimResult& r = still(0);
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(at(r, 2)["tune_calls"][1].text, "load VBTUNE_BOSS");
    EXPECT_EQ(at(r, FIGHT - 2)["phase"].as_int(), 0);
    EXPECT_EQ(at(r, FIGHT - 1)["phase"].as_int(), 1);
    EXPECT_EQ(obj(r, FIGHT - 1, "boss")["y"].as_int(), 37516);
    EXPECT_EQ(at(r, 8)["objects"]["rocks"].as_int(), 1);

    // 15 frames of pushing carry the boss 75 px; the volley comes on the 18th.
    const int64_t moved = obj(r, FIGHT + 14, "boss")["x"].as_int() - 0xE400;
    EXPECT_EQ(moved < 0 ? -moved : moved, 75 * 512);
    EXPECT_EQ(sounds(r, 2, FIGHT + 16, 0), 0);
    EXPECT_EQ(sounds(r, FIGHT + 17, FIGHT + 17, 0), 2);
    EXPECT_EQ(obj(r, FIGHT + 17, "laser_bombs")[0]["s"].as_int(), 2);

    // Struck: the explosion on the next frame, the battle lost 51 after.
    const int struck = strike_frame(r);
    ASSERT_GT(struck, FIGHT);
    EXPECT_EQ(sounds(r, struck + 1, struck + 1, 1), 1);
    EXPECT_EQ(obj(r, struck + 1, "player")["v"].as_int(), 0);
    EXPECT_EQ(at(r, struck + 50)["phase"].as_int(), 1);
    EXPECT_EQ(at(r, struck + 51)["phase"].as_int(), 2);
    EXPECT_EQ(at(r, struck + 51)["tune_calls"][1].text, "load VBTUNE_END2");
    EXPECT_EQ(obj(r, struck + 51, "result_picture")["v"].as_int(), 1);
    EXPECT_EQ(obj(r, struck + 51, "boss")["vy"].as_int(), SINK_AWAY);
}

TEST(BossBattleRun, SpaceHeldLeavesTheDefeatOnItsTwentyFifthFrame) {
    const int lost = strike_frame(still(0)) + 51;
    const SimResult r = run_boss(std::to_string(lost) + " down SPACE\n", lost + 60, 0);
    EXPECT_EQ(at(r, lost + 24)["mode"].as_int(), 3);
    EXPECT_EQ(at(r, lost + 25)["mode"].as_int(), 1);
    EXPECT_EQ(at(r, lost + 25)["keys"].as_int(), 0);
}

TEST(BossBattleRun, ThreeMissedShotsLoseOnceTheLastHasLeft) {
    // Space held from the first fight frame fires at once each time the ship
    // is ready; pick a sequence where all three miss and nothing strikes.
    const int shots[3] = {FIGHT, FIGHT + 19, FIGHT + 38}, gone = FIGHT + 56;
    int ms = 0;
    for (; ms < 1000; ms += 30) {
        const int strike = strike_frame(still(ms));
        bool missed = strike < 0 || strike > gone;
        for (int fire : shots) missed = missed && hit_frame_for(still(ms), fire) < 0;
        if (missed) break;
    }
    ASSERT_LT(ms, 1000);
    const SimResult r = run_boss(std::to_string(FIGHT - 1) + " down SPACE\n", gone + 5, ms);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(obj(r, shots[k], "shot_icons")[2 - k]["v"].as_int(), 0);
        EXPECT_EQ(obj(r, shots[k] + 17, "player")["n"].as_int(), 3 - k);
        EXPECT_EQ(obj(r, shots[k] + 18, "player")["n"].as_int(), 2 - k);
    }
    EXPECT_EQ(at(r, gone - 1)["phase"].as_int(), 1);
    EXPECT_EQ(at(r, gone)["phase"].as_int(), 2);
    EXPECT_EQ(obj(r, gone, "boss")["vy"].as_int(), SINK_AWAY);
}

TEST(BossBattleRun, AimedShotWinsSavesThePlayDataAndStartsTheEnding) {
    const Aim aim = aim_at_boss();
    ASSERT_GT(aim.hit, 0);
    const int ms = aim.ms, fire = aim.fire, hit = aim.hit;
    const SimResult r = run_boss(press(fire - 1, "SPACE"), hit + 460, ms);
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(obj(r, hit, "boss")["s"].as_int(), 1);
    EXPECT_EQ(obj(r, hit + 1, "player")["s"].as_int(), 5);

    // The hit and 34 explosions, then the verdict 207 frames after the hit.
    const int won = hit + 207;
    EXPECT_EQ(sounds(r, hit, won, 1), 35);
    EXPECT_EQ(at(r, won - 1)["phase"].as_int(), 1);
    EXPECT_EQ(at(r, won)["phase"].as_int(), 3);
    EXPECT_EQ(at(r, won)["rewards"][9].as_int(), 1);
    EXPECT_EQ(at(r, won)["best"].number, 70.0);
    EXPECT_EQ(at(r, won)["tune_calls"][1].text, "load VBTUNE_END1");
    const std::string saved = read_file_bytes(r.dir + "/PlayData.dat");
    ASSERT_EQ(saved.size(), 72u);
    EXPECT_EQ(saved[48], 1) << "reward flag 9";

    // The screen closes on the 163rd frame of the wait; the ending follows.
    EXPECT_EQ(at(r, won + 163)["transition"].as_int(), 3);
    EXPECT_EQ(at(r, won + 235)["mode"].as_int(), 3);
    EXPECT_EQ(at(r, won + 236)["mode"].as_int(), 4);

    // Escape in the victory wait: the data has been saved already.
    const SimResult quit =
        run_boss(press(fire - 1, "SPACE") + press(won + 40, "ESCAPE"), won + 90, ms, 300.0);
    EXPECT_EQ(static_cast<int>(quit.trace.size()), won + 40);
    const std::string kept = read_file_bytes(quit.dir + "/PlayData.dat");
    ASSERT_EQ(kept.size(), 72u);
    double best = 0;
    std::memcpy(&best, kept.data(), sizeof best);
    EXPECT_EQ(best, 300.0) << "a higher best score stays";
    EXPECT_EQ(kept[48], 1);
}

TEST(BossBattleRun, EscapeEndsTheIntroTheFightAndTheDefeat) {
    const int lost = strike_frame(still(0)) + 51;
    for (const auto& [frame, phase] : {std::pair{100, 0}, {FIGHT + 20, 1}, {lost + 30, 2}}) {
        const SimResult r = run_boss(press(frame, "ESCAPE"), frame + 50, 0);
        EXPECT_EQ(r.status, 0);
        ASSERT_EQ(static_cast<int>(r.trace.size()), frame);
        EXPECT_EQ(at(r, frame)["phase"].as_int(), phase);
    }
}
