// The title mode run in-process: reward pictures land in their places, and
// the mode's phase outlives a run so the intro plays only once. Golden games
// start fresh and win at most the one reward, so they show neither.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "hosts/headless/headless_host.h"
#include "modes/modes.h"
#include "modes/title_state.h"
#include "objects/digits.h"
#include "objects/effects.h"
#include "objects/transition.h"
#include "platform/display.h"
#include "platform/play_data.h"
#include "platform/tune_library.h"
#include "services/game_state.h"
#include "services/keys.h"
#include "services/message_pump.h"
#include "services/present.h"
#include "services/templates.h"
#include "shell/shell.h"
#include "support/sim_process.h"

namespace {

constexpr int REWARD_PICTURES = 7;  // "gohobi"

class TitleMode : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(::chdir(make_scratch_dir("title-mode").c_str()), 0);
        install_headless_host(HeadlessConfig{});
        ASSERT_TRUE(start_display(SCREEN_WIDTH, SCREEN_HEIGHT));
        vorbel_Ready(nullptr, 2, 22050, 8, 0.1f, 1, 0);
        load_bitmaps();
        fill_template_table();
        init_effects();
        init_transition();
        init_digits();
    }
    void SetUp() override { PlayData = PlayDataRecord{}; }
};

uint32_t screen_pixel(int x, int y) {
    const uint32_t* row = back_surface_pixels() + y * (back_surface_pitch() / 4);
    return row[x];
}

// The title phase as each frame is presented.
void record_phase(int, void* user) {
    static_cast<std::vector<int>*>(user)->push_back(title_phase);
}

int run_title(const std::vector<ScriptedMessage>& script, int quit_after,
              std::vector<int>& phases) {
    HeadlessConfig config;
    config.script = script.data();
    config.script_length = static_cast<int>(script.size());
    config.quit_after_frame = quit_after;
    config.observer.frame_started = record_phase;
    config.observer.user = &phases;
    install_headless_host(config);
    reset_message_loop();
    KeyState = 0;
    return RunTitle();
}

ScriptedMessage key(int frame, uint32_t id, uint32_t vk) {
    return ScriptedMessage{frame, Message{id, vk, 0}};
}

}  // namespace

// Each flag's picture is drawn from its own reward row at its own place, and
// nothing else but the label and the best score is drawn.
TEST_F(TitleMode, EachRewardFlagDrawsItsPictureInItsPlace) {
    const int row_of_flag[REWARD_COUNT] = {36, 30, 31, 37, 29, 35, 33, 34, 32, 38};
    for (int k = 0; k < REWARD_COUNT; ++k) {
        // Only a flag of exactly 1 counts; stray values from the file do not.
        for (int j = 0; j < REWARD_COUNT; ++j) PlayData.rewards[j] = j == k ? 1 : (j % 2 ? 2 : -1);
        fill_rect(ScreenRect, 0);
        title::InitTitle();
        title::DrawRewards();
        const int left = 8 + 48 * (k % 5);
        const int top = k < 5 ? 0 : 278;
        const int source_left = 32 * (row_of_flag[k] - 29);
        int drawn = 0;
        for (int y = 0; y < SCREEN_HEIGHT; ++y) {
            if (y >= 184 && y < 200) continue;  // the label and the best score
            for (int x = 0; x < SCREEN_WIDTH; ++x) {
                const uint32_t p = screen_pixel(x, y);
                const bool inside = x >= left && x < left + 32 && y >= top && y < top + 32;
                if (!inside) {
                    ASSERT_EQ(p, 0u) << "flag " << k << " at " << x << "," << y;
                    continue;
                }
                const uint32_t source =
                    surface_pixel(REWARD_PICTURES, source_left + x - left, y - top);
                if (source != 0) {
                    ASSERT_EQ(p, source) << "flag " << k << " at " << x << "," << y;
                    ++drawn;
                }
            }
        }
        EXPECT_GT(drawn, 0) << "flag " << k;
    }
}

TEST_F(TitleMode, IntroPlaysOnceThenEveryRunStartsWithTheTitleScreen) {
    title_phase = TITLE_INTRO;
    score = 25;
    stage_number = 3;
    // Space at 5 skips the intro, Space at 10 starts a game.
    const std::vector<ScriptedMessage> start = {
        key(5, WM_KEYDOWN, VK_SPACE), key(6, WM_KEYUP, VK_SPACE), key(10, WM_KEYDOWN, VK_SPACE),
        key(11, WM_KEYUP, VK_SPACE)};
    std::vector<int> first;
    EXPECT_EQ(run_title(start, 1000, first), MODE_STAGE_BATTLE);
    ASSERT_EQ(first.size(), 36u);  // 10 frames, then 26 closing
    EXPECT_EQ(first[0], TITLE_INTRO);
    EXPECT_EQ(first[5], TITLE_MENU);
    EXPECT_EQ(title_phase, TITLE_TUNE);
    EXPECT_EQ(score, 0);
    EXPECT_EQ(stage_number, 1);
    EXPECT_EQ(PlayData.best_score, 25.0);

    std::vector<int> second;
    EXPECT_EQ(run_title({}, 3, second), MODE_QUIT);
    EXPECT_EQ(second, (std::vector<int>{TITLE_MENU, TITLE_MENU, TITLE_MENU}));
}
