// libFuzzer target: the bitmap reader over arbitrary bytes, and a keyed copy
// of whatever it accepts onto a screen-sized surface. The input is copied to
// a buffer of exactly its size so that any read past the end is caught.
#include <cstdint>
#include <vector>

#include "platform/bmp_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    Surface picture;
    const char* reason = nullptr;
    if (!read_bmp(bytes.data(), bytes.size(), &picture, &reason)) {
        if (!reason || !picture.pixels.empty()) __builtin_trap();
        return 0;
    }
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.pixels.size() != static_cast<size_t>(picture.width) * picture.height)
        __builtin_trap();
    for (uint32_t p : picture.pixels)
        if (p > 0xFFFFFF) __builtin_trap();
    static Surface screen;
    if (screen.pixels.empty()) make_surface(&screen, 240, 320, 0x123456);
    const int32_t w = picture.width < 240 ? picture.width : 240;
    const int32_t h = picture.height < 320 ? picture.height : 320;
    const int32_t x = static_cast<int32_t>(size % 240);
    const int32_t y = static_cast<int32_t>(size % 320);
    copy_keyed(picture, Rect{0, 0, w, h}, &screen, 240 - w, 320 - h);
    copy_keyed(picture, Rect{picture.width - w, picture.height - h, picture.width, picture.height},
               &screen, x, y);
    return 0;
}
