// The mix as the player hears it: the output stage on its own (offset
// removal, headroom, the limiter's curve) and the shipped tunes and effects
// through the real device: nothing clips, nothing sits off centre, music
// and effects stand within 3 dB of each other, and the same mix gives the
// same bytes everywhere. Then the master level after the mix: the volume's
// steps, mute, and the pause holding the output without moving the sound on.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/mix_output.h"
#include "platform/output_level.h"
#include "sound_test_host.h"

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;
const char* const kEffects[] = {"shot", "bom", "laser"};

int peak(const std::vector<int16_t>& x) {
    int top = 0;
    for (int16_t s : x) top = std::max(top, std::abs(static_cast<int>(s)));
    return top;
}

// A stereo sine through the output stage alone; its level after the first
// `settle` frames, relative to its level going in.
double passed_gain(double hz, int amplitude, int settle) {
    MixOutput stage;
    stage.reset(kRate);
    const int frames = settle + 4 * kRate;
    std::vector<int32_t> in(2 * static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i)
        in[2 * i] = in[2 * i + 1] =
            static_cast<int32_t>(std::lround(amplitude * std::sin(2 * kPi * hz * i / kRate)));
    std::vector<int16_t> out(in.size());
    stage.process(in.data(), out.data(), frames);
    std::vector<int16_t> tail(out.begin() + 2 * settle, out.end());
    return rms(tail) / (amplitude / std::sqrt(2.0));
}

TEST(MixOutput, TheLimiterBendsSmoothlyAndNeverReachesFullScale) {
    for (int64_t s : {0, 1, -1, -20000, MIX_KNEE, -MIX_KNEE})
        EXPECT_EQ(soft_limit(s), s) << "below the knee samples pass as they are";
    int32_t last = MIX_KNEE;
    for (int64_t s = MIX_KNEE + 1; s < 40 * 32768; s += 97) {
        const int32_t y = soft_limit(s);
        ASSERT_GE(y, last) << s;
        ASSERT_LE(y - last, 97) << "slope at most 1: " << s;
        ASSERT_EQ(soft_limit(-s), -y) << "symmetric";
        last = y;
    }
    EXPECT_LE(soft_limit(int64_t{1} << 40), MIX_CEILING - 1);
    EXPECT_GE(soft_limit(-(int64_t{1} << 40)), -(MIX_CEILING - 1));
    EXPECT_GT(soft_limit(32768), 28000) << "a full-scale sum stays loud";
}

TEST(MixOutput, TakesAwayOffsetsAndPassesWhatIsHeard) {
    // A constant 8000 in: the output settles to nothing within a quarter second.
    MixOutput stage;
    stage.reset(kRate);
    std::vector<int32_t> in(2 * kRate, 8000);
    std::vector<int16_t> out(in.size());
    stage.process(in.data(), out.data(), kRate);
    EXPECT_GT(out[0], 4000) << "the first sample still carries the step";
    for (size_t i = 2 * kRate / 4; i < out.size(); ++i) ASSERT_EQ(out[i], 0) << i;

    // The corner lies between 10 and 20 Hz; what is heard passes at the gain.
    const double gain = MIX_HEADROOM_GAIN / 65536.0;
    EXPECT_NEAR(passed_gain(1000, 8000, kRate / 2), gain, 0.01);
    EXPECT_NEAR(passed_gain(60, 8000, kRate / 2), gain, 0.03);
    EXPECT_LT(passed_gain(10, 8000, kRate), gain * 0.8);
    EXPECT_GT(passed_gain(20, 8000, kRate), gain * 0.7);
    EXPECT_LT(passed_gain(2, 8000, kRate), gain * 0.2);
}

class Mix : public SoundDeviceTest {
protected:
    void SetUp() override {
        SoundDeviceTest::SetUp();
        for (int slot = 0; slot < 3; ++slot)
            ASSERT_EQ(DirectSound_Voice_Load_Resource(kEffects[slot], slot), 1);
    }
    void start_tune(const char* name) {
        score_ = compile_score(shipped("VBTUNE", name));
        device_.music.start(score_.get(), kRate, true, 0, false);
    }
    std::unique_ptr<vorbel::Score> score_;
};

