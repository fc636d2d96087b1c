// parse_wave over the shipped effects and over broken or cut-short WAVEs.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/resources.h"
#include "platform/sound.h"

namespace {

std::vector<uint8_t> shipped(const char* name) {
    ResourceData data;
    EXPECT_TRUE(find_resource("WAVE", name, &data)) << name;
    return std::vector<uint8_t>(data.bytes, data.bytes + data.size);
}

void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// RIFF, WAVE, a 16-byte PCM fmt chunk, then the given chunks.
std::vector<uint8_t> wave_with(
    uint16_t tag, uint16_t channels, uint16_t bits,
    const std::vector<std::pair<const char*, std::vector<uint8_t>>>& chunks) {
    std::vector<uint8_t> b = {'R', 'I', 'F', 'F', 0,   0,   0,  0, 'W', 'A',
                              'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0,   0};
    const uint8_t fmt[16] = {static_cast<uint8_t>(tag),
                             static_cast<uint8_t>(tag >> 8),
                             static_cast<uint8_t>(channels),
                             0,
                             0x22,
                             0x56,
                             0,
                             0,
                             0x22,
                             0x56,
                             0,
                             0,
                             static_cast<uint8_t>(channels * bits / 8),
                             0,
                             static_cast<uint8_t>(bits),
                             0};
    for (uint8_t x : fmt) b.push_back(x);
    for (const auto& [id, body] : chunks) {
        b.insert(b.end(), id, id + 4);
        b.resize(b.size() + 4);
        put32(b, b.size() - 4, static_cast<uint32_t>(body.size()));
        b.insert(b.end(), body.begin(), body.end());
    }
    put32(b, 4, static_cast<uint32_t>(b.size() - 8));
    return b;
}

int parse(const std::vector<uint8_t>& b, WaveFormat* f = nullptr, const uint8_t** s = nullptr,
          uint32_t* n = nullptr) {
    WaveFormat format;
    const uint8_t* samples;
    uint32_t count;
    return parse_wave(b.data(), b.size(), f ? f : &format, s ? s : &samples, n ? n : &count);
}

TEST(ParseWave, AcceptsTheShippedLayouts) {
    for (const char* name : {"shot", "bom", "laser"}) {
        std::vector<uint8_t> b = shipped(name);
        WaveFormat f;
        const uint8_t* samples = nullptr;
        uint32_t count = 0;
        ASSERT_EQ(parse(b, &f, &samples, &count), 1) << name;
        EXPECT_EQ(f.format_tag, 1);
        EXPECT_EQ(f.channels, 1);
        EXPECT_EQ(f.samples_per_second, 22050u);
        EXPECT_EQ(f.bits_per_sample, 8);
        // The samples are the file's last bytes: "data" is the final chunk.
        EXPECT_EQ(samples + count, b.data() + b.size()) << name;
        EXPECT_GT(count, 2000u) << name;
        // shot and bom carry an 18-byte fmt and a fact chunk, laser neither.
        const bool long_fmt = std::strcmp(name, "laser") != 0;
        EXPECT_EQ(b[16], long_fmt ? 18 : 16) << name;
        EXPECT_EQ(std::memcmp(b.data() + 38, "fact", 4) == 0, long_fmt) << name;
    }
}

TEST(ParseWave, RefusesEveryTruncationOfTheShippedFiles) {
    for (const char* name : {"shot", "bom", "laser"}) {
        std::vector<uint8_t> b = shipped(name);
        for (size_t size = 0; size < b.size(); ++size) {
            std::vector<uint8_t> cut(b.begin(), b.begin() + static_cast<long>(size));
            ASSERT_EQ(parse(cut), 0) << name << " cut to " << size;
        }
    }
}

TEST(ParseWave, RefusesUnsupportedFormats) {
    const std::vector<uint8_t> samples(64, 128);
    EXPECT_EQ(parse(wave_with(1, 1, 8, {{"data", samples}})), 1);
    EXPECT_EQ(parse(wave_with(1, 2, 16, {{"data", samples}})), 1);
    EXPECT_EQ(parse(wave_with(2, 1, 8, {{"data", samples}})), 0) << "format tag 2";
    EXPECT_EQ(parse(wave_with(1, 3, 8, {{"data", samples}})), 0) << "three channels";
    EXPECT_EQ(parse(wave_with(1, 1, 24, {{"data", samples}})), 0) << "24 bits";
}

TEST(ParseWave, WalksPastOtherChunksToData) {
    const std::vector<uint8_t> samples = {1, 2, 3, 4, 5};
    // An odd-sized chunk is followed at once by the next one: no pad byte.
    std::vector<uint8_t> b =
        wave_with(1, 1, 8, {{"fact", {9, 9, 9}}, {"LIST", {}}, {"data", samples}});
    const uint8_t* s = nullptr;
    uint32_t n = 0;
    ASSERT_EQ(parse(b, nullptr, &s, &n), 1);
    EXPECT_EQ(n, 5u);
    EXPECT_EQ(std::memcmp(s, samples.data(), 5), 0);
}

TEST(ParseWave, RefusesBadStructure) {
    const std::vector<uint8_t> samples(16, 128);
    std::vector<uint8_t> good = wave_with(1, 1, 8, {{"data", samples}});

    std::vector<uint8_t> b = good;
    std::memcpy(b.data(), "RIFX", 4);
    EXPECT_EQ(parse(b), 0) << "not RIFF";

    b = wave_with(1, 1, 8, {{"data", samples}});
    std::memcpy(b.data() + 12, "LIST", 4);  // fmt not the first chunk
    EXPECT_EQ(parse(b), 0) << "fmt not first";

    EXPECT_EQ(parse(wave_with(1, 1, 8, {{"fact", {1, 2, 3, 4}}})), 0) << "no data chunk";

    b = good;
    put32(b, 40, 17);  // data one byte longer than the file
    EXPECT_EQ(parse(b), 0) << "data past the end";

    b = wave_with(1, 1, 8, {{"fact", {1, 2, 3, 4}}, {"data", samples}});
    put32(b, 40, 0xFFFFFFF0u);  // a chunk size that would wrap a 32-bit offset
    EXPECT_EQ(parse(b), 0) << "chunk past the end";

    b = good;
    put32(b, 16, 12);  // fmt too short to hold the format record
    EXPECT_EQ(parse(b), 0) << "short fmt";

    WaveFormat f;
    const uint8_t* s;
    uint32_t n;
    EXPECT_EQ(parse_wave(nullptr, 100, &f, &s, &n), 0);
}

}  // namespace
