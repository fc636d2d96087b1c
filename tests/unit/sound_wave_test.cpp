// parse_wave over the shipped effects and over broken or cut-short WAVEs.
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

TEST(ParseWave, WalksPastOtherChunksToData) {
    const std::vector<uint8_t> samples = {1, 2, 3, 4, 5};
    // An odd-sized chunk is followed at once by the next one: no pad byte.
    const std::vector<uint8_t> b =
        wave_file(1, 2, 16, 22050, {{"fact", {9, 9, 9}}, {"LIST", {}}, {"data", samples}});
    const uint8_t* s = nullptr;
    uint32_t n = 0;
    ASSERT_EQ(parse(b, &s, &n), 1);
    EXPECT_EQ(n, 5u);
    EXPECT_EQ(std::memcmp(s, samples.data(), 5), 0);
}

TEST(ParseWave, RefusesWhatItCannotPlayAndWhatRunsPastItsEnd) {
    const std::vector<uint8_t> samples(16, 128);
    const std::vector<uint8_t> good = wave_file(1, 1, 8, 22050, {{"data", samples}});
    const std::vector<uint8_t> fact_first =
        wave_file(1, 1, 8, 22050, {{"fact", {1, 2, 3, 4}}, {"data", samples}});
    ASSERT_EQ(parse(good), 1);
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
    const uint8_t* s;
    uint32_t n;
    EXPECT_EQ(parse_wave(nullptr, 100, &f, &s, &n), 0);
}

}  // namespace
