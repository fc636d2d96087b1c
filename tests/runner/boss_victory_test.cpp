// Winning the boss battle through the runner: an aimed shot, the long
// explosion, the saved play data and the road to the ending.
#include <cstring>

#include "runner/boss_runs.h"

using namespace boss_runs;

namespace {

std::string play_data_with_best(double best) {
    std::string bytes(72, '\0');
    std::memcpy(bytes.data(), &best, sizeof best);
    return bytes;
}

double saved_best(const std::string& bytes) {
    double best = 0;
    std::memcpy(&best, bytes.data(), sizeof best);
    return best;
}

int32_t saved_reward(const std::string& bytes, int k) {
    int32_t flag = 0;
    std::memcpy(&flag, bytes.data() + 12 + 4 * k, sizeof flag);
    return flag;
}

struct AimedRun {
    int ms = -1;
    Aim aim;
};

// Looks through a few random sequences for one whose boss can be hit from
// the ship's starting place before a bullet finds the ship.
AimedRun find_aimed_run() {
    for (int ms = 0; ms < 1000; ms += 10) {
        const SimResult still = run_boss("boss-aim-still", "", 700, ms);
        const Aim aim = aim_at_boss(still);
        if (aim.hit > 0) return {ms, aim};
    }
    return {};
}

}  // namespace

class BossVictoryRun : public ::testing::Test {
protected:
    static void SetUpTestSuite() { aimed = find_aimed_run(); }
    static AimedRun aimed;
};
AimedRun BossVictoryRun::aimed;

TEST_F(BossVictoryRun, AimedShotDestroysTheBossAndTheEndingFollows) {
    ASSERT_GE(aimed.ms, 0) << "no sequence let the ship hit the boss";
    const int fire = aimed.aim.fire, hit = aimed.aim.hit;
    const std::string start_data = play_data_with_best(5.0);
    const SimResult r =
        run_boss("boss-victory", press_space_for(fire), hit + 460, aimed.ms, 70, &start_data);
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(count_sounds(r, fire, fire, 0), 1);

    // The hit freezes the ship and makes it untouchable.
    EXPECT_EQ(obj(r, hit - 1, "boss")["s"].as_int(), 0);
    EXPECT_EQ(obj(r, hit, "boss")["s"].as_int(), 1);
    EXPECT_EQ(obj(r, hit + 1, "boss")["s"].as_int(), 2);
    EXPECT_EQ(obj(r, hit + 1, "player")["s"].as_int(), 5);
    // The shot flies on and is counted off like any other.
    EXPECT_EQ(obj(r, hit, "shot")["s"].as_int(), 2);
    EXPECT_EQ(obj(r, fire + SHOT_FRAMES, "player")["n"].as_int(), 2);

    // The hit and 34 explosions, one every 6th frame, then the verdict.
    const int won = hit + 207;
    EXPECT_EQ(count_sounds(r, hit, won, 1), 35);
    EXPECT_EQ(count_sounds(r, hit + 7, hit + 7, 1), 1);
    EXPECT_EQ(count_sounds(r, hit + 205, hit + 205, 1), 1);
    EXPECT_EQ(obj(r, won - 1, "boss")["s"].as_int(), 4);
    EXPECT_EQ(obj(r, won - 1, "boss")["v"].as_int(), 0);
    EXPECT_EQ(at(r, won - 1)["phase"].as_int(), 1);

    const Json& verdict = at(r, won);
    EXPECT_EQ(verdict["phase"].as_int(), 3);
    EXPECT_EQ(obj(r, won, "result_picture")["v"].as_int(), 1);
    EXPECT_EQ(verdict["rewards"][9].as_int(), 1);
    EXPECT_EQ(verdict["best"].number, 70.0);
    ASSERT_EQ(verdict["tune_calls"].size(), 3u);
    EXPECT_EQ(verdict["tune_calls"][0].text, "stop");
    EXPECT_EQ(verdict["tune_calls"][1].text, "load VBTUNE_END1");
    EXPECT_EQ(verdict["tune_calls"][2].text, "play");

    const std::string saved = read_file_bytes(r.dir + "/PlayData.dat");
    ASSERT_EQ(saved.size(), 72u);
    EXPECT_EQ(saved_best(saved), 70.0);
    EXPECT_EQ(saved_reward(saved, 9), 1);
    EXPECT_EQ(saved_reward(saved, 8), 0);

    // The screen closes on the 163rd frame of the wait, and the ending
    // starts 128 frames' worth of waiting after it has closed.
    EXPECT_EQ(at(r, won + 162)["transition"].as_int(), 0);
    EXPECT_EQ(at(r, won + 163)["transition"].as_int(), 3);
    EXPECT_EQ(at(r, won + 179)["transition"].as_int(), 4);
    EXPECT_EQ(at(r, won + 235)["mode"].as_int(), 3);
    EXPECT_EQ(at(r, won + 236)["mode"].as_int(), 4);
    EXPECT_EQ(at(r, won + 236)["picture"].as_int(), at(r, won + 163)["picture"].as_int());
}

TEST_F(BossVictoryRun, EscapeDuringTheVictoryWaitKeepsTheSavedData) {
    ASSERT_GE(aimed.ms, 0);
    const int quit = aimed.aim.hit + 207 + 40;
    // A best score above this game's: kept, while the new reward is saved.
    const std::string start_data = play_data_with_best(300.0);
    const SimResult r =
        run_boss("boss-victory-esc",
                 press_space_for(aimed.aim.fire) + std::to_string(quit) + " press ESCAPE\n",
                 quit + 50, aimed.ms, 70, &start_data);
    ASSERT_EQ(r.status, 0);
    ASSERT_EQ(static_cast<int>(r.trace.size()), quit);
    EXPECT_EQ(at(r, quit)["phase"].as_int(), 3);
    const std::string saved = read_file_bytes(r.dir + "/PlayData.dat");
    ASSERT_EQ(saved.size(), 72u);
    EXPECT_EQ(saved_best(saved), 300.0);
    EXPECT_EQ(saved_reward(saved, 9), 1);
}
