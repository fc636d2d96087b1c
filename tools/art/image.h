// An RGB picture in memory, its uncompressed Windows BMP form and, for the
// desktop icon, its PNG form.
// Colour 0 (pure black) is the transparent colour of every sprite sheet, so
// painters never use it for anything that should be seen.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Colour = uint32_t;  // 0x00RRGGBB

constexpr Colour rgb(int r, int g, int b) {
    return (static_cast<Colour>(r) << 16) | (static_cast<Colour>(g) << 8) | static_cast<Colour>(b);
}
constexpr Colour kClear = 0;

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Colour> pixels;

    Image() = default;
    Image(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h, kClear) {}

    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    Colour get(int x, int y) const { return inside(x, y) ? pixels[y * width + x] : kClear; }
    void set(int x, int y, Colour c) {
        if (inside(x, y)) pixels[y * width + x] = c;
    }
};

// Encodes an indexed BMP of 1, 4 or 8 bits per pixel. Palette index 0 is
// always pure black; the other colours get indices in order of first use.
// Fails (with a message in *error) when the picture has more colours than
// the depth holds.
bool encode_bmp(const Image& image, int bits, std::vector<uint8_t>* bytes, std::string* error);

// Encodes an 8-bit RGBA PNG; pure black (kClear) becomes fully transparent and
// every other colour fully opaque.
bool encode_png(const Image& image, std::vector<uint8_t>* bytes, std::string* error);

bool write_file(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error);
