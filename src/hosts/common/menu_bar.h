// The window's menu bar: command items read from the menu resource, laid out
// left to right in a strip above the game area, drawn with the built-in font
// and clicked with the mouse. Coordinates are the bar's own logical pixels.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int MENU_BAR_HEIGHT = 12;
constexpr int MENU_MAX_ITEMS = 8;
constexpr int MENU_LABEL_SIZE = 32;

constexpr uint32_t MENU_BAR_COLOUR = 0xF0F0F0;
constexpr uint32_t MENU_TEXT_COLOUR = 0x000000;
constexpr uint32_t MENU_HOT_COLOUR = 0xCCE8FF;
constexpr uint32_t MENU_PRESSED_COLOUR = 0x99D1FF;
constexpr uint32_t MENU_EDGE_COLOUR = 0xA0A0A0;

struct MenuItem {
    char label[MENU_LABEL_SIZE];
    uint32_t command;
    int left, right;  // right exclusive
};

struct MenuBar {
    MenuItem items[MENU_MAX_ITEMS];
    int count = 0;
    int hot = -1;      // the item under the mouse
    int pressed = -1;  // the item the left button went down on
};

// Reads a menu resource, one item a line: the label, then its command number
// ("Salir 40001"). Lines without a label or a command in 1..65535 are
// skipped; labels longer than the slot are cut. Returns the item count.
int parse_menu(const uint8_t* bytes, size_t size, MenuBar* bar);
// Reads the game's own menu (the built-in resource MENU/MENU_MAIN) into
// `bar`, as every host with a menu bar does; no items when it is missing.
// Returns the item count.
int load_game_menu(MenuBar* bar);

// The item at (x, y), or -1.
int menu_item_at(const MenuBar& bar, int x, int y);

// Mouse tracking. Each returns true when the bar must be drawn again. A click
// is a press and a release on the same item; `command` receives its command,
// or 0 when the release is no click.
bool menu_mouse_moved(MenuBar* bar, int x, int y);
bool menu_mouse_pressed(MenuBar* bar, int x, int y);
bool menu_mouse_released(MenuBar* bar, int x, int y, uint32_t* command);

// Draws the bar across a width by MENU_BAR_HEIGHT picture.
void draw_menu_bar(const MenuBar& bar, uint32_t* pixels, int pitch_pixels, int width);
