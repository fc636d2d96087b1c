// The tune library's six calls as the game makes them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/tune_library.h"
#include "platform/tune_render.h"
#include "sound_test_host.h"

namespace {

class Vorbel : public ::testing::Test {
protected:
    void SetUp() override { install_sound_test_host(); }
    void TearDown() override {
        release_sounds();
        set_sound_device(nullptr);
        vorbel_Release();
    }
    int ready() { return vorbel_Ready(nullptr, 2, 22050, 8, 0.1f, 1, 0); }
};

TEST_F(Vorbel, ReadyOpensTheDeviceAndLendsItOrRefusesBadArguments) {
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

    const struct {
        int channels, rate, bits;
        float latency;
        int effects, flags;
    } refused[] = {{3, 22050, 8, 0.1f, 1, 0},  {2, 100, 8, 0.1f, 1, 0},   {2, 48001, 8, 0.1f, 1, 0},
                   {2, 22050, 12, 0.1f, 1, 0}, {2, 22050, 8, 0.0f, 1, 0}, {2, 22050, 8, 0.1f, 2, 0},
                   {2, 22050, 8, 0.1f, 1, 1}};
    for (const auto& r : refused)
        EXPECT_EQ(vorbel_Ready(nullptr, r.channels, r.rate, r.bits, r.latency, r.effects, r.flags),
                  0)
            << "row " << &r - refused;
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

TEST_F(Vorbel, ATuneChangeIsStopLoadPlayAndEffectsShareTheDevice) {
    ASSERT_EQ(ready(), 1);
    SoundDevice* device = vorbel_GetDirectSound();
    vorbel_Tune_Stop();
    EXPECT_NE(vorbel_Tune_Load(0, "VBTUNE", "vbtune_battle"), 0);
    EXPECT_EQ(vorbel_Tune_Play(0, 0), 1);
    EXPECT_TRUE(device->music.playing());
    // The effects play on the device the library lends, over the music.
    set_sound_device(device);
    ASSERT_EQ(DirectSound_Voice_Load_Resource("bom", SOUND_BOM), 1);
    play_sound(SOUND_BOM);
    int playing = 0;
    for (const DeviceBuffer& b : device->buffers) playing += b.playing;
    EXPECT_EQ(playing, 1);
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
    EXPECT_EQ(vorbel_Tune_Load(1, "VBTUNE", "VBTUNE_TITLE"), 0) << "only module 0";
    EXPECT_EQ(vorbel_Tune_Load(0, "WAVE", "SHOT"), 0) << "not a score";
    ASSERT_EQ(vorbel_Tune_Load(0, "VBTUNE", "VBTUNE_TITLE"), 1);
    EXPECT_EQ(vorbel_Tune_Play(-1, 0), 0);
    EXPECT_EQ(vorbel_Tune_Play(0, 2), 0);
}

}  // namespace
