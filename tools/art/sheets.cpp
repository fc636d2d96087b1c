// The list of sheets the game loads, and what they share.
#include "sheets.h"

const char* const kRewardNames[10] = {"taiko drum", "flour",       "condensed milk", "an adult",
                                      "mushroom",   "straw doll",  "trophy",         "spittoon",
                                      "crab",       "space beauty"};

std::vector<Sheet> paint_all_sheets() {
    return {
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
}
