// The sound-effect slots over the tune library's device: loading, restarting,
// mixing and the calls the runner's trace sees.
#include <gtest/gtest.h>

#include <vector>

#include "platform/audio_device.h"
#include "platform/resources.h"
#include "platform/sound.h"
#include "sound_test_host.h"

namespace {

std::vector<uint8_t> pcm_wave(uint16_t channels, uint16_t bits, uint32_t rate,
                              const std::vector<uint8_t>& samples) {
    auto u32 = [](std::vector<uint8_t>& b, uint32_t v) {
        for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    std::vector<uint8_t> b = {'R', 'I', 'F', 'F'};
    u32(b, 36 + static_cast<uint32_t>(samples.size()));
    for (char c : std::string("WAVEfmt ")) b.push_back(static_cast<uint8_t>(c));
    u32(b, 16);
    b.insert(b.end(), {1, 0, static_cast<uint8_t>(channels), 0});
    u32(b, rate);
    u32(b, rate * channels * bits / 8);
    b.insert(b.end(),
             {static_cast<uint8_t>(channels * bits / 8), 0, static_cast<uint8_t>(bits), 0});
    for (char c : std::string("data")) b.push_back(static_cast<uint8_t>(c));
    u32(b, static_cast<uint32_t>(samples.size()));
    b.insert(b.end(), samples.begin(), samples.end());
    return b;
}

class SoundEffects : public ::testing::Test {
protected:
    void SetUp() override {
        install_sound_test_host();
        device_.open = true;
        set_sound_device(&device_);
    }
    void TearDown() override {
        release_sounds();
        set_sound_device(nullptr);
        use_embedded_resources();
    }
    // The buffers' sum as the mixer adds it, before the output stage
    // (tests/unit/audio_mix_test.cpp covers that stage).
    std::vector<int16_t> mix(int frames) {
        std::vector<int32_t> sums(2 * static_cast<size_t>(frames));
        device_.add_voices(sums.data(), frames);
        return std::vector<int16_t>(sums.begin(), sums.end());
    }
    SoundDevice device_;
};

TEST_F(SoundEffects, LoadsTheShippedEffects) {
    EXPECT_EQ(DirectSound_Voice_Load_Resource("shot", SOUND_SHOT), 1);
    EXPECT_EQ(DirectSound_Voice_Load_Resource("BOM", SOUND_BOM), 1);
    EXPECT_EQ(DirectSound_Voice_Load_Resource("Laser", SOUND_LASER), 1);
    EXPECT_EQ(DirectSound_Voice_Load_Resource("missing", 3), 0);
    EXPECT_EQ(DirectSound_Voice_Load_Resource("shot", -1), 0);
    EXPECT_EQ(DirectSound_Voice_Load_Resource("shot", SOUND_SLOTS), 0);
    EXPECT_EQ(sound_test_host().lock_depth, 0);
}

TEST_F(SoundEffects, WithoutADeviceLoadsSucceedAndPlaysAreSilent) {
    set_sound_device(nullptr);
    EXPECT_EQ(DirectSound_Voice_Load_Resource("missing", 99), 1);
    play_sound(SOUND_SHOT);
    EXPECT_EQ(sound_test_host().sounds, std::vector<int>{SOUND_SHOT});
}

TEST_F(SoundEffects, ASlotRestartsAndSlotsSoundTogether) {
    // Slot 4 steps 0, 1, 2, ... (offset binary); slot 5 is a constant.
    std::vector<uint8_t> ramp(1000);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<uint8_t>(128 + i % 100);
    std::vector<uint8_t> ramp_wave = pcm_wave(1, 8, 22050, ramp);
    std::vector<uint8_t> level_wave = pcm_wave(1, 8, 22050, std::vector<uint8_t>(1000, 138));
    const ResourceEntry table[] = {{"WAVE", "RAMP", ramp_wave.data(), ramp_wave.size()},
                                   {"WAVE", "LEVEL", level_wave.data(), level_wave.size()}};
    use_resource_table(table, 2);
    ASSERT_EQ(DirectSound_Voice_Load_Resource("ramp", 4), 1);
    ASSERT_EQ(DirectSound_Voice_Load_Resource("level", 5), 1);

    play_sound(4);
    std::vector<int16_t> a = mix(30);
    EXPECT_EQ(a[0], 0);
    EXPECT_EQ(a[2 * 29], 29 * 256);
    EXPECT_EQ(a[2 * 29 + 1], 29 * 256) << "mono plays on both sides";

    play_sound(4);  // cuts the first play off and starts from its first sample
    play_sound(5);
    std::vector<int16_t> b = mix(30);
    for (int i = 0; i < 30; ++i) ASSERT_EQ(b[2 * i], i * 256 + 10 * 256) << i;

    play_sound(7);  // an empty slot does nothing
    play_sound(-3);
    EXPECT_EQ(sound_test_host().sounds, (std::vector<int>{4, 4, 5, 7, -3}));
    EXPECT_EQ(sound_test_host().lock_depth, 0);
}

TEST_F(SoundEffects, APlayEndsAtTheLastSample) {
    std::vector<uint8_t> w = pcm_wave(1, 8, 22050, std::vector<uint8_t>(10, 255));
    const ResourceEntry table[] = {{"WAVE", "TEN", w.data(), w.size()}};
    use_resource_table(table, 1);
    ASSERT_EQ(DirectSound_Voice_Load_Resource("ten", 6), 1);
    play_sound(6);
    std::vector<int16_t> out = mix(20);
    EXPECT_EQ(out[2 * 9], 127 * 256);
    EXPECT_EQ(out[2 * 10], 0);
    EXPECT_EQ(mix(5)[0], 0) << "played once, not looping";
}

TEST_F(SoundEffects, LoudSumsBendInsteadOfWrapping) {
    std::vector<uint8_t> loud(200);
    for (size_t i = 0; i < loud.size(); i += 2) {
        loud[i] = 0xFF;  // 16-bit stereo frames of +32767 left, -32768 right
        loud[i + 1] = i % 4 == 0 ? 0x7F : 0x80;
        if (i % 4 == 2) loud[i] = 0x00;
    }
    std::vector<uint8_t> w = pcm_wave(2, 16, 22050, loud);
    const ResourceEntry table[] = {{"WAVE", "LOUD", w.data(), w.size()}};
    use_resource_table(table, 1);
    ASSERT_EQ(DirectSound_Voice_Load_Resource("loud", 3), 1);
    ASSERT_EQ(DirectSound_Voice_Load_Resource("loud", 8), 1);
    play_sound(3);
    play_sound(8);
    std::vector<int16_t> out(20);
    device_.mix(out.data(), 10);
    for (int i = 0; i < 10; ++i) {
        EXPECT_GT(out[2 * i], 28000) << i;
        EXPECT_LT(out[2 * i], 32767) << i;
        EXPECT_LT(out[2 * i + 1], -28000) << i;
        EXPECT_GT(out[2 * i + 1], -32767) << i;
    }
}

TEST_F(SoundEffects, ConvertsOtherRatesOnce) {
    // 16-bit mono at twice the device rate plays in half the frames, an odd
    // one out rounded up so that the last sample is heard.
    std::vector<uint8_t> samples(2 * 401);
    for (size_t i = 0; i < 401; ++i) samples[2 * i + 1] = 0x10;  // 0x1000
    std::vector<uint8_t> w = pcm_wave(1, 16, 44100, samples);
    const ResourceEntry table[] = {{"WAVE", "FAST", w.data(), w.size()}};
    use_resource_table(table, 1);
    ASSERT_EQ(DirectSound_Voice_Load_Resource("fast", 2), 1);
    play_sound(2);
    std::vector<int16_t> out = mix(300);
    EXPECT_EQ(out[2 * 200], 0x1000);
    EXPECT_EQ(out[2 * 201], 0);
}

TEST_F(SoundEffects, ReleaseEmptiesEverySlot) {
    ASSERT_EQ(DirectSound_Voice_Load_Resource("shot", SOUND_SHOT), 1);
    release_sounds();
    play_sound(SOUND_SHOT);
    EXPECT_EQ(mix(64)[0], 0);
    for (const DeviceBuffer& b : device_.buffers) EXPECT_FALSE(b.used);
}

}  // namespace
