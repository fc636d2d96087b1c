// "PlayData.dat": reading files of any length, writing the exact 72 bytes,
// and never leaving a broken file when a save fails part-way.
#include "platform/play_data.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>

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

TEST_F(PlayDataFile, SavesTheExactRecordLittleEndian) {
    PlayData.best_score = 16.0;
    PlayData.rewards[2] = 1;
    ASSERT_EQ(save_play_data(), 0);
    const std::string bytes = file();
    ASSERT_EQ(bytes.size(), 72u);
    double best = 0;
    std::memcpy(&best, bytes.data(), 8);
    EXPECT_EQ(best, 16.0);
    EXPECT_EQ(bytes[20], 1);
    EXPECT_EQ(std::count(bytes.begin() + 21, bytes.end(), '\0'), 51);
    EXPECT_FALSE(temporary_left());
}

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
    load_play_data();
    EXPECT_EQ(save_play_data(), 1);
    EXPECT_TRUE(std::filesystem::is_directory(PLAY_DATA_FILE));
    EXPECT_FALSE(temporary_left());
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
