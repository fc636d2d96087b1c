// The sound effects: parse_wave over the shipped effects and over broken or
// cut-short WAVEs, and the slots over the tune library's device: loading,
// restarting, mixing and the calls the runner's trace sees.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "sound_test_host.h"

namespace {

int parse(const std::vector<uint8_t>& b, const uint8_t** s = nullptr, uint32_t* n = nullptr) {
    WaveFormat format;
    const uint8_t* samples;
    uint32_t count;
    return parse_wave(b.data(), b.size(), &format, s ? s : &samples, n ? n : &count);
}

// `b` with the four bytes at `at` replaced.
std::vector<uint8_t> patched(std::vector<uint8_t> b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    return b;
}

std::vector<uint8_t> patched(std::vector<uint8_t> b, size_t at, const char* four) {
    std::memcpy(b.data() + at, four, 4);
    return b;
}

TEST(ParseWave, AcceptsTheShippedEffectsAndRefusesEveryTruncation) {
    for (const char* name : {"shot", "bom", "laser"}) {
        const std::vector<uint8_t> b = shipped("WAVE", name);
        const uint8_t* samples = nullptr;
        uint32_t count = 0;
        ASSERT_EQ(parse(b, &samples, &count), 1) << name;
        // The samples are the file's last bytes: "data" is the final chunk.
        EXPECT_EQ(samples + count, b.data() + b.size()) << name;
        EXPECT_GT(count, 2000u) << name;
        // shot and bom carry an 18-byte fmt and a fact chunk, laser neither.
        EXPECT_EQ(b[16], std::strcmp(name, "laser") ? 18 : 16) << name;
        for (size_t size = 0; size < b.size(); ++size) {
            std::vector<uint8_t> cut(b.begin(), b.begin() + static_cast<long>(size));
            ASSERT_EQ(parse(cut), 0) << name << " cut to " << size;
        }
    }
}

TEST(ParseWave, FindsTheDataAndRefusesWhatItCannotPlayOrWhatRunsPastTheEnd) {
    const std::vector<uint8_t> samples(16, 128);
    const std::vector<uint8_t> good = wave_file(1, 1, 8, 22050, {{"data", samples}});
    const std::vector<uint8_t> fact_first =
        wave_file(1, 1, 8, 22050, {{"fact", {1, 2, 3, 4}}, {"data", samples}});
    ASSERT_EQ(parse(good), 1);
    // Other chunks are walked past to the data; an odd-sized one is followed
    // at once by the next: no pad byte.
    const uint8_t* s = nullptr;
    uint32_t n = 0;
    const std::vector<uint8_t> chunks =
        wave_file(1, 2, 16, 22050, {{"fact", {9, 9, 9}}, {"LIST", {}}, {"data", {7}}});
    ASSERT_EQ(parse(chunks, &s, &n), 1);
    EXPECT_EQ(n, 1u);
    EXPECT_EQ(*s, 7);
    const struct {
        const char* fault;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"format tag 2", wave_file(2, 1, 8, 22050, {{"data", samples}})},
        {"three channels", wave_file(1, 3, 8, 22050, {{"data", samples}})},
        {"24 bits", wave_file(1, 1, 24, 22050, {{"data", samples}})},
        {"not RIFF", patched(good, 0, "RIFX")},
        {"fmt not the first chunk", patched(good, 12, "LIST")},
        {"fmt too short to hold the format record", patched(good, 16, 12)},
        {"no data chunk", wave_file(1, 1, 8, 22050, {{"fact", {1, 2, 3, 4}}})},
        {"data one byte longer than the file", patched(good, 40, 17)},
        {"a chunk size that would wrap a 32-bit offset", patched(fact_first, 40, 0xFFFFFFF0u)},
    };
    for (const auto& c : cases) EXPECT_EQ(parse(c.bytes), 0) << c.fault;
    WaveFormat f;
    EXPECT_EQ(parse_wave(nullptr, 100, &f, &s, &n), 0);
}

using SoundEffects = SoundDeviceTest;

