// Paints the game's eleven bitmaps into a directory:
//   paint_bitmaps OUT_DIR
// tests/unit/art_test.cpp checks the result as the game loads it.
#include <cstdio>
#include <string>
#include <vector>

#include "sheets.h"

int main(int argc, char** argv) {
    if (argc != 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: paint_bitmaps OUT_DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    const std::vector<Sheet> sheets = {
        {"background.bmp", 8, paint_background(1)},
        {"background2.bmp", 8, paint_background(2)},
        {"background3.bmp", 8, paint_background(3)},
        {"chara01.bmp", 8, paint_chara()},
        {"title.bmp", 8, paint_title()},
        {"object.bmp", 8, paint_object()},
        {"gohobi.bmp", 4, paint_gohobi()},
        {"quelpin.bmp", 8, paint_maker_logo()},
        {"vorbel.bmp", 1, paint_library_logo()},
        {"shutter01.bmp", 8, paint_shutter()},
        {"end.bmp", 8, paint_end()},
    };
    bool ok = true;
    for (const Sheet& sheet : sheets) {
        std::string error;
        if (!write_bmp(dir + "/" + sheet.file, sheet.image, sheet.bits, &error)) {
            std::fprintf(stderr, "paint_bitmaps: %s\n", error.c_str());
            ok = false;
        }
    }
    if (!ok) return 1;
    std::printf("painted %zu bitmaps into %s\n", sheets.size(), dir.c_str());
    return 0;
}
