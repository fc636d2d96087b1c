// The art generator's own machinery: the BMP encoder, the fonts and the
// drawing helpers the painters lean on.
#include <gtest/gtest.h>

#include <set>

#include "draw.h"
#include "font.h"
#include "image.h"
#include "sheets.h"

namespace {

uint32_t u32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

TEST(EncodeBmp, PadsRowsStoresBottomUpAndKeepsBlackAtIndexZero) {
    Image img(5, 2);  // 1-bit rows of 5 pixels pad to 4 bytes
    img.set(0, 0, ink::cyan);
    img.set(4, 1, ink::cyan);
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(encode_bmp(img, 1, &bytes, &error)) << error;
    const uint32_t offset = u32(bytes, 10);
    EXPECT_EQ(offset, 14u + 40u + 2u * 4u);
    EXPECT_EQ(bytes.size(), offset + 2u * 4u);
    EXPECT_EQ(u32(bytes, 54) & 0xFFFFFF, 0u) << "index 0 is black";
    EXPECT_EQ(u32(bytes, 58) & 0xFFFFFF, ink::cyan) << "stored blue, green, red";
    // The bottom row comes first: pixel (4, 1) is bit 3 of its first byte.
    EXPECT_EQ(bytes[offset], 0x08);
    EXPECT_EQ(bytes[offset + 4], 0x80);
}

TEST(EncodeBmp, RefusesMoreColoursThanTheDepthHolds) {
    Image img(17, 1);
    for (int x = 0; x < 16; ++x) img.set(x, 0, rgb(10 + x, 20, 30));  // 16 + black = 17
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(encode_bmp(img, 4, &bytes, &error));
    EXPECT_NE(error.find("16"), std::string::npos);
    EXPECT_TRUE(encode_bmp(img, 8, &bytes, &error));
}

TEST(Fonts, CoverEveryCharacterOurTextsUse) {
    const std::string letters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789!?.,:'\"-+/()*";
    for (char c : letters) EXPECT_TRUE(regular_font().glyphs.count(c)) << c;
    for (char c : std::string("RESTCOBHIP:")) EXPECT_TRUE(tiny_font().glyphs.count(c)) << c;
    for (const Font* font : {&regular_font(), &tiny_font()})
        for (const auto& [c, g] : font->glyphs) {
            EXPECT_LE(static_cast<int>(g.rows.size()), font->height) << c;
            for (const std::string& row : g.rows)
                EXPECT_EQ(static_cast<int>(row.size()), g.width) << c;
        }
}

TEST(Fonts, MeasureWhatTheyDrawAndRefuseMissingGlyphs) {
    const TextStyle style{ink::white, ink::white, ink::outline, kClear, 2};
    Image img(200, 40);
    const int drawn = draw_text(img, regular_font(), 0, 0, "Hi 42", style);
    EXPECT_EQ(drawn, text_width(regular_font(), "Hi 42", 2) + 2);
    int right = 0;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x)
            if (img.get(x, y) != kClear) right = std::max(right, x + 1);
    EXPECT_EQ(right, drawn) << "the outline is the last column";
    EXPECT_THROW(draw_text(img, regular_font(), 0, 0, "caf\xe9", style), std::invalid_argument);
}

TEST(Drawing, OutlineStaysInItsBoxAndSparesPaint) {
    Image img(12, 12);
    fill_box(img, {2, 2, 6, 6}, ink::red2);
    fill_box(img, {6, 2, 10, 6}, ink::blue2);  // touches the box's right edge below
    outline(img, {0, 0, 8, 8}, ink::outline);
    EXPECT_EQ(img.get(1, 3), ink::outline);
    EXPECT_EQ(img.get(3, 6), ink::outline);
    EXPECT_EQ(img.get(1, 1), kClear) << "no corners unless asked";
    EXPECT_EQ(img.get(7, 6), ink::outline) << "paint inside the box is outlined";
    EXPECT_EQ(img.get(8, 6), kClear) << "nothing outside the box changes";
    EXPECT_EQ(img.get(5, 4), ink::red2);
}

TEST(Drawing, BlendsNeverTurnTransparent) {
    EXPECT_NE(mix(rgb(0, 0, 0), ink::outline, 0.0), kClear);
    EXPECT_EQ(mix(ink::red2, ink::blue2, 0.0), ink::red2);
    EXPECT_EQ(mix(ink::red2, ink::blue2, 1.0), ink::blue2);
    Image img(8, 64);
    vertical_gradient(img, {0, 0, 8, 64}, rgb(1, 1, 1), rgb(3, 3, 3), 3);
    for (Colour c : img.pixels) EXPECT_NE(c, kClear);
}

TEST(Sheets, AllPaintAndFitTheirDepths) {
    const std::vector<Sheet> sheets = paint_all_sheets();
    ASSERT_EQ(sheets.size(), 11u);
    std::set<std::string> names;
    for (const Sheet& s : sheets) {
        SCOPED_TRACE(s.file);
        names.insert(s.file);
        std::vector<uint8_t> bytes;
        std::string error;
        EXPECT_TRUE(encode_bmp(s.image, s.bits, &bytes, &error)) << error;
    }
    EXPECT_EQ(names.size(), 11u);
}

}  // namespace
