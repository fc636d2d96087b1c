// The art generator's own machinery: the BMP and PNG encoders, the fonts, the
// drawing helpers the painters lean on, and the committed desktop icon.
#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <iterator>
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

uint32_t u32_be(const std::vector<uint8_t>& b, size_t at) {
    return (static_cast<uint32_t>(b[at]) << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3];
}

// Reads back what encode_png writes: checks the signature, every chunk's CRC
// and the header, and returns the pixels as they were painted (alpha 0 as
// kClear). Fails the test on anything else.
Image decode_png(const std::vector<uint8_t>& bytes) {
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(bytes.size() > 8 && std::equal(kSignature, kSignature + 8, bytes.begin()));
    int width = 0, height = 0;
    std::vector<uint8_t> packed;
    std::string last;
    for (size_t at = 8; at + 12 <= bytes.size();) {
        const uint32_t length = u32_be(bytes, at);
        if (at + 12 + length > bytes.size()) {
            ADD_FAILURE() << "chunk runs past the end";
            return {};
        }
        const std::string type(bytes.begin() + at + 4, bytes.begin() + at + 8);
        const uint8_t* data = bytes.data() + at + 8;
        EXPECT_EQ(crc32(0L, bytes.data() + at + 4, length + 4), u32_be(bytes, at + 8 + length))
            << type;
        if (type == "IHDR") {
            width = static_cast<int>(u32_be(bytes, at + 8));
            height = static_cast<int>(u32_be(bytes, at + 12));
            EXPECT_EQ(std::vector<uint8_t>(data + 8, data + 13),
                      (std::vector<uint8_t>{8, 6, 0, 0, 0}));
        }
        if (type == "IDAT") packed.insert(packed.end(), data, data + length);
        last = type;
        at += 12 + length;
    }
    EXPECT_EQ(last, "IEND");
    std::vector<uint8_t> raw(static_cast<size_t>(height) * (1 + 4 * width));
    uLongf raw_size = raw.size();
    if (uncompress(raw.data(), &raw_size, packed.data(), packed.size()) != Z_OK ||
        raw_size != raw.size()) {
        ADD_FAILURE() << "the pixel data does not inflate to " << raw.size() << " bytes";
        return {};
    }
    Image img(width, height);
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = raw.data() + static_cast<size_t>(y) * (1 + 4 * width);
        EXPECT_EQ(row[0], 0) << "filter of row " << y;
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = row + 1 + 4 * x;
            EXPECT_TRUE(p[3] == 0 || p[3] == 255);
            img.set(x, y, p[3] == 0 ? kClear : rgb(p[0], p[1], p[2]));
        }
    }
    return img;
}

TEST(EncodePng, RoundTripsColoursAndMakesOnlyBlackTransparent) {
    Image img(3, 2);
    img.set(0, 0, ink::cyan);
    img.set(2, 1, rgb(1, 1, 1));  // the darkest colour a blend gives stays opaque
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(encode_png(img, &bytes, &error)) << error;
    const Image back = decode_png(bytes);
    EXPECT_EQ(back.width, 3);
    EXPECT_EQ(back.height, 2);
    EXPECT_EQ(back.pixels, img.pixels);
    EXPECT_FALSE(encode_png(Image(), &bytes, &error));
}

TEST(Icon, IsARoundOpaqueDiscThatMatchesTheCommittedFile) {
    const Image icon = paint_icon();
    ASSERT_EQ(icon.width, 256);
    ASSERT_EQ(icon.height, 256);
    for (auto [x, y] : {std::pair{0, 0}, {255, 0}, {0, 255}, {255, 255}})
        EXPECT_EQ(icon.get(x, y), kClear) << "corner " << x << "," << y;
    for (int x = 0; x < 256; x += 4) EXPECT_NE(icon.get(x, 128), kClear) << "across the middle";

    std::ifstream file(ZARVOX_SOURCE_DIR "/packaging/zarvox-icon.png", std::ios::binary);
    ASSERT_TRUE(file) << "packaging/zarvox-icon.png is missing";
    const std::vector<uint8_t> committed{std::istreambuf_iterator<char>(file), {}};
    EXPECT_TRUE(decode_png(committed).pixels == icon.pixels)
        << "repaint it: paint_bitmaps --icon packaging/zarvox-icon.png";
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
