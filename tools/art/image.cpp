#include "image.h"

#include <fstream>
#include <map>
#include <utility>

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

}  // namespace

bool encode_bmp(const Image& image, int bits, std::vector<uint8_t>* bytes, std::string* error) {
    if (bits != 1 && bits != 4 && bits != 8) {
        *error = "unsupported depth";
        return false;
    }
    const size_t colours = size_t{1} << bits;
    std::vector<Colour> palette = {kClear};
    std::map<Colour, uint8_t> index = {{kClear, 0}};
    for (Colour c : image.pixels) {
        if (index.count(c)) continue;
        if (palette.size() == colours) {
            *error = "more than " + std::to_string(colours) + " colours";
            return false;
        }
        index[c] = static_cast<uint8_t>(palette.size());
        palette.push_back(c);
    }
    // Unused entries get a loud colour that no picture uses, never black.
    while (palette.size() < colours) palette.push_back(rgb(255, 0, 255));

    const uint32_t row_bytes = ((image.width * bits + 31) / 32) * 4;
    const uint32_t data_offset = 14 + 40 + 4 * static_cast<uint32_t>(colours);
    const uint32_t data_size = row_bytes * image.height;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    put32(out, data_offset + data_size);
    put32(out, 0);
    put32(out, data_offset);
    put32(out, 40);
    put32(out, image.width);
    put32(out, image.height);  // positive: bottom-up rows
    put16(out, 1);
    put16(out, bits);
    put32(out, 0);  // BI_RGB
    put32(out, data_size);
    put32(out, 2835);  // 72 dpi
    put32(out, 2835);
    put32(out, 0);  // all 2^bits entries present
    put32(out, 0);
    for (Colour c : palette) {
        out.push_back(c & 0xFF);
        out.push_back((c >> 8) & 0xFF);
        out.push_back((c >> 16) & 0xFF);
        out.push_back(0);
    }
    for (int y = image.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(row_bytes, 0);
        for (int x = 0; x < image.width; ++x) {
            const uint8_t i = index[image.get(x, y)];
            const int bit = x * bits;
            row[bit / 8] |= static_cast<uint8_t>(i << (8 - bits - bit % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    *bytes = std::move(out);
    return true;
}

bool write_file(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        *error = path + ": cannot write";
        return false;
    }
    return true;
}
