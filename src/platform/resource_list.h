// Every sound effect, tune and bitmap the game loads by name, one row each.
// A file under resources/<kind>/ is built into the program by its name (see
// cmake/EmbeddedResources.cmake); a row here is what loads it. Adding a
// sound, a tune or a bitmap is its file and its row (docs/architecture.md).
#pragma once

#include <string_view>

struct NamedSlot {
    const char* name;  // the file's stem under resources/<kind>/, any case
    int slot;
};

// resources/wave/<name>.wav, each loaded into its sound slot at start-up, in
// slot order; play_sound(slot) plays it.
inline constexpr NamedSlot SOUND_EFFECTS[] = {
    {"shot", 0},   // the ship fires
    {"bom", 1},    // something is hit
    {"laser", 2},  // the boss's beam
};

// resources/vbtune/<name>.vbt, each loaded when the game switches to it.
inline constexpr const char* TUNES[] = {
    "VBTUNE_TITLE",   // the title
    "VBTUNE_BATTLE",  // a stage
    "VBTUNE_BOSS",    // the boss
    "VBTUNE_END1",    // a stage or the boss beaten
    "VBTUNE_END2",    // the ship lost
    "VBTUNE_ENDING",  // the story's end
};

// resources/bitmap/<name>.bmp, each loaded into its surface slot at start-up,
// in this order; slot 0 stays empty.
inline constexpr NamedSlot STARTUP_BITMAPS[] = {
    {"background", 1},   // the first stage's field
    {"background2", 2},  // the second's
    {"background3", 3},  // the third's
    {"chara01", 4},      // small sprites and the digit glyphs
    {"title", 5},        // the title screen
    {"object", 6},       // larger pictures, banners, reward names
    {"gohobi", 7},       // the ten reward icons
    {"QUELPIN", 8},      // the maker's logo
    {"vorbel", 9},       // the tune library's logo
    {"shutter01", 10},   // the screen-transition pictures
    {"end", 11},         // the ending's picture
};

// The slot of a sound effect or bitmap, and the name of a tune, by the name
// in its row: a name with no row does not compile.
consteval int sound_slot(std::string_view name) {
    for (const NamedSlot& row : SOUND_EFFECTS)
        if (name == row.name) return row.slot;
    throw "no such sound effect in SOUND_EFFECTS";
}
consteval int bitmap_slot(std::string_view name) {
    for (const NamedSlot& row : STARTUP_BITMAPS)
        if (name == row.name) return row.slot;
    throw "no such bitmap in STARTUP_BITMAPS";
}
consteval const char* tune_name(std::string_view name) {
    for (const char* row : TUNES)
        if (name == row) return row;
    throw "no such tune in TUNES";
}
