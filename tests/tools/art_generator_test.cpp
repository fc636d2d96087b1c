// The art generator must paint the shipped art byte for byte: every bitmap
// the game loads, the desktop icon and the page's icons. Any change to an
// encoder, a font or a drawing helper shows here as a changed file, which is
// then either a mistake or a repaint to commit. The rest checks what a
// repaint cannot: the refusals.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "font.h"
#include "image.h"
#include "sheets.h"

namespace {

std::vector<uint8_t> committed(const std::string& path) {
    std::ifstream file(std::string(ZARVOX_SOURCE_DIR) + "/" + path, std::ios::binary);
    EXPECT_TRUE(file) << path << " is missing";
    return {std::istreambuf_iterator<char>(file), {}};
}

TEST(Painters, RepaintEveryShippedBitmapByteForByte) {
    const std::vector<Sheet> sheets = paint_all_sheets();
    ASSERT_EQ(sheets.size(), 11u);
    for (const Sheet& s : sheets) {
        std::vector<uint8_t> bytes;
        std::string error;
        ASSERT_TRUE(encode_bmp(s.image, s.bits, &bytes, &error)) << s.file << ": " << error;
        EXPECT_TRUE(bytes == committed("resources/bitmap/" + s.file))
            << s.file << " differs: repaint with paint_bitmaps resources/bitmap";
    }
}

TEST(Painters, RepaintTheIconsByteForByte) {
    const struct {
        Image image;
        const char* file;
    } icons[] = {{paint_icon(), "packaging/zarvox-icon.png"},
                 {paint_icon_at(1), "src/hosts/web/favicon.png"},
                 {paint_icon_at(3), "src/hosts/web/icon-192.png"},
                 {paint_icon_at(8), "src/hosts/web/icon-512.png"}};
    for (const auto& icon : icons) {
        std::vector<uint8_t> bytes;
        std::string error;
        ASSERT_TRUE(encode_png(icon.image, &bytes, &error)) << icon.file << ": " << error;
        EXPECT_TRUE(bytes == committed(icon.file)) << icon.file << " differs: repaint it";
    }
}

TEST(Painters, RefuseWhatTheyCannotEncodeOrDraw) {
    Image img(17, 1);
    for (int x = 0; x < 16; ++x) img.set(x, 0, rgb(10 + x, 20, 30));  // 16 + black = 17
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(encode_bmp(img, 4, &bytes, &error));
    EXPECT_NE(error.find("16"), std::string::npos);
    EXPECT_TRUE(encode_bmp(img, 8, &bytes, &error));
    EXPECT_FALSE(encode_png(Image(), &bytes, &error));

    const TextStyle style{ink::white, ink::white, ink::outline, kClear, 2};
    EXPECT_THROW(draw_text(img, regular_font(), 0, 0, "caf\xe9", style), std::invalid_argument);
}

}  // namespace