// Offers one made-up WAVE as the only resource and loads it into `slot`.
void load_made_up(uint16_t channels, uint16_t bits, uint32_t rate,
                  const std::vector<uint8_t>& samples, int slot) {
    static std::vector<uint8_t> wave;
    static ResourceEntry table[1];
    wave = wave_file(1, channels, bits, rate, {{"data", samples}});
    table[0] = {"WAVE", "MADE", wave.data(), wave.size()};
    use_resource_table(table, 1);
    ASSERT_EQ(DirectSound_Voice_Load_Resource("made", slot), 1);
}

TEST_F(SoundEffects, LoadsTheShippedEffectsAndReleasesThem) {
    EXPECT_EQ(DirectSound_Voice_Load_Resource("shot", SOUND_SHOT), 1);
    EXPECT_EQ(DirectSound_Voice_Load_Resource("BOM", SOUND_BOM), 1);
    EXPECT_EQ(DirectSound_Voice_Load_Resource("Laser", SOUND_LASER), 1);
    EXPECT_EQ(DirectSound_Voice_Load_Resource("missing", 3), 0);
    EXPECT_EQ(DirectSound_Voice_Load_Resource("shot", -1), 0);
    EXPECT_EQ(DirectSound_Voice_Load_Resource("shot", SOUND_SLOTS), 0);
    EXPECT_EQ(sound_test_host().lock_depth, 0);
    release_sounds();
    play_sound(SOUND_SHOT);
    EXPECT_EQ(sums(64)[0], 0);
    for (const DeviceBuffer& b : device_.buffers) EXPECT_FALSE(b.used);
}

TEST_F(SoundEffects, WithoutADeviceLoadsSucceedAndPlaysAreSilent) {
    set_sound_device(nullptr);
    EXPECT_EQ(DirectSound_Voice_Load_Resource("missing", 99), 1);
    play_sound(SOUND_SHOT);
    EXPECT_EQ(sound_test_host().sounds, std::vector<int>{SOUND_SHOT});
}

TEST_F(SoundEffects, ASlotRestartsEndsAtItsLastSampleAndSoundsWithOthers) {
    // Slot 4 steps 0, 1, 2, ... 99 (offset binary); slot 5 is a constant.
    std::vector<uint8_t> ramp(100);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<uint8_t>(128 + i);
    load_made_up(1, 8, 22050, ramp, 4);
    load_made_up(1, 8, 22050, std::vector<uint8_t>(1000, 138), 5);

    play_sound(4);
    std::vector<int32_t> a = sums(30);
    EXPECT_EQ(a[0], 0);
    EXPECT_EQ(a[2 * 29], 29 * 256);
    EXPECT_EQ(a[2 * 29 + 1], 29 * 256) << "mono plays on both sides";

    play_sound(4);  // cuts the first play off and starts from its first sample
    play_sound(5);
    std::vector<int32_t> b = sums(110);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(b[2 * i], i * 256 + 10 * 256) << i;
    for (int i = 100; i < 110; ++i) ASSERT_EQ(b[2 * i], 10 * 256) << "the ramp plays once: " << i;

    play_sound(7);  // an empty slot does nothing
    play_sound(-3);
    EXPECT_EQ(sound_test_host().sounds, (std::vector<int>{4, 4, 5, 7, -3}));
    EXPECT_EQ(sound_test_host().lock_depth, 0);
}

TEST_F(SoundEffects, LoudSumsBendInsteadOfWrapping) {
    // 16-bit stereo frames of +32767 left, -32768 right, in two slots at once.
    std::vector<uint8_t> loud;
    for (int i = 0; i < 50; ++i) loud.insert(loud.end(), {0xFF, 0x7F, 0x00, 0x80});
    load_made_up(2, 16, 22050, loud, 3);
    load_made_up(2, 16, 22050, loud, 8);
    play_sound(3);
    play_sound(8);
    std::vector<int16_t> out = mix(10);
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
    load_made_up(1, 16, 44100, samples, 2);
    play_sound(2);
    std::vector<int32_t> out = sums(300);
    EXPECT_EQ(out[2 * 200], 0x1000);
    EXPECT_EQ(out[2 * 201], 0);
}

}  // namespace
