// The menu every host with a menu bar shows: read from the game's own
// resource, and empty rather than broken when the resource is missing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "hosts/common/bitmap_font.h"
#include "hosts/common/menu_bar.h"
#include "platform/messages.h"
#include "platform/resources.h"

namespace {

TEST(GameMenu, ComesFromTheBuiltInResource) {
    use_embedded_resources();
    MenuBar bar;
    bar.hot = 0;
    ASSERT_EQ(load_game_menu(&bar), 1);
    EXPECT_STREQ(bar.items[0].label, "Salir");
    EXPECT_EQ(bar.items[0].command, MENU_COMMAND_SALIR);
    EXPECT_EQ(bar.hot, -1);
}

TEST(GameMenu, IsEmptyWithoutTheResource) {
    static const uint8_t other[] = {'x'};
    const ResourceEntry table[] = {{"BITMAP", "MENU_MAIN", other, sizeof other}};
    use_resource_table(table, 1);
    MenuBar bar;
    bar.count = 3;
    EXPECT_EQ(load_game_menu(&bar), 0);
    EXPECT_EQ(bar.count, 0);
    use_embedded_resources();
}

// Items are laid out by the measured width of their labels: it must end at
// the last column the text inks (a character without a glyph is a box).
TEST(GameMenu, LabelsAreMeasuredAsDrawn) {
    for (const char* text : {"\x01", "Salir\x01"}) {
        std::vector<uint32_t> pixels(100 * FONT_GLYPH_HEIGHT, 0);
        draw_text(pixels.data(), 100, 100, FONT_GLYPH_HEIGHT, 0, 0, text, 0xFFFFFF);
        int inked = 0;
        for (size_t i = 0; i < pixels.size(); ++i)
            if (pixels[i] != 0) inked = std::max(inked, static_cast<int>(i % 100) + 1);
        EXPECT_EQ(text_width(text), inked) << text;
    }
}

}  // namespace
