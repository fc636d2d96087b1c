// The one list of sound effects, tunes and bitmaps: each row's file is built
// in, each file built in has its row, and the slots stay as the game has them.
#include "platform/resource_list.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

#include "platform/display.h"
#include "platform/resources.h"
#include "platform/sound.h"

namespace {

// The designed slot numbers the trace and the templates rely on.
static_assert(SOUND_SHOT == 0 && SOUND_BOM == 1 && SOUND_LASER == 2);
static_assert(SURFACE_BACKGROUND_1 == 1 && SURFACE_CHARA == 4 && SURFACE_MAKER_LOGO == 8);
static_assert(SURFACE_SHUTTER == 10 && SURFACE_END == 11);

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// The names of the built-in resources of one type.
std::set<std::string> built_in(const char* type) {
    use_embedded_resources();
    size_t count = 0;
    const ResourceEntry* table = resource_table(&count);
    std::set<std::string> names;
    for (size_t i = 0; i < count; ++i)
        if (std::string(table[i].type) == type) names.insert(table[i].name);
    return names;
}

TEST(ResourceList, EveryRowHasItsFileAndEveryFileItsRow) {
    std::set<std::string> waves, tunes, bitmaps;
    for (const NamedSlot& row : SOUND_EFFECTS) waves.insert(upper(row.name));
    for (const char* row : TUNES) tunes.insert(upper(row));
    for (const NamedSlot& row : STARTUP_BITMAPS) bitmaps.insert(upper(row.name));
    EXPECT_EQ(waves, built_in("WAVE"));
    EXPECT_EQ(tunes, built_in("VBTUNE"));
    EXPECT_EQ(bitmaps, built_in("BITMAP"));
}

TEST(ResourceList, SlotsAreDistinctAndInRange) {
    std::set<int> sound_slots, surface_slots;
    for (const NamedSlot& row : SOUND_EFFECTS) {
        EXPECT_TRUE(row.slot >= 0 && row.slot < SOUND_SLOTS) << row.name;
        EXPECT_TRUE(sound_slots.insert(row.slot).second) << row.name;
    }
    for (const NamedSlot& row : STARTUP_BITMAPS) {
        EXPECT_TRUE(row.slot >= 1 && row.slot < SURFACE_SLOTS) << row.name;
        EXPECT_TRUE(surface_slots.insert(row.slot).second) << row.name;
    }
}

}  // namespace
