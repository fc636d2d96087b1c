// Reading the game's bitmaps, and refusing every other or damaged one.
#include "platform/bmp_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/resources.h"
#include "support/bitmap_file.h"

namespace {

uint32_t colour_of(int index) {
    return static_cast<uint32_t>(index * 0x010101);
}

// A bitmap whose table entry i is colour_of(i): the full table for its depth,
// or `colours` entries with their count stored.
std::vector<uint8_t> make_bmp(int depth, int w, int h, const std::vector<int>& indices,
                              bool top_down = false, int colours = 0) {
    std::vector<uint32_t> table;
    for (int i = 0; i < (colours ? colours : 1 << depth); ++i) table.push_back(colour_of(i));
    return bitmap_file(depth, w, h, table, indices, top_down, colours != 0);
}

void expect_picture(const std::vector<uint8_t>& bmp, int w, int h, const std::vector<int>& want) {
    Surface s;
    const char* reason = "unset";
    ASSERT_TRUE(read_bmp(bmp.data(), bmp.size(), &s, &reason));
    EXPECT_EQ(reason, nullptr);
    ASSERT_EQ(s.width, w);
    ASSERT_EQ(s.height, h);
    for (int i = 0; i < w * h; ++i) EXPECT_EQ(s.pixels[i], colour_of(want[i])) << i;
}

std::string refusal(const std::vector<uint8_t>& bmp) {
    // A copy of exactly the given size, so a read past it is caught.
    std::vector<uint8_t> exact(bmp);
    Surface s;
    make_surface(&s, 2, 2, 7);
    const char* reason = nullptr;
    if (read_bmp(exact.data(), exact.size(), &s, &reason)) return "read";
    EXPECT_EQ(s.width, 0);
    EXPECT_TRUE(s.pixels.empty());
    return reason ? reason : "no reason";
}

void set32(std::vector<uint8_t>& b, int at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

TEST(BmpReader, ReadsEveryDepthTheArtUsesEitherWayUp) {
    // Widths that leave padding at the end of each row.
    const std::vector<int> one = {1, 0, 1, 1, 0, 0, 0, 1, 1, 0, 1, 0, 0, 1, 1, 1, 0, 1};
    expect_picture(make_bmp(1, 9, 2, one), 9, 2, one);
    const std::vector<int> four = {15, 0, 7, 3, 9, 12, 1, 2, 4, 5};
    expect_picture(make_bmp(4, 5, 2, four), 5, 2, four);
    expect_picture(make_bmp(4, 5, 2, four, true), 5, 2, four);
    const std::vector<int> eight = {255, 0, 17, 128, 3, 99};
    expect_picture(make_bmp(8, 3, 2, eight), 3, 2, eight);
    expect_picture(make_bmp(8, 3, 2, eight, true), 3, 2, eight);
    // A short colour table is fine while every pixel stays inside it.
    expect_picture(make_bmp(8, 3, 2, {0, 1, 2, 2, 1, 0}, false, 3), 3, 2, {0, 1, 2, 2, 1, 0});
}

TEST(BmpReader, RefusesOtherFormatsWithAReason) {
    const std::vector<uint8_t> good = make_bmp(8, 4, 4, std::vector<int>(16, 1));
    auto with = [&](int at, uint32_t value, int bytes = 4) {
        std::vector<uint8_t> b = good;
        for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<uint8_t>(value >> (8 * i));
        return b;
    };
    EXPECT_EQ(refusal(with(0, 'X', 1)), "not a bitmap");
    EXPECT_EQ(refusal(with(14, 12)), "unknown header size");
    EXPECT_EQ(refusal(with(26, 2, 2)), "plane count is not 1");
    EXPECT_EQ(refusal(with(28, 24, 2)), "unsupported depth");
    EXPECT_EQ(refusal(with(28, 32, 2)), "unsupported depth");
    EXPECT_EQ(refusal(with(30, 1)), "compressed");
    EXPECT_EQ(refusal(with(18, 0)), "bad dimensions");
    EXPECT_EQ(refusal(with(18, 0x80000000u)), "bad dimensions");
    EXPECT_EQ(refusal(with(22, 0)), "bad dimensions");
    EXPECT_EQ(refusal(with(22, 0x80000000u)), "bad dimensions");
    EXPECT_EQ(refusal(with(46, 257)), "colour table too large");
}

TEST(BmpReader, RefusesSizesAndOffsetsThatDoNotFitTheBytes) {
    std::vector<uint8_t> good = make_bmp(8, 4, 4, std::vector<int>(16, 1));
    EXPECT_EQ(refusal({good.begin(), good.begin() + 53}), "shorter than the bitmap headers");
    EXPECT_EQ(refusal({good.begin(), good.begin() + 54 + 1023}), "colour table runs past the end");
    EXPECT_EQ(refusal({good.begin(), good.end() - 1}), "pixels run past the end");
    std::vector<uint8_t> b = good;
    set32(b, 10, 54 + 1020);  // pixels inside the colour table
    EXPECT_EQ(refusal(b), "pixels overlap the headers");
    b = good;
    set32(b, 10, 0xFFFFFFF0u);
    EXPECT_EQ(refusal(b), "pixels run past the end");
    b = good;
    set32(b, 18, 0x7FFFFFFF);  // a huge width the bytes cannot hold
    EXPECT_EQ(refusal(b), "pixels run past the end");
    b = good;
    set32(b, 14, 124);  // a V5 header that the bytes end inside of
    b.resize(60);
    EXPECT_EQ(refusal(b), "header runs past the end");
    // A pixel that names an entry beyond a short table.
    EXPECT_EQ(refusal(make_bmp(8, 3, 1, {0, 1, 3}, false, 3)), "pixel beyond the colour table");
}

TEST(BmpReader, EveryCutOfTheGamesArtIsRefused) {
    for (const char* name : {"vorbel", "gohobi", "quelpin"}) {
        ResourceData data;
        ASSERT_TRUE(find_resource("BITMAP", name, &data)) << name;
        Surface whole;
        ASSERT_TRUE(read_bmp(data.bytes, data.size, &whole)) << name;
        for (size_t size = 0; size < data.size; ++size) {
            const std::vector<uint8_t> cut(data.bytes, data.bytes + size);
            Surface s;
            ASSERT_FALSE(read_bmp(cut.data(), cut.size(), &s)) << name << " cut to " << size;
        }
    }
}

}  // namespace
