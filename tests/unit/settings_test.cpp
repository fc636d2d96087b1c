// The settings file beside the play data: what reads, what is damaged, a
// file that cannot be read, and saving whole.
#include "hosts/common/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "support/sim_process.h"

namespace {

SettingsRead parse(const std::string& text, PlayerSettings* s) {
    return parse_settings(text.data(), text.size(), s);
}

TEST(Settings, ReadsItsOwnLinesAndToleratesTheEditorsHabits) {
    PlayerSettings s;
    EXPECT_EQ(parse("volume 3\nmuted 1\n", &s), SettingsRead::Read);
    EXPECT_EQ(s.volume, 3);
    EXPECT_TRUE(s.muted);
    EXPECT_EQ(parse("# mine\r\n\r\n  muted 0  \r\nvolume 0", &s), SettingsRead::Read);
    EXPECT_EQ(s.volume, 0);
    EXPECT_FALSE(s.muted);
    // An empty file is the defaults, read well.
    EXPECT_EQ(parse("", &s), SettingsRead::Read);
    EXPECT_EQ(s.volume, VOLUME_STEPS);
}

TEST(Settings, GarbageGivesTheDefaults) {
    for (const std::string& bad :
         {std::string("volume 11\n"), std::string("volume -1\n"), std::string("volume 7x\n"),
          std::string("volume\n"), std::string("muted 2\n"), std::string("loud 3\n"),
          std::string("volume 0003\n"), std::string("volume 3\0muted 1", 16),
          std::string(2000, '#'), std::string("\x89PNG\r\n\x1a\n")}) {
        PlayerSettings s;
        s.volume = 4;
        s.muted = true;
        EXPECT_EQ(parse(bad, &s), SettingsRead::Damaged) << bad;
        EXPECT_EQ(s.volume, VOLUME_STEPS);
        EXPECT_FALSE(s.muted);
    }
}

class SettingsFile : public ::testing::Test {
protected:
    std::string contents() { return read_file_bytes(path); }
    std::string dir =
        make_scratch_dir(testing::UnitTest::GetInstance()->current_test_info()->name());
    std::string path = dir + "/" + SETTINGS_FILE;
};

TEST_F(SettingsFile, AMissingFileIsAFirstRunAndSavingWritesItWhole) {
    PlayerSettings s;
    EXPECT_EQ(load_settings(path.c_str(), &s), SettingsRead::Missing);
    s.volume = 6;
    s.muted = true;
    ASSERT_TRUE(save_settings(path.c_str(), s));
    EXPECT_EQ(contents(), "volume 6\nmuted 1\n");
    PlayerSettings again;
    EXPECT_EQ(load_settings(path.c_str(), &again), SettingsRead::Read);
    EXPECT_EQ(again.volume, 6);
    EXPECT_TRUE(again.muted);
}

TEST_F(SettingsFile, AFileThatCannotBeReadIsLeftAlone) {
    // A folder under the name: not a regular file.
    ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
    PlayerSettings s;
    testing::internal::CaptureStderr();
    EXPECT_EQ(load_settings(path.c_str(), &s), SettingsRead::Unreadable);
    EXPECT_FALSE(save_settings(path.c_str(), s));
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_NE(told.find("is not a regular file"), std::string::npos) << told;
    EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 1) << told;
    rmdir(path.c_str());

    // A damaged file is told once and replaced by the next save.
    write_file_bytes(path, "volume loud\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(load_settings(path.c_str(), &s), SettingsRead::Damaged);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("is damaged"), std::string::npos);
    s.volume = 2;
    EXPECT_TRUE(save_settings(path.c_str(), s));
    EXPECT_EQ(contents(), "volume 2\nmuted 0\n");
}

// M toggles the mute; a volume step unmutes, so a muted player who turns
// the sound up hears it; other keys leave the settings alone.
TEST(Settings, MuteAndVolumeKeysChangeTheSettings) {
    PlayerSettings s;
    s.volume = 5;
    EXPECT_TRUE(change_settings_for(HostKey::Mute, &s));
    EXPECT_TRUE(s.muted);
    EXPECT_TRUE(change_settings_for(HostKey::VolumeUp, &s));
    EXPECT_FALSE(s.muted);
    EXPECT_EQ(s.volume, 6);
    EXPECT_TRUE(change_settings_for(HostKey::VolumeDown, &s));
    EXPECT_EQ(s.volume, 5);
    // The steps stop at both ends.
    EXPECT_EQ(step_volume(0, -1), 0);
    EXPECT_EQ(step_volume(VOLUME_STEPS, 1), VOLUME_STEPS);
    EXPECT_FALSE(change_settings_for(HostKey::Pause, &s));
    EXPECT_FALSE(change_settings_for(HostKey::None, &s));
    EXPECT_EQ(s.volume, 5);
}

}  // namespace
