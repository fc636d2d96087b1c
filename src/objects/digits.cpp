#include "objects/digits.h"

GameObject DigitObjects[10];

void init_digits() {
    for (int d = 0; d < 10; ++d) {
        GameObject& o = DigitObjects[d];
        clear_object(o);
        o.visible = 1;
        const int column = d < 5 ? d : d - 5;
        const int top = d < 5 ? 160 : 176;
        o.block = {0, SURFACE_CHARA, 16 * column, top, 16 * column + 16, top + 16, 0, 0};
    }
}

void draw_number(Fixed9 x, Fixed9 y, int value) {
    if (value < 0) return;
    // Three digit places are all there are: larger values show as 999.
    if (value > 999) value = 999;
    const int digits = value >= 100 ? 3 : value >= 10 ? 2 : 1;
    const int places[3] = {value % 10, (value / 10) % 10, value / 100};
    for (int i = 0; i < digits; ++i) {
        GameObject& glyph = DigitObjects[places[i]];
        glyph.x = x + px((digits - 1 - i) * 11);
        glyph.y = y;
        draw_object(glyph);
    }
}
