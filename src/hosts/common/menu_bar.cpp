#include "hosts/common/menu_bar.h"

#include "hosts/common/bitmap_font.h"
#include "platform/resources.h"

namespace {

constexpr int ITEM_PADDING = 4;  // either side of an item's label
constexpr int FIRST_ITEM_LEFT = 1;
constexpr int TEXT_TOP = 2;

bool is_space(uint8_t c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// One line [begin, end) into an item; false when it holds none.
bool parse_line(const uint8_t* begin, const uint8_t* end, MenuItem* item) {
    while (begin < end && is_space(*begin)) ++begin;
    while (end > begin && is_space(end[-1])) --end;
    const uint8_t* number = end;
    while (number > begin && number[-1] >= '0' && number[-1] <= '9') --number;
    if (number == end || end - number > 5) return false;
    uint32_t command = 0;
    for (const uint8_t* p = number; p < end; ++p) command = command * 10 + (*p - '0');
    if (command == 0 || command > 0xFFFF) return false;
    const uint8_t* label_end = number;
    if (label_end == begin || !is_space(label_end[-1])) return false;
    while (label_end > begin && is_space(label_end[-1])) --label_end;
    if (label_end == begin) return false;
    int n = 0;
    for (const uint8_t* p = begin; p < label_end && n < MENU_LABEL_SIZE - 1; ++p)
        item->label[n++] = static_cast<char>(*p);
    item->label[n] = '\0';
    item->command = command;
    return true;
}

}  // namespace

int parse_menu(const uint8_t* bytes, size_t size, MenuBar* bar) {
    bar->count = 0;
    bar->hot = -1;
    bar->pressed = -1;
    const uint8_t* end = bytes + size;
    int left = FIRST_ITEM_LEFT;
    for (const uint8_t* line = bytes; line < end && bar->count < MENU_MAX_ITEMS;) {
        const uint8_t* stop = line;
        while (stop < end && *stop != '\n') ++stop;
        MenuItem& item = bar->items[bar->count];
        if (parse_line(line, stop, &item)) {
            item.left = left;
            item.right = left + ITEM_PADDING + text_width(item.label) + ITEM_PADDING;
            left = item.right;
            ++bar->count;
        }
        line = stop + 1;
    }
    return bar->count;
}

int load_game_menu(MenuBar* bar) {
    ResourceData data;
    if (find_resource("MENU", "MENU_MAIN", &data)) return parse_menu(data.bytes, data.size, bar);
    bar->count = 0;
    return 0;
}

int menu_item_at(const MenuBar& bar, int x, int y) {
    if (y < 0 || y >= MENU_BAR_HEIGHT) return -1;
    for (int i = 0; i < bar.count; ++i) {
        if (x >= bar.items[i].left && x < bar.items[i].right) return i;
    }
    return -1;
}

bool menu_mouse_moved(MenuBar* bar, int x, int y) {
    const int hot = menu_item_at(*bar, x, y);
    if (hot == bar->hot) return false;
    bar->hot = hot;
    return true;
}

bool menu_mouse_pressed(MenuBar* bar, int x, int y) {
    const int item = menu_item_at(*bar, x, y);
    const bool changed = item != bar->pressed || item != bar->hot;
    bar->pressed = item;
    bar->hot = item;
    return changed;
}

bool menu_mouse_released(MenuBar* bar, int x, int y, uint32_t* command) {
    const int item = menu_item_at(*bar, x, y);
    *command = (item >= 0 && item == bar->pressed) ? bar->items[item].command : 0;
    const bool changed = bar->pressed != -1 || bar->hot != item;
    bar->pressed = -1;
    bar->hot = item;
    return changed;
}

void draw_menu_bar(const MenuBar& bar, uint32_t* pixels, int pitch_pixels, int width) {
    for (int y = 0; y < MENU_BAR_HEIGHT; ++y) {
        const uint32_t colour = y == MENU_BAR_HEIGHT - 1 ? MENU_EDGE_COLOUR : MENU_BAR_COLOUR;
        for (int x = 0; x < width; ++x) pixels[y * pitch_pixels + x] = colour;
    }
    for (int i = 0; i < bar.count; ++i) {
        const MenuItem& item = bar.items[i];
        // Held down: pressed while the mouse stays on it. Otherwise: hot.
        const bool held = bar.pressed >= 0;
        if (i == bar.hot && (!held || i == bar.pressed)) {
            const uint32_t fill = held ? MENU_PRESSED_COLOUR : MENU_HOT_COLOUR;
            for (int y = 0; y < MENU_BAR_HEIGHT - 1; ++y) {
                for (int x = item.left; x < item.right && x < width; ++x)
                    pixels[y * pitch_pixels + x] = fill;
            }
        }
        draw_text(pixels, pitch_pixels, width, MENU_BAR_HEIGHT - 1, item.left + ITEM_PADDING,
                  TEXT_TOP, item.label, MENU_TEXT_COLOUR);
    }
}
