// The menu every host with a menu bar shows: read from the game's own
// resource, and empty rather than broken when the resource is missing.
#include <gtest/gtest.h>

#include <cstring>

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

}  // namespace
