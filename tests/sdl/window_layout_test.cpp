// The window's scaling arithmetic, its menu bar and the bar's font, without a display.
#include "hosts/sdl/window_layout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "hosts/common/bitmap_font.h"
#include "hosts/common/menu_bar.h"

namespace {

constexpr Size CANVAS = {240, 320 + MENU_BAR_HEIGHT};

TEST(WindowScale, LargestWholeFactorThatFitsTheFreeArea) {
    // 1920x1080 with a 40-point panel: 1040 high holds 3 x 332 = 996, but
    // not once the window manager's title bar is counted.
    EXPECT_EQ(window_scale({1920, 1040}, {0, 0}, {1, 1}, CANVAS), 3);
    EXPECT_EQ(window_scale({1920, 1040}, {2, 50}, {1, 1}, CANVAS), 2);
    EXPECT_EQ(window_scale({480, 664}, {0, 0}, {1, 1}, CANVAS), 2);
    EXPECT_EQ(window_scale({480, 663}, {0, 0}, {1, 1}, CANVAS), 1);
    // Smaller than the canvas: still factor 1, never 0.
    EXPECT_EQ(window_scale({100, 100}, {300, 300}, {1, 1}, CANVAS), 1);
}

TEST(WindowScale, HiDpiCountsOutputPixelsNotPoints) {
    // 1440x900 points doubled are 2880x1800 pixels: factor 5, in half as
    // many points as the window shows pixels.
    EXPECT_EQ(window_scale({1440, 900}, {0, 0}, {2, 1}, CANVAS), 5);
    const Size points = window_points(5, {2, 1}, CANVAS);
    EXPECT_EQ(points.w, 600);
    EXPECT_EQ(points.h, 830);
    // A 1.5 density rounds the points up so the output is never short.
    const Size odd = window_points(3, {3, 2}, CANVAS);
    EXPECT_EQ(odd.w, 480);
    EXPECT_EQ(odd.h, 664);
    EXPECT_EQ(points_to_pixels(101, {3, 2}), 151);
}

TEST(CanvasPlacement, CentredAtAWholeFactorAndMappedBack) {
    CanvasPlacement p = place_canvas({1920, 1080}, CANVAS);  // fullscreen
    EXPECT_EQ(p.scale, 3);
    EXPECT_EQ(p.x, 600);
    EXPECT_EQ(p.y, 42);
    int x = 0, y = 0;
    EXPECT_TRUE(output_to_canvas(p, CANVAS, 600 + 719, 42 + 995, &x, &y));
    EXPECT_EQ(x, 239);
    EXPECT_EQ(y, 331);
    // The border just outside on every side, including the pixel left of
    // the canvas that plain division would round into column 0.
    EXPECT_FALSE(output_to_canvas(p, CANVAS, 599, 100, &x, &y));
    EXPECT_EQ(x, -1);
    // Outside, points map to the canvas pixel they would be, rounded down.
    EXPECT_FALSE(output_to_canvas(p, CANVAS, 597, 100, &x, &y));
    EXPECT_EQ(x, -1);
    EXPECT_FALSE(output_to_canvas(p, CANVAS, 600 + 720, 100, &x, &y));
    EXPECT_FALSE(output_to_canvas(p, CANVAS, 700, 41, &x, &y));
    EXPECT_FALSE(output_to_canvas(p, CANVAS, 700, 42 + 996, &x, &y));
    // Too small: factor 1 from the top-left so the menu bar stays in sight.
    p = place_canvas({200, 300}, CANVAS);
    EXPECT_EQ(p.scale, 1);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
}

MenuBar parsed(const std::string& text) {
    MenuBar bar;
    parse_menu(reinterpret_cast<const uint8_t*>(text.data()), text.size(), &bar);
    return bar;
}

TEST(MenuResource, ReadsLabelAndCommandPerLineAndSkipsTheRest) {
    MenuBar bar = parsed("\r\n  Nueva partida\t40002\r\n\r\nSalir 40001\r\n");
    ASSERT_EQ(bar.count, 2);
    EXPECT_STREQ(bar.items[0].label, "Nueva partida");
    EXPECT_EQ(bar.items[0].command, 40002u);
    EXPECT_STREQ(bar.items[1].label, "Salir");
    EXPECT_EQ(bar.items[1].command, 40001u);
    EXPECT_EQ(bar.items[1].left, bar.items[0].right);

    // No command, no label, command 0 or beyond 16 bits, glued digits.
    bar = parsed("Salir\n40001\nCero 0\nGrande 65536\nSalir40001\nOk 65535");
    ASSERT_EQ(bar.count, 1);
    EXPECT_STREQ(bar.items[0].label, "Ok");
    EXPECT_EQ(bar.items[0].command, 65535u);
    // Long labels are cut to their slot; items beyond the slots dropped.
    std::string many;
    for (int i = 0; i < MENU_MAX_ITEMS + 3; ++i) many += "Item 1\n";
    EXPECT_EQ(parsed(many).count, MENU_MAX_ITEMS);
    bar = parsed(std::string(100, 'x') + " 5");
    EXPECT_EQ(std::strlen(bar.items[0].label), size_t(MENU_LABEL_SIZE - 1));
}

TEST(MenuMouse, AClickIsPressAndReleaseOnTheSameItem) {
    MenuBar bar = parsed("Salir 40001\nOtro 40002");
    const int mid = (bar.items[0].left + bar.items[0].right) / 2;
    uint32_t command = 0;
    menu_mouse_pressed(&bar, mid, 5);
    menu_mouse_released(&bar, mid, 5, &command);
    EXPECT_EQ(command, 40001u);
    // Released on the other item or off the bar, or pressed on the game
    // area and released on the item: no command.
    const int ends[][4] = {
        {mid, 5, bar.items[1].left + 1, 5}, {mid, 5, mid, MENU_BAR_HEIGHT}, {mid, 100, mid, 5}};
    for (const auto& e : ends) {
        menu_mouse_pressed(&bar, e[0], e[1]);
        menu_mouse_released(&bar, e[2], e[3], &command);
        EXPECT_EQ(command, 0u);
    }
    EXPECT_EQ(menu_item_at(bar, bar.items[1].right, 5), -1);
}

TEST(MenuDrawing, LabelOnTheBarAndTheItemLightsUnderTheMouse) {
    MenuBar bar = parsed("Salir 40001");
    std::vector<uint32_t> pixels(240 * MENU_BAR_HEIGHT, 0x123456);
    draw_menu_bar(bar, pixels.data(), 240, 240);
    int ink = 0, unpainted = 0;
    for (uint32_t p : pixels) {
        if (p == MENU_TEXT_COLOUR) ++ink;
        if (p == 0x123456) ++unpainted;
    }
    EXPECT_GT(ink, 20);  // five letters' worth
    EXPECT_EQ(unpainted, 0);

    const int x = bar.items[0].left + 1;
    EXPECT_TRUE(menu_mouse_moved(&bar, x, 1));
    EXPECT_FALSE(menu_mouse_moved(&bar, x + 1, 1));  // same item: no redraw
    draw_menu_bar(bar, pixels.data(), 240, 240);
    EXPECT_EQ(pixels[240 + x], MENU_HOT_COLOUR);
    menu_mouse_pressed(&bar, x, 1);
    draw_menu_bar(bar, pixels.data(), 240, 240);
    EXPECT_EQ(pixels[240 + x], MENU_PRESSED_COLOUR);
}

TEST(BitmapFont, ClipsAtEveryEdgeAndMeasuresTheInkOnly) {
    // Glyphs and the gaps between them, none after the last: text centred
    // by its width is centred on its ink.
    EXPECT_EQ(text_width("ab"), 2 * FONT_GLYPH_WIDTH + 1);
    EXPECT_EQ(text_width(""), 0);
    // Text hanging off all four sides writes nothing past the picture.
    std::vector<uint32_t> pixels(12 * 10 + 12, 0);  // a guard row after it
    for (int y : {-5, 6}) {
        for (int x : {-4, 9}) draw_text(pixels.data(), 12, 12, 10, x, y, "Wg", 0xFFFFFF);
    }
    for (size_t i = 12 * 10; i < pixels.size(); ++i) EXPECT_EQ(pixels[i], 0u);
}

}  // namespace
