// The boss battle through the runner: the intro, the boss's first moves,
// a beam, a struck ship, the defeat and its way out, missed shots, Escape.
#include "runner/boss_runs.h"

using namespace boss_runs;

namespace {

constexpr int BOSS_START_X = 0xE400;
constexpr int SINK_AWAY = 0x280;

int segments(const SimResult& r, int frame) {
    return at(r, frame)["objects"]["segments"].as_int();
}

}  // namespace

TEST(BossBattleRun, IntroSinksTheBossInWhileTheShipWaits) {
    // Arrows and Space held through the intro change nothing.
    const SimResult r =
        run_boss("boss-intro", "10 down LEFT\n10 down SPACE\n380 up LEFT\n380 up SPACE\n", 410, 0);
    ASSERT_EQ(r.status, 0);
    const Json& first = at(r, 2);
    EXPECT_EQ(first["mode"].as_int(), 3);
    ASSERT_EQ(first["tune_calls"].size(), 3u);
    EXPECT_EQ(first["tune_calls"][1].text, "load VBTUNE_BOSS");

    for (int f = 2; f <= 385; ++f) ASSERT_EQ(at(r, f)["phase"].as_int(), 0) << f;
    EXPECT_EQ(at(r, 386)["phase"].as_int(), 1);
    EXPECT_EQ(obj(r, 386, "boss")["y"].as_int(), 37516);
    EXPECT_EQ(obj(r, 386, "boss")["x"].as_int(), BOSS_START_X);
    EXPECT_EQ(obj(r, 386, "player")["x"].as_int(), SHIP_X);
    EXPECT_EQ(count_sounds(r, 2, 386, 0), 0);

    // One rock every 6 frames, and all 64 on their way by the fight.
    EXPECT_EQ(at(r, 7)["objects"]["rocks"].as_int(), 0);
    EXPECT_EQ(at(r, 8)["objects"]["rocks"].as_int(), 1);
    EXPECT_GE(at(r, 400)["objects"]["rocks"].as_int(), 56);
}

TEST(BossBattleRun, FirstDashAndFirstVolley) {
    for (int ms : {0, 40}) {
        const SimResult r = run_boss("boss-dash", "", 420, ms);
        ASSERT_EQ(r.status, 0);
        // 15 frames of pushing carry the boss 75 px to one side.
        const int64_t moved = obj(r, FIRST_FIGHT_FRAME + 14, "boss")["x"].as_int() - BOSS_START_X;
        EXPECT_EQ(moved < 0 ? -moved : moved, 75 * 512) << ms;
        EXPECT_EQ(obj(r, FIRST_FIGHT_FRAME + 15, "boss")["vx"].as_int(), 0);

        const int volley = FIRST_FIGHT_FRAME + 17;
        EXPECT_EQ(count_sounds(r, FIRST_FIGHT_FRAME, volley - 1, 0), 0);
        ASSERT_EQ(at(r, volley)["sounds"].size(), 2u);
        EXPECT_EQ(obj(r, volley, "boss_bullets")[0]["s"].as_int(), 2);
        EXPECT_EQ(obj(r, volley, "boss_bullets")[0]["f"].as_int(), 1);
        EXPECT_EQ(obj(r, volley, "laser_bombs")[0]["s"].as_int(), 2);
        EXPECT_EQ(obj(r, volley, "boss_bullets")[1]["s"].as_int(), 0);
    }
}

TEST(BossBattleRun, BeamReachesPastTheBottomAndLastsTwelveFrames) {
    const SimResult r = run_boss("boss-beam", "", 900, 0);
    ASSERT_EQ(r.status, 0);
    const int fired = find_frame(r, 2, [](const Json& j) {
        return j["mode"].as_int() == 3 && j["objects"]["segments"].as_int() > 0;
    });
    ASSERT_GT(fired, 0);
    EXPECT_EQ(count_sounds(r, fired, fired, 2), 1);

    const Json& bombs = obj(r, fired, "laser_bombs");
    int64_t bomb_y = -1;
    for (size_t i = 0; i < bombs.size(); ++i)
        if (bombs[i]["s"].as_int() == 4 && bombs[i]["fr"].as_int() == 1) {
            EXPECT_EQ(bombs[i]["v"].as_int(), 0);
            bomb_y = bombs[i]["y"].as_int();
        }
    ASSERT_GT(bomb_y, 0);
    // A head 8 px under the bomb and 16 px pieces to the first below 320 px.
    int pieces = 1;
    for (int64_t y = bomb_y + 0x1000; y <= 0x28000; y += 0x2000) ++pieces;
    EXPECT_EQ(segments(r, fired), pieces);

    ASSERT_EQ(count_sounds(r, fired + 1, fired + 12, 2), 0) << "a second beam overlaps";
    EXPECT_EQ(segments(r, fired + 11), pieces);
    EXPECT_EQ(segments(r, fired + 12), 0);
}