TEST_F(Mix, NoTuneWithAllEffectsAtAnyOffsetsReachesFullScale) {
    // Each tune at 40 places through its first 50 seconds: an explosion
    // alone, then the three effects together or staggered. The output never
    // touches full scale, and a tune with one explosion stays below the
    // limiter's knee: the headroom, not the limiter, keeps play clean.
    std::vector<const char*> tunes(std::begin(kLoopingTunes), std::end(kLoopingTunes));
    tunes.insert(tunes.end(), std::begin(kPlayOnceTunes), std::end(kPlayOnceTunes));
    for (const char* tune : tunes) {
        start_tune(tune);
        int loudest = 0;
        int loudest_with_bom = 0;
        for (int at = 0; at < 40; ++at) {
            mix(kRate / 5 + 97 * at);
            play_sound(SOUND_BOM);
            loudest_with_bom = std::max(loudest_with_bom, peak(mix(kRate * 6 / 10)));
            play_sound(SOUND_BOM);
            mix(37 * (at % 8));
            play_sound(SOUND_SHOT);
            mix(53 * (at % 5));
            play_sound(SOUND_LASER);
            loudest = std::max(loudest, peak(mix(kRate * 7 / 10)));
        }
        EXPECT_LT(loudest, 32767) << tune;
        EXPECT_LE(loudest_with_bom, MIX_KNEE) << tune;
    }
}

TEST_F(Mix, MusicAndEffectsAreCentredAndStandWithin3dB) {
    // Each effect alone, as the mixer sums it (the output stage scales music
    // and effects alike).
    double effect_rms[3];
    for (int slot = 0; slot < 3; ++slot) {
        play_sound(slot);
        std::vector<int32_t> e = sums(kRate);
        e.resize(2 * device_.buffers[slot].frame_count);
        effect_rms[slot] = rms(e);
        EXPECT_LT(std::abs(mean(e)), 0.004 * 32768) << kEffects[slot];
    }
    for (const char* tune : kLoopingTunes) {
        start_tune(tune);
        const std::vector<int32_t> music = sums(20 * kRate);
        EXPECT_LT(std::abs(mean(music)), 32768 * 0.001)
            << tune << ": the voices themselves carry no offset (-60 dBFS)";
        for (int slot = 0; slot < 3; ++slot)
            EXPECT_LT(std::abs(20 * std::log10(effect_rms[slot] / rms(music))), 3.0)
                << kEffects[slot] << " against " << tune;
    }
}

TEST_F(Mix, TheSameMixGivesTheSameSamples) {
    // The battle tune with a shot, an explosion and a laser over it. Integer
    // arithmetic throughout: these bytes change only when the mix is
    // changed on purpose.
    start_tune("VBTUNE_BATTLE");
    std::vector<int16_t> all = mix(kRate);
    const int plays[][2] = {
        {SOUND_SHOT, kRate / 4}, {SOUND_BOM, 0}, {SOUND_SHOT, kRate / 3}, {SOUND_LASER, kRate}};
    for (const auto& [slot, frames] : plays) {
        play_sound(slot);
        for (int16_t s : mix(frames)) all.push_back(s);
    }
    std::vector<uint8_t> bytes;
    for (int16_t s : all) {
        bytes.push_back(static_cast<uint8_t>(s & 0xFF));
        bytes.push_back(static_cast<uint8_t>((s >> 8) & 0xFF));
    }
    EXPECT_EQ(fnv1a(bytes), 0xea1c98c3u);
}

TEST(OutputLevel, VolumeStepsAreAboutThreeDecibelsAndMuteIsSilence) {
    EXPECT_EQ(volume_gain(10, 10, false), 32768);
    EXPECT_EQ(volume_gain(0, 10, false), 0);
    EXPECT_EQ(volume_gain(10, 10, true), 0);
    EXPECT_NEAR(volume_gain(8, 10, false), 32768 * 0.501, 40);  // -6 dB
    for (int v = 1; v < 10; ++v)
        EXPECT_LT(volume_gain(v, 10, false), volume_gain(v + 1, 10, false));
}

TEST_F(Mix, TheMasterLevelScalesTheMixOnceAndHoldsItWhilePaused) {
    // A copy of the device, sharing its samples and mixed as it is, is the
    // reference.
    start_tune("VBTUNE_BATTLE");
    play_sound(SOUND_BOM);
    SoundDevice reference = device_;
    std::vector<int16_t> out(2 * 512), want(2 * 512);
    set_output_gain(16384);
    sound_device_callback(out.data(), 512, &device_);
    reference.mix(want.data(), 512);
    ASSERT_GT(peak(want), 1000);
    for (size_t i = 0; i < out.size(); ++i) ASSERT_NEAR(out[i], want[i] / 2, 1) << i;

    // Held: silence, and the music and the explosion wait where they were.
    hold_output(true);
    sound_device_callback(out.data(), 512, &device_);
    EXPECT_EQ(peak(out), 0);
    hold_output(false);
    set_output_gain(32768);
    sound_device_callback(out.data(), 512, &device_);
    reference.mix(want.data(), 512);
    EXPECT_EQ(out, want);
}

}  // namespace
