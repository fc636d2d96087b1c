#include "services/templates.h"

SpriteTemplate TemplateTable[TEMPLATE_ROWS];

namespace {

void set_row(int row, int surface, int left, int top, int right, int bottom) {
    TemplateTable[row] = {1, surface, left, top, right, bottom, 0, 0};
}

}  // namespace

void fill_template_table() {
    for (SpriteTemplate& row : TemplateTable) row = {1, 1, 0, 0, 0, 0, 0, 0};
    set_row(0, 1, 0, 0, 240, 320);
    set_row(1, 2, 0, 0, 240, 320);
    set_row(2, 3, 0, 0, 240, 320);
    set_row(3, 4, 0, 0, 16, 16);
    set_row(4, 4, 16, 0, 32, 16);
    set_row(5, 4, 96, 88, 116, 108);
    set_row(6, 5, 0, 0, 240, 320);
    set_row(7, 6, 0, 0, 240, 160);
    set_row(8, 6, 0, 160, 240, 192);
    set_row(9, 4, 0, 32, 32, 64);
    set_row(10, 4, 0, 16, 16, 32);
    set_row(11, 6, 0, 288, 240, 320);
    set_row(12, 4, 64, 16, 80, 32);
    set_row(13, 4, 80, 16, 96, 32);
    set_row(14, 4, 96, 16, 112, 32);
    set_row(15, 4, 32, 16, 48, 32);
    set_row(16, 4, 64, 96, 96, 112);
    set_row(17, 11, 0, 0, 240, 320);
    set_row(18, 6, 0, 576, 240, 632);
    for (int k = 0; k < 10; ++k) {
        set_row(19 + k, 6, 488, 32 * k, 664, 32 * k + 32);  // reward names
        set_row(29 + k, 7, 32 * k, 0, 32 * k + 32, 32);     // reward icons
    }
}