TEST(BossBattleRun, StruckShipExplodesAndTheBattleIsLost) {
    const SimResult still = run_boss("boss-struck", "", 1000, 0);
    const int struck = strike_frame(still);
    ASSERT_GT(struck, FIRST_FIGHT_FRAME);

    // Space held from the verdict on: accepted on the 25th defeat frame.
    const int lost = struck + 51;
    const SimResult r =
        run_boss("boss-defeat", std::to_string(lost) + " down SPACE\n", lost + 100, 0);
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(count_sounds(r, struck, struck, 1), 0);
    EXPECT_EQ(count_sounds(r, struck + 1, struck + 1, 1), 1);
    EXPECT_EQ(obj(r, struck + 1, "player")["s"].as_int(), 3);
    EXPECT_EQ(obj(r, struck + 1, "player")["v"].as_int(), 0);
    EXPECT_EQ(at(r, lost - 1)["phase"].as_int(), 1);

    const Json& verdict = at(r, lost);
    EXPECT_EQ(verdict["phase"].as_int(), 2);
    EXPECT_EQ(obj(r, lost, "player")["s"].as_int(), 4);
    EXPECT_EQ(obj(r, lost, "result_picture")["v"].as_int(), 1);
    EXPECT_EQ(obj(r, lost, "boss")["vy"].as_int(), SINK_AWAY);
    ASSERT_EQ(verdict["tune_calls"].size(), 3u);
    EXPECT_EQ(verdict["tune_calls"][1].text, "load VBTUNE_END2");

    EXPECT_EQ(at(r, lost + 24)["mode"].as_int(), 3);
    EXPECT_EQ(at(r, lost + 24)["phase"].as_int(), 2);
    // The boss sinks away while the defeat waits.
    EXPECT_EQ(obj(r, lost + 24, "boss")["y"].as_int() - obj(r, lost, "boss")["y"].as_int(),
              24 * SINK_AWAY);
    EXPECT_EQ(at(r, lost + 25)["mode"].as_int(), 1);
    EXPECT_EQ(at(r, lost + 25)["keys"].as_int(), 0);
}

TEST(BossBattleRun, ThreeMissedShotsLoseOnceTheLastHasLeft) {
    // Space held from the first fight frame fires every 19 frames; pick a
    // run in which none of the three meets the boss and no bullet strikes.
    const int shots[3] = {FIRST_FIGHT_FRAME, FIRST_FIGHT_FRAME + 19, FIRST_FIGHT_FRAME + 38};
    const int last_gone = shots[2] + SHOT_FRAMES;
    int chosen = -1;
    for (int ms = 0; ms < 1000 && chosen < 0; ms += 30) {
        const SimResult still = run_boss("boss-miss-still", "", 500, ms);
        const int strike = strike_frame(still);
        if (strike > 0 && strike <= last_gone) continue;
        bool missed = true;
        for (int fire : shots) missed = missed && hit_frame_for(still, fire) < 0;
        if (missed) chosen = ms;
    }
    ASSERT_GE(chosen, 0);

    const SimResult r =
        run_boss("boss-miss", std::to_string(FIRST_FIGHT_FRAME - 1) + " down SPACE\n",
                 last_gone + 10, chosen);
    ASSERT_EQ(r.status, 0);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(obj(r, shots[k] - 1, "shot")["s"].as_int(), 0);
        EXPECT_EQ(obj(r, shots[k], "shot")["s"].as_int(), 2);
        EXPECT_EQ(obj(r, shots[k], "player")["s"].as_int(), 1);
        EXPECT_EQ(obj(r, shots[k], "shot_icons")[2 - k]["v"].as_int(), 0);
        EXPECT_EQ(obj(r, shots[k] + SHOT_FRAMES - 1, "player")["n"].as_int(), 3 - k);
        EXPECT_EQ(obj(r, shots[k] + SHOT_FRAMES, "player")["n"].as_int(), 2 - k);
    }
    EXPECT_EQ(at(r, last_gone - 1)["phase"].as_int(), 1);
    EXPECT_EQ(at(r, last_gone)["phase"].as_int(), 2);
    EXPECT_EQ(obj(r, last_gone, "player")["s"].as_int(), 0);
    EXPECT_EQ(obj(r, last_gone, "boss")["s"].as_int(), 0);
    EXPECT_EQ(obj(r, last_gone, "boss")["vy"].as_int(), SINK_AWAY);
}

TEST(BossBattleRun, EscapeEndsTheIntroTheFightAndTheDefeat) {
    const SimResult still = run_boss("boss-esc-still", "", 1000, 0);
    const int lost = strike_frame(still) + 51;
    ASSERT_EQ(at(still, lost)["phase"].as_int(), 2);
    const struct {
        int frame, phase;
    } cases[] = {{100, 0}, {FIRST_FIGHT_FRAME + 20, 1}, {lost + 30, 2}};
    for (const auto& c : cases) {
        const SimResult r =
            run_boss("boss-esc", std::to_string(c.frame) + " press ESCAPE\n", c.frame + 50, 0);
        EXPECT_EQ(r.status, 0);
        ASSERT_EQ(static_cast<int>(r.trace.size()), c.frame) << "ends after the frame it was seen";
        EXPECT_EQ(at(r, c.frame)["mode"].as_int(), 3);
        EXPECT_EQ(at(r, c.frame)["phase"].as_int(), c.phase);
    }
}
