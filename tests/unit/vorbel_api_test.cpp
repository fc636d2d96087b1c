// The tune library's six calls as the game makes them, and offline rendering.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/audio_device.h"
#include "platform/tune_library.h"
#include "platform/tune_render.h"
#include "sound_test_host.h"
#include "support/sim_process.h"

namespace {

class Vorbel : public ::testing::Test {
protected:
    void SetUp() override { install_sound_test_host(); }
    void TearDown() override { vorbel_Release(); }
    int ready() { return vorbel_Ready(nullptr, 2, 22050, 8, 0.1f, 1, 0); }
};

TEST_F(Vorbel, ReadyOpensTheDeviceAndLendsIt) {
    EXPECT_EQ(vorbel_GetDirectSound(), nullptr);
    ASSERT_EQ(ready(), 1);
    EXPECT_TRUE(sound_test_host().audio_open);
    EXPECT_EQ(sound_test_host().open_rate, 22050);
    EXPECT_LE(sound_test_host().open_frames, 512);
    EXPECT_NE(vorbel_GetDirectSound(), nullptr);
    EXPECT_EQ(ready(), 0) << "already started";
    vorbel_Release();
    EXPECT_FALSE(sound_test_host().audio_open);
    EXPECT_EQ(vorbel_GetDirectSound(), nullptr);
}

TEST_F(Vorbel, ReadyRefusesBadArguments) {
    EXPECT_EQ(vorbel_Ready(nullptr, 3, 22050, 8, 0.1f, 1, 0), 0);
    EXPECT_EQ(vorbel_Ready(nullptr, 2, 100, 8, 0.1f, 1, 0), 0);
    EXPECT_EQ(vorbel_Ready(nullptr, 2, 48001, 8, 0.1f, 1, 0), 0);
    EXPECT_EQ(vorbel_Ready(nullptr, 2, 22050, 12, 0.1f, 1, 0), 0);
    EXPECT_EQ(vorbel_Ready(nullptr, 2, 22050, 8, 0.0f, 1, 0), 0);
    EXPECT_EQ(vorbel_Ready(nullptr, 2, 22050, 8, 0.1f, 2, 0), 0);
    EXPECT_EQ(vorbel_Ready(nullptr, 2, 22050, 8, 0.1f, 1, 1), 0);
    EXPECT_FALSE(sound_test_host().audio_open);
    EXPECT_EQ(vorbel_Ready(nullptr, 1, 22050, 16, 0.01f, 0, 0), 1);
    EXPECT_EQ(sound_test_host().open_frames, 220);
    EXPECT_EQ(vorbel_GetDirectSound(), nullptr) << "the device was kept for the music";
    vorbel_Release();
    EXPECT_EQ(vorbel_Ready(nullptr, 2, 48000, 16, 0.1f, 1, 0), 1) << "the highest rate";
}

TEST_F(Vorbel, WithoutADeviceTheGameGoesOnSilently) {
    sound_test_host().audio_available = false;
    testing::internal::CaptureStderr();
    EXPECT_EQ(ready(), 0);
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("no device in this test"), std::string::npos) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line";
    EXPECT_EQ(vorbel_GetDirectSound(), nullptr);
    EXPECT_EQ(vorbel_Tune_Load(0, "VBTUNE", "VBTUNE_TITLE"), 1);
    EXPECT_EQ(vorbel_Tune_Play(0, 0), 1);
}

TEST_F(Vorbel, ATuneChangeIsStopLoadPlay) {
    ASSERT_EQ(ready(), 1);
    SoundDevice* device = vorbel_GetDirectSound();
    vorbel_Tune_Stop();
    EXPECT_NE(vorbel_Tune_Load(0, "VBTUNE", "vbtune_battle"), 0);
    EXPECT_EQ(vorbel_Tune_Play(0, 0), 1);
    EXPECT_TRUE(device->music.playing());
    vorbel_Tune_Stop();
    EXPECT_FALSE(device->music.playing());
    EXPECT_EQ(sound_test_host().tune_calls,
              (std::vector<std::string>{"stop", "load vbtune_battle", "play", "stop"}));
    EXPECT_EQ(sound_test_host().lock_depth, 0);
    EXPECT_EQ(sound_test_host().max_lock_depth, 1);
}

TEST_F(Vorbel, AFailedLoadLeavesNoTune) {
    ASSERT_EQ(ready(), 1);
    SoundDevice* device = vorbel_GetDirectSound();
    ASSERT_EQ(vorbel_Tune_Load(0, "VBTUNE", "VBTUNE_TITLE"), 1);
    ASSERT_EQ(vorbel_Tune_Play(0, 0), 1);
    EXPECT_EQ(vorbel_Tune_Load(0, "VBTUNE", "VBTUNE_NOWHERE"), 0);
    EXPECT_NE(std::string(vorbel_last_error()).find("VBTUNE_NOWHERE"), std::string::npos);
    EXPECT_FALSE(device->music.playing());
    EXPECT_EQ(vorbel_Tune_Play(0, 0), 0);
    EXPECT_FALSE(device->music.playing());
    EXPECT_EQ(vorbel_Tune_Load(1, "VBTUNE", "VBTUNE_TITLE"), 0) << "only module 0";
    EXPECT_EQ(vorbel_Tune_Load(0, "WAVE", "SHOT"), 0) << "not a score";
    ASSERT_EQ(vorbel_Tune_Load(0, "VBTUNE", "VBTUNE_TITLE"), 1);
    EXPECT_EQ(vorbel_Tune_Play(-1, 0), 0);
    EXPECT_EQ(vorbel_Tune_Play(0, 2), 0);
}

TEST_F(Vorbel, MusicAndEffectsShareTheDevice) {
    ASSERT_EQ(ready(), 1);
    SoundDevice* device = vorbel_GetDirectSound();
    set_sound_device(device);
    ASSERT_EQ(DirectSound_Voice_Load_Resource("bom", SOUND_BOM), 1);
    ASSERT_EQ(vorbel_Tune_Load(0, "VBTUNE", "VBTUNE_BOSS"), 1);
    vorbel_Tune_Play(0, 0);
    std::vector<int16_t> music(2 * 4096), both(2 * 4096);
    device->mix(music.data(), 4096);
    vorbel_Tune_Play(0, 0);
    play_sound(SOUND_BOM);
    device->mix(both.data(), 4096);
    EXPECT_NE(music, both);
    release_sounds();
    set_sound_device(nullptr);
}

TEST_F(Vorbel, RendersATuneToAWave) {
    const std::string path = make_scratch_dir("render") + "/vorbel_render.wav";
    ASSERT_EQ(vorbel_render_tune("VBTUNE_END2", 2.0, path.c_str()), 1) << vorbel_last_error();
    std::ifstream in(path, std::ios::binary);
    std::vector<char> wave((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(wave.size(), 44u + 2 * 22050 * 4);
    EXPECT_EQ(std::string(wave.data(), 4), "RIFF");
    EXPECT_EQ(std::string(wave.data() + 8, 8), "WAVEfmt ");

    EXPECT_EQ(vorbel_render_tune("VBTUNE_NOWHERE", 1.0, path.c_str()), 0);
    EXPECT_EQ(vorbel_render_tune("VBTUNE_END2", 1.0, "/nonexistent/dir/x.wav"), 0);
}

}  // namespace
