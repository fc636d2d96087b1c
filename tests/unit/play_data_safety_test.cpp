// The play data is never lost: games saving side by side always leave one
// whole record, a save that could not reach the disk says so, a read error
// keeps the record, and a reward is on disk the moment it is earned.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "modes/stage_battle.h"
#include "objects/effects.h"
#include "platform/headless_host.h"
#include "platform/play_data.h"
#include "services/game_state.h"
#include "services/templates.h"
#include "support/sim_process.h"

namespace {

class PlayDataSafety : public ::testing::Test {
protected:
    void SetUp() override {
        old_dir_ = std::filesystem::current_path();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::filesystem::current_path(make_scratch_dir(info->name()));
        PlayData = PlayDataRecord{};
        inject_save_fault(SaveFault::None);
        reset_play_data_file();
    }
    void TearDown() override {
        inject_save_fault(SaveFault::None);
        std::filesystem::current_path(old_dir_);
    }
    std::filesystem::path old_dir_;
};

std::string record_of(double best, int reward) {
    PlayDataRecord r{};
    r.best_score = best;
    r.rewards[reward] = 1;
    return std::string(reinterpret_cast<const char*>(&r), sizeof r);
}

TEST_F(PlayDataSafety, GamesSavingInOneFolderAlwaysLeaveOneWholeRecord) {
    constexpr int GAMES = 4;
    std::string records[GAMES];
    for (int g = 0; g < GAMES; ++g) records[g] = record_of(g + 1, g);
    write_file_bytes(PLAY_DATA_FILE, records[0]);

    pid_t games[GAMES];
    for (int g = 0; g < GAMES; ++g) {
        games[g] = fork();
        ASSERT_GE(games[g], 0);
        if (games[g] == 0) {
            std::memcpy(&PlayData, records[g].data(), sizeof PlayData);
            for (int i = 0; i < 300; ++i) save_play_data();
            _exit(0);
        }
    }
    // Watch the file while they save: never empty, never mixed.
    int looks = 0, bad = 0;
    bool running = true;
    while (running) {
        const std::string now = read_file_bytes(PLAY_DATA_FILE);
        bool whole = false;
        for (const std::string& r : records) whole = whole || now == r;
        bad += !whole;
        ++looks;
        running = false;
        for (pid_t g : games) running = running || waitpid(g, nullptr, WNOHANG) == 0;
    }
    for (pid_t g : games) waitpid(g, nullptr, 0);
    EXPECT_EQ(bad, 0) << "of " << looks << " looks";
    const std::string last = read_file_bytes(PLAY_DATA_FILE);
    bool whole = false;
    for (const std::string& r : records) whole = whole || last == r;
    EXPECT_TRUE(whole);
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(".")) entries += e.exists();
    EXPECT_EQ(entries, 1) << "temporary files left behind";
}

TEST_F(PlayDataSafety, ASaveThatCannotReachTheDiskIsReportedAsFailed) {
    // The file is renamed into place, but its folder could not be synced, so
    // a power cut could still lose it.
    inject_save_fault(SaveFault::SyncFolder);
    PlayData.best_score = 9;
    EXPECT_EQ(save_play_data(), 1);
    EXPECT_EQ(read_file_bytes(PLAY_DATA_FILE).size(), 72u);
}

TEST_F(PlayDataSafety, AReadErrorKeepsTheRecordAndTurnsSavingOff) {
    write_file_bytes("other", record_of(5, 2));
    std::FILE* unreadable = std::fopen("other", "ab");  // open, but not for reading
    ASSERT_NE(unreadable, nullptr);
    PlayData.best_score = 3;
    EXPECT_FALSE(read_play_data(unreadable));
    std::fclose(unreadable);
    EXPECT_EQ(PlayData.best_score, 3.0);

    // Through the loader: a folder under the name cannot be read as a file,
    // so it is never saved over, even once it is gone.
    std::filesystem::create_directory(PLAY_DATA_FILE);
    EXPECT_EQ(load_play_data(), 1);
    std::filesystem::remove(PLAY_DATA_FILE);
    EXPECT_EQ(save_play_data(), 1);
    EXPECT_FALSE(std::filesystem::exists(PLAY_DATA_FILE));
}

TEST_F(PlayDataSafety, ARewardIsSavedTheMomentItIsEarned) {
    using namespace stage;
    install_headless_host(HeadlessConfig{});
    fill_template_table();
    init_effects();
    stage_number = 3;
    InitStage();
    for (GameObject& enemy : enemies) enemy.state = 2;
    player.state = 0;
    player.stock = 4;
    score = 52;  // a total of 56: the crab
    PlayData.best_score = 40;
    ASSERT_EQ(JudgeStage(), VERDICT_STAGE_CLEARED);
    const std::string saved = read_file_bytes(PLAY_DATA_FILE);
    ASSERT_EQ(saved.size(), 72u);
    PlayDataRecord on_disk;
    std::memcpy(&on_disk, saved.data(), sizeof on_disk);
    EXPECT_EQ(on_disk.rewards[3], 1);
    // The total, as the title will take it once the shots left are counted.
    EXPECT_EQ(on_disk.best_score, 56.0);
    EXPECT_EQ(PlayData.best_score, 40.0);  // the title still raises it as before
}

}  // namespace
