// The PNG form of a picture: 8-bit RGBA, one zlib stream, no filtering.
// Pure black stays the transparent colour, as on the sheets, so a painter
// that never paints black gets a fully opaque picture and its clear
// surroundings come out with alpha 0.
#include <zlib.h>

#include "image.h"

namespace {

void put32_be(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back((v >> 24) & 0xFF);
    out.push_back((v >> 16) & 0xFF);
    out.push_back((v >> 8) & 0xFF);
    out.push_back(v & 0xFF);
}

void chunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data) {
    put32_be(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    // The CRC covers the type and the data, not the length.
    const uLong crc = crc32(0L, out.data() + start, static_cast<uInt>(out.size() - start));
    put32_be(out, static_cast<uint32_t>(crc));
}

}  // namespace

bool encode_png(const Image& image, std::vector<uint8_t>* bytes, std::string* error) {
    if (image.width <= 0 || image.height <= 0) {
        *error = "empty picture";
        return false;
    }
    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(image.height) * (1 + 4 * static_cast<size_t>(image.width)));
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0);  // filter type None
        for (int x = 0; x < image.width; ++x) {
            const Colour c = image.get(x, y);
            raw.push_back((c >> 16) & 0xFF);
            raw.push_back((c >> 8) & 0xFF);
            raw.push_back(c & 0xFF);
            raw.push_back(c == kClear ? 0 : 255);
        }
    }
    uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(packed_size);
    if (compress2(packed.data(), &packed_size, raw.data(), static_cast<uLong>(raw.size()),
                  Z_BEST_COMPRESSION) != Z_OK) {
        *error = "zlib could not compress the picture";
        return false;
    }
    packed.resize(packed_size);

    std::vector<uint8_t> header;
    put32_be(header, static_cast<uint32_t>(image.width));
    put32_be(header, static_cast<uint32_t>(image.height));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter, no interlace

    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    chunk(out, "IHDR", header);
    chunk(out, "IDAT", packed);
    chunk(out, "IEND", {});
    *bytes = std::move(out);
    return true;
}
