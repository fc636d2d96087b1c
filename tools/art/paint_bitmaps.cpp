// Paints the game's eleven bitmaps into a directory, or the desktop icon:
//   paint_bitmaps OUT_DIR
//   paint_bitmaps --icon OUT.png
//   paint_bitmaps --web-icons DIR
// tests/unit/art_test.cpp checks the result as the game loads it.
#include <cstdio>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "sheets.h"

namespace {

int paint_icon_file(const std::string& path) {
    std::vector<uint8_t> bytes;
    std::string error;
    if (!encode_png(paint_icon(), &bytes, &error) || !write_file(path, bytes, &error)) {
        std::fprintf(stderr, "paint_bitmaps: %s\n", error.c_str());
        return 1;
    }
    std::printf("painted the icon into %s\n", path.c_str());
    return 0;
}

// The page's icons: 64 (the favicon), 192 and 512 pixels, whole multiples
// of the art.
int paint_web_icons(const std::string& dir) {
    const std::pair<int, const char*> icons[] = {
        {1, "favicon.png"}, {3, "icon-192.png"}, {8, "icon-512.png"}};
    for (const auto& [scale, name] : icons) {
        std::vector<uint8_t> bytes;
        std::string error;
        const std::string path = dir + "/" + name;
        if (!encode_png(paint_icon_at(scale), &bytes, &error) || !write_file(path, bytes, &error)) {
            std::fprintf(stderr, "paint_bitmaps: %s: %s\n", path.c_str(), error.c_str());
            return 1;
        }
    }
    std::printf("painted the page's icons into %s\n", dir.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--icon") return paint_icon_file(argv[2]);
    if (argc == 3 && std::string(argv[1]) == "--web-icons") return paint_web_icons(argv[2]);
    if (argc != 2 || argv[1][0] == '-') {
        std::fprintf(stderr,
                     "usage: paint_bitmaps OUT_DIR | paint_bitmaps --icon OUT.png | "
                     "paint_bitmaps --web-icons DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    std::vector<Sheet> sheets;
    try {
        sheets = paint_all_sheets();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "paint_bitmaps: %s\n", e.what());
        return 1;
    }
    // Encode every sheet before writing any, so a failure leaves the old set whole.
    std::vector<std::vector<uint8_t>> files(sheets.size());
    for (size_t i = 0; i < sheets.size(); ++i) {
        std::string error;
        if (!encode_bmp(sheets[i].image, sheets[i].bits, &files[i], &error)) {
            std::fprintf(stderr, "paint_bitmaps: %s: %s\n", sheets[i].file.c_str(), error.c_str());
            return 1;
        }
    }
    for (size_t i = 0; i < sheets.size(); ++i) {
        std::string error;
        if (!write_file(dir + "/" + sheets[i].file, files[i], &error)) {
            std::fprintf(stderr, "paint_bitmaps: %s\n", error.c_str());
            return 1;
        }
    }
    std::printf("painted %zu bitmaps into %s\n", sheets.size(), dir.c_str());
    return 0;
}
