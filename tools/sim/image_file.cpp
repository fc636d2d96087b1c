#include "sim/image_file.h"

#include <cctype>
#include <cstdio>
#include <vector>

#include "platform/file_io.h"

namespace {

uint32_t pixel(const uint32_t* pixels, int pitch_bytes, int x, int y) {
    return pixels[y * (pitch_bytes / 4) + x] & 0xFFFFFF;
}

void put32be(std::vector<uint8_t>& out, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(v >> s));
}

void put_le(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint32_t crc32(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body) {
    put32be(out, static_cast<uint32_t>(body.size()));
    std::vector<uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), body.begin(), body.end());
    out.insert(out.end(), typed.begin(), typed.end());
    put32be(out, crc32(typed.data(), typed.size()));
}

// A PNG with stored (uncompressed) deflate blocks: simple and exact.
std::vector<uint8_t> encode_png(const uint32_t* pixels, int w, int h, int pitch) {
    std::vector<uint8_t> raw;
    for (int y = 0; y < h; ++y) {
        raw.push_back(0);
        for (int x = 0; x < w; ++x) {
            const uint32_t p = pixel(pixels, pitch, x, y);
            raw.push_back(static_cast<uint8_t>(p >> 16));
            raw.push_back(static_cast<uint8_t>(p >> 8));
            raw.push_back(static_cast<uint8_t>(p));
        }
    }
    std::vector<uint8_t> z = {0x78, 0x01};
    size_t pos = 0;
    do {
        const size_t n = std::min<size_t>(65535, raw.size() - pos);
        const bool last = pos + n == raw.size();
        z.push_back(last ? 1 : 0);
        put_le(z, static_cast<uint32_t>(n), 2);
        put_le(z, static_cast<uint32_t>(~n & 0xFFFF), 2);
        z.insert(z.end(), raw.begin() + static_cast<long>(pos),
                 raw.begin() + static_cast<long>(pos + n));
        pos += n;
    } while (pos < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    put32be(z, (b << 16) | a);

    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    put32be(header, static_cast<uint32_t>(w));
    put32be(header, static_cast<uint32_t>(h));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
    chunk(out, "IHDR", header);
    chunk(out, "IDAT", z);
    chunk(out, "IEND", {});
    return out;
}

std::vector<uint8_t> encode_bmp(const uint32_t* pixels, int w, int h, int pitch) {
    const int row = (w * 3 + 3) & ~3;
    std::vector<uint8_t> out = {'B', 'M'};
    put_le(out, static_cast<uint32_t>(54 + row * h), 4);
    put_le(out, 0, 4);
    put_le(out, 54, 4);
    put_le(out, 40, 4);
    put_le(out, static_cast<uint32_t>(w), 4);
    put_le(out, static_cast<uint32_t>(h), 4);
    put_le(out, 1, 2);
    put_le(out, 24, 2);
    put_le(out, 0, 4);
    put_le(out, static_cast<uint32_t>(row * h), 4);
    put_le(out, 2835, 4);
    put_le(out, 2835, 4);
    put_le(out, 0, 4);
    put_le(out, 0, 4);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) put_le(out, pixel(pixels, pitch, x, y), 3);
        for (int pad = w * 3; pad < row; ++pad) out.push_back(0);
    }
    return out;
}

bool ends_with_ignoring_case(const std::string& s, const char* suffix) {
    const std::string tail(suffix);
    if (s.size() < tail.size()) return false;
    for (size_t i = 0; i < tail.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[s.size() - tail.size() + i])) != tail[i])
            return false;
    return true;
}

}  // namespace

bool write_image(const std::string& path, const uint32_t* pixels, int width, int height,
                 int pitch_bytes) {
    const std::vector<uint8_t> bytes = ends_with_ignoring_case(path, ".bmp")
                                           ? encode_bmp(pixels, width, height, pitch_bytes)
                                           : encode_png(pixels, width, height, pitch_bytes);
    return write_whole_file(path.c_str(), bytes.data(), bytes.size());
}

uint32_t hash_pixels(const uint32_t* pixels, int width, int height, int pitch_bytes) {
    uint32_t h = 2166136261u;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t p = pixel(pixels, pitch_bytes, x, y);
            for (int i = 0; i < 4; ++i) {
                h ^= (p >> (8 * i)) & 0xFF;
                h *= 16777619u;
            }
        }
    }
    return h;
}
