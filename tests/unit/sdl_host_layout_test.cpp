// The window's scaling arithmetic and its menu bar, without a display.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/bitmap_font.h"
#include "platform/menu_bar.h"
#include "platform/window_layout.h"

namespace {

constexpr Size CANVAS = {240, 320 + MENU_BAR_HEIGHT};

TEST(WindowScale, LargestWholeFactorThatFitsTheFreeArea) {
    // 1920x1080 with a 40-point panel: 1040 high holds 3 x 332 = 996.
    EXPECT_EQ(window_scale({1920, 1040}, {0, 0}, {1, 1}, CANVAS), 3);
    // The window manager's title bar pushes it below the next factor.
    EXPECT_EQ(window_scale({1920, 1040}, {2, 50}, {1, 1}, CANVAS), 2);
    // Exactly fitting counts; one pixel short does not.
    EXPECT_EQ(window_scale({480, 664}, {0, 0}, {1, 1}, CANVAS), 2);
    EXPECT_EQ(window_scale({480, 663}, {0, 0}, {1, 1}, CANVAS), 1);
    // Smaller than the canvas: still factor 1, never 0.
    EXPECT_EQ(window_scale({100, 100}, {0, 0}, {1, 1}, CANVAS), 1);
    EXPECT_EQ(window_scale({100, 100}, {300, 300}, {1, 1}, CANVAS), 1);
}

TEST(WindowScale, HiDpiCountsOutputPixelsNotPoints) {
    // A doubled display: 1440x900 points are 2880x1800 pixels, factor 5,
    // and the window asks for half as many points as it shows pixels.
    EXPECT_EQ(window_scale({1440, 900}, {0, 0}, {2, 1}, CANVAS), 5);
    const Size points = window_points(5, {2, 1}, CANVAS);
    EXPECT_EQ(points.w, 600);
    EXPECT_EQ(points.h, 830);
    // A 1.5 density rounds the points up so the output is never short.
    const Size odd = window_points(3, {3, 2}, CANVAS);
    EXPECT_EQ(odd.w, 480);
    EXPECT_EQ(odd.h, 664);
    EXPECT_GE(odd.h * 3 / 2, 3 * CANVAS.h);
    EXPECT_EQ(points_to_pixels(101, {3, 2}), 151);
}

TEST(CanvasPlacement, CentredAtAWholeFactorWithBlackAround) {
    // A 1920x1080 fullscreen output: factor 3, letterboxed both ways.
    CanvasPlacement p = place_canvas({1920, 1080}, CANVAS);
    EXPECT_EQ(p.scale, 3);
    EXPECT_EQ(p.x, (1920 - 720) / 2);
    EXPECT_EQ(p.y, (1080 - 996) / 2);
    // The window's own size: no border at all.
    p = place_canvas({480, 664}, CANVAS);
    EXPECT_EQ(p.scale, 2);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
    // Too small: factor 1 from the top-left so the menu bar stays in sight.
    p = place_canvas({200, 300}, CANVAS);
    EXPECT_EQ(p.scale, 1);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
}

TEST(CanvasPlacement, OutputPixelsMapBackToCanvasPixels) {
    const CanvasPlacement p = place_canvas({1920, 1080}, CANVAS);  // 3x at (600, 42)
    int x = 0, y = 0;
    EXPECT_TRUE(output_to_canvas(p, CANVAS, 600, 42, &x, &y));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_TRUE(output_to_canvas(p, CANVAS, 600 + 719, 42 + 995, &x, &y));
    EXPECT_EQ(x, 239);
    EXPECT_EQ(y, 331);
    // The black border just outside, on every side (including the pixel
    // left of the canvas, which plain division would round into column 0).
    EXPECT_FALSE(output_to_canvas(p, CANVAS, 599, 100, &x, &y));
    EXPECT_FALSE(output_to_canvas(p, CANVAS, 600 + 720, 100, &x, &y));
    EXPECT_FALSE(output_to_canvas(p, CANVAS, 700, 41, &x, &y));
    EXPECT_FALSE(output_to_canvas(p, CANVAS, 700, 42 + 996, &x, &y));
}

MenuBar parsed(const char* text) {
    MenuBar bar;
    parse_menu(reinterpret_cast<const uint8_t*>(text), std::strlen(text), &bar);
    return bar;
}

TEST(MenuResource, ReadsLabelAndCommandPerLine) {
    MenuBar bar = parsed("Salir 40001");
    ASSERT_EQ(bar.count, 1);
    EXPECT_STREQ(bar.items[0].label, "Salir");
    EXPECT_EQ(bar.items[0].command, 40001u);

    // Windows line ends, blank lines, labels with spaces, items side by side.
    bar = parsed("\r\n  Nueva partida\t40002\r\n\r\nSalir 40001\r\n");
    ASSERT_EQ(bar.count, 2);
    EXPECT_STREQ(bar.items[0].label, "Nueva partida");
    EXPECT_EQ(bar.items[0].command, 40002u);
    EXPECT_STREQ(bar.items[1].label, "Salir");
    EXPECT_EQ(bar.items[1].left, bar.items[0].right);
}

TEST(MenuResource, SkipsLinesThatAreNoItem) {
    // No command, no label, command 0 or beyond 16 bits, glued digits.
    const MenuBar bar = parsed("Salir\n40001\nCero 0\nGrande 65536\nSalir40001\nOk 7");
    ASSERT_EQ(bar.count, 1);
    EXPECT_STREQ(bar.items[0].label, "Ok");
    EXPECT_EQ(bar.items[0].command, 7u);
    // A long label is cut to its slot; more items than slots are dropped.
    std::string many;
    for (int i = 0; i < MENU_MAX_ITEMS + 3; ++i) many += "Item " + std::to_string(i + 1) + "\n";
    EXPECT_EQ(parsed(many.c_str()).count, MENU_MAX_ITEMS);
    const MenuBar long_label = parsed(std::string(100, 'x').append(" 5").c_str());
    ASSERT_EQ(long_label.count, 1);
    EXPECT_EQ(std::strlen(long_label.items[0].label), size_t(MENU_LABEL_SIZE - 1));
    EXPECT_EQ(parsed("").count, 0);
}

TEST(MenuMouse, AClickIsPressAndReleaseOnTheSameItem) {
    MenuBar bar = parsed("Salir 40001\nOtro 40002");
    const MenuItem& salir = bar.items[0];
    const int mid = (salir.left + salir.right) / 2;
    uint32_t command = 0;

    EXPECT_TRUE(menu_mouse_pressed(&bar, mid, 5));
    EXPECT_TRUE(menu_mouse_released(&bar, mid, 5, &command));
    EXPECT_EQ(command, 40001u);

    // Pressed on one item, released on the other or off the bar: no command.
    menu_mouse_pressed(&bar, mid, 5);
    menu_mouse_released(&bar, bar.items[1].left + 1, 5, &command);
    EXPECT_EQ(command, 0u);
    menu_mouse_pressed(&bar, mid, 5);
    menu_mouse_released(&bar, mid, MENU_BAR_HEIGHT, &command);
    EXPECT_EQ(command, 0u);
    // Pressed on the game area and released on the item: no command either.
    menu_mouse_pressed(&bar, mid, 100);
    menu_mouse_released(&bar, mid, 5, &command);
    EXPECT_EQ(command, 0u);
    // Past the last item the bar is empty.
    EXPECT_EQ(menu_item_at(bar, bar.items[1].right, 5), -1);
    EXPECT_EQ(menu_item_at(bar, salir.left, -1), -1);
}

TEST(MenuDrawing, LabelOnTheBarAndTheItemLightsUnderTheMouse) {
    MenuBar bar = parsed("Salir 40001");
    std::vector<uint32_t> pixels(240 * MENU_BAR_HEIGHT, 0x123456);
    draw_menu_bar(bar, pixels.data(), 240, 240);
    int text = 0, other = 0;
    for (uint32_t p : pixels) {
        if (p == MENU_TEXT_COLOUR)
            ++text;
        else if (p != MENU_BAR_COLOUR && p != MENU_EDGE_COLOUR)
            ++other;
    }
    EXPECT_GT(text, 20);  // five letters' worth of ink
    EXPECT_EQ(other, 0);  // every pixel of the bar is painted
    EXPECT_EQ(pixels[(MENU_BAR_HEIGHT - 1) * 240 + 200], MENU_EDGE_COLOUR);
    EXPECT_LE(bar.items[0].right, 240);
    EXPECT_EQ(bar.items[0].right - bar.items[0].left, text_width("Salir") + 8);

    const int x = bar.items[0].left + 1;
    EXPECT_TRUE(menu_mouse_moved(&bar, x, 1));
    EXPECT_FALSE(menu_mouse_moved(&bar, x + 1, 1));  // same item: no redraw
    draw_menu_bar(bar, pixels.data(), 240, 240);
    EXPECT_EQ(pixels[1 * 240 + x], MENU_HOT_COLOUR);
    menu_mouse_pressed(&bar, x, 1);
    draw_menu_bar(bar, pixels.data(), 240, 240);
    EXPECT_EQ(pixels[1 * 240 + x], MENU_PRESSED_COLOUR);
}

TEST(BitmapFont, ClipsAtEveryEdge) {
    // Text hanging off all four sides of a small picture writes only inside.
    std::vector<uint32_t> pixels(12 * 10 + 12, 0);  // a guard row after it
    for (int y : {-5, 6}) {
        for (int x : {-4, 9}) draw_text(pixels.data(), 12, 12, 10, x, y, "Wg", 0xFFFFFF);
    }
    for (size_t i = 12 * 10; i < pixels.size(); ++i) EXPECT_EQ(pixels[i], 0u);
    EXPECT_EQ(text_width(""), 0);
    EXPECT_EQ(text_width("ab"), 2 * FONT_ADVANCE - 1);
}

}  // namespace
