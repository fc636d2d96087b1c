// "PlayData.dat": reading files of any length, writing the exact 72 bytes,
// and never losing the record: not when a save fails part-way, is killed,
// or races another game's, nor when the file cannot be read; a reward is on
// disk the moment it is earned.
#include "platform/play_data.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <random>
#include <string>

#include "hosts/headless/headless_host.h"
#include "modes/stage_battle.h"
#include "objects/effects.h"
#include "services/game_state.h"
#include "services/templates.h"
#include "support/sim_process.h"

namespace {

class PlayDataFile : public ::testing::Test {
protected:
    void SetUp() override {
        old_dir_ = std::filesystem::current_path();
        dir_ = make_scratch_dir(::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::current_path(dir_);
        std::memset(&PlayData, 0, sizeof PlayData);
        inject_save_fault(SaveFault::None);
        reset_play_data_file();
    }
    void TearDown() override {
        inject_save_fault(SaveFault::None);
        chmod(dir_.c_str(), 0755);
        std::filesystem::current_path(old_dir_);
    }
    static std::string file() { return read_file_bytes(PLAY_DATA_FILE); }
    static bool temporary_left() {
        for (const auto& entry : std::filesystem::directory_iterator("."))
            if (entry.path().filename() != PLAY_DATA_FILE) return true;
        return false;
    }

    std::filesystem::path old_dir_;
    std::string dir_;
};

std::string record_of(double best, int reward) {
    PlayDataRecord r{};
    r.best_score = best;
    r.rewards[reward] = 1;
    return std::string(reinterpret_cast<const char*>(&r), sizeof r);
}

// The exact 72 bytes a save writes are pinned by every golden replay's
// final play data; these are the files no golden game meets.
TEST_F(PlayDataFile, MissingFileLeavesTheRecordAndReportsIt) {
    PlayData.rewards[0] = 1;
    EXPECT_EQ(load_play_data(), 1);
    EXPECT_EQ(PlayData.rewards[0], 1);
}

TEST_F(PlayDataFile, ShortAndLongFilesFillWhatTheyHave) {
    write_file_bytes(PLAY_DATA_FILE, std::string(16, '\x01'));
    PlayData.rewards[9] = 5;
    EXPECT_EQ(load_play_data(), 0);
    EXPECT_EQ(PlayData.rewards[0], 0x01010101);
    EXPECT_EQ(PlayData.rewards[9], 0);  // the rest is cleared, not kept
    std::string long_file(100, '\0');
    long_file[12] = 1;
    long_file[80] = 9;
    write_file_bytes(PLAY_DATA_FILE, long_file);
    EXPECT_EQ(load_play_data(), 0);
    EXPECT_EQ(PlayData.rewards[0], 1);
    ASSERT_EQ(save_play_data(), 0);
    EXPECT_EQ(file().size(), 72u);
}

TEST_F(PlayDataFile, ADirectoryInTheWayIsNeitherReadNorDestroyed) {
    std::filesystem::create_directory(PLAY_DATA_FILE);
    PlayData.rewards[1] = 1;
    EXPECT_EQ(load_play_data(), 1);
    EXPECT_EQ(save_play_data(), 1);
    EXPECT_TRUE(std::filesystem::is_directory(PLAY_DATA_FILE));
    EXPECT_FALSE(temporary_left());
    // What could not be read is never saved over, even once it is gone.
    std::filesystem::remove(PLAY_DATA_FILE);
    EXPECT_EQ(save_play_data(), 1);
    EXPECT_FALSE(std::filesystem::exists(PLAY_DATA_FILE));
}

TEST_F(PlayDataFile, AReadErrorKeepsTheRecord) {
    write_file_bytes("other", record_of(5, 2));
    std::FILE* unreadable = std::fopen("other", "ab");  // open, but not for reading
    ASSERT_NE(unreadable, nullptr);
    PlayData.best_score = 3;
    EXPECT_FALSE(read_play_data(unreadable));
    std::fclose(unreadable);
    EXPECT_EQ(PlayData.best_score, 3.0);
}

TEST_F(PlayDataFile, AFailedSaveKeepsTheOldFileWhole) {
    PlayData.best_score = 7;
    ASSERT_EQ(save_play_data(), 0);
    const std::string before = file();
    PlayData.best_score = 99;
    for (SaveFault fault :
         {SaveFault::Open, SaveFault::Write, SaveFault::Sync, SaveFault::Rename}) {
        inject_save_fault(fault);
        EXPECT_EQ(save_play_data(), 1);
        EXPECT_EQ(file(), before);
        EXPECT_FALSE(temporary_left());
    }
    inject_save_fault(SaveFault::None);
    EXPECT_EQ(save_play_data(), 0);
    EXPECT_NE(file(), before);

    // Renamed into place, but its folder could not be synced: a power cut
    // could still lose it, so the save says it failed.
    inject_save_fault(SaveFault::SyncFolder);
    EXPECT_EQ(save_play_data(), 1);
    EXPECT_EQ(file().size(), 72u);
}

TEST_F(PlayDataFile, KilledMidSaveLeavesOldOrNewWhole) {
    const std::string first = record_of(1, 4), second = record_of(2, 4);
    write_file_bytes(PLAY_DATA_FILE, first);
    std::mt19937 random(12345);
    int kills = 0;
    for (int round = 0; round < 1000; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Save the two records in turn until killed.
            for (int i = 0;; ++i) {
                std::memcpy(&PlayData, (i % 2 ? first : second).data(), sizeof PlayData);
                save_play_data();
            }
        }
        usleep(random() % 3000);
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        kills += WIFSIGNALED(status);
        const std::string now = file();
        ASSERT_EQ(now.size(), 72u) << "round " << round;
        ASSERT_TRUE(now == first || now == second) << "round " << round;
    }
    EXPECT_EQ(kills, 1000);
}

// Each game saves a merge of its record and the stored one, so the file is
// always a whole record made of theirs, and once all have saved it holds
// every game's reward and the highest best score: no save erased another.
TEST_F(PlayDataFile, GamesSavingInOneFolderAlwaysLeaveOneWholeMergedRecord) {
    constexpr int GAMES = 4;
    std::string records[GAMES];
    for (int g = 0; g < GAMES; ++g) records[g] = record_of(g + 1, g);
    write_file_bytes(PLAY_DATA_FILE, records[0]);
    auto whole = [](const std::string& bytes) {
        if (bytes.size() != sizeof(PlayDataRecord)) return false;
        PlayDataRecord r;
        std::memcpy(&r, bytes.data(), sizeof r);
        if (r.best_score < 1 || r.best_score > GAMES || r.rewards[0] != 1) return false;
        for (int k = 0; k < REWARD_COUNT; ++k)
            if (r.rewards[k] != 0 && (r.rewards[k] != 1 || k >= GAMES)) return false;
        return true;
    };
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
    for (bool running = true; running;) {
        bad += !whole(file());
        ++looks;
        running = false;
        for (pid_t g : games) running = running || waitpid(g, nullptr, WNOHANG) == 0;
    }
    for (pid_t g : games) waitpid(g, nullptr, 0);
    EXPECT_EQ(bad, 0) << "of " << looks << " looks";
    PlayDataRecord merged = {};
    merged.best_score = GAMES;
    for (int g = 0; g < GAMES; ++g) merged.rewards[g] = 1;
    EXPECT_EQ(file(), std::string(reinterpret_cast<const char*>(&merged), sizeof merged));
    EXPECT_FALSE(temporary_left());
}

TEST_F(PlayDataFile, ARewardIsSavedTheMomentItIsEarned) {
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
    const std::string saved = file();
    ASSERT_EQ(saved.size(), 72u);
    PlayDataRecord on_disk;
    std::memcpy(&on_disk, saved.data(), sizeof on_disk);
    EXPECT_EQ(on_disk.rewards[3], 1);
    // The total, as the title will take it once the shots left are counted.
    EXPECT_EQ(on_disk.best_score, 56.0);
    EXPECT_EQ(PlayData.best_score, 40.0);  // the title still raises it as before
}

TEST_F(PlayDataFile, AReadOnlyDirectoryIsNotWritten) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes anywhere";
    chmod(dir_.c_str(), 0555);
    EXPECT_EQ(save_play_data(), 1);
}

TEST(BestScoreDisplay, AnyStoredValueConvertsSafely) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double stored;
        int shown;
    } cases[] = {{15.0, 15}, {15.9, 15}, {999.0, 999}, {1e300, 1000},    {inf, 1000},
                 {-inf, -1}, {-5.0, -1}, {-0.5, 0},    {std::nan(""), 0}};
    for (const auto& c : cases) {
        PlayData.best_score = c.stored;
        EXPECT_EQ(best_score_for_display(), c.shown) << c.stored;
    }
}

}  // namespace
