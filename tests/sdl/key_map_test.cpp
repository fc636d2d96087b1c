// What key events become for the game window.
#include "hosts/sdl/key_map.h"

#include <gtest/gtest.h>

namespace {

KeyEvent key(SDL_Keycode sym, bool pressed, uint16_t mod = KMOD_NONE, bool repeat = false) {
    KeyEvent e = {};
    e.pressed = pressed;
    e.repeat = repeat;
    e.key = sym;
    e.scancode = SDL_GetScancodeFromKey(sym);
    e.modifiers = mod;
    return e;
}

void expect_post(const KeyRouting& r, uint32_t message, uint32_t vk) {
    ASSERT_EQ(r.route, KeyRoute::Post);
    EXPECT_EQ(r.message.id, message);
    EXPECT_EQ(r.message.wparam, vk);
}

TEST(KeyMap, TheGamesKeysGetTheirVirtualKeyCodes) {
    const struct {
        SDL_Keycode sym;
        uint32_t vk;
    } keys[] = {
        {SDLK_LEFT, VK_LEFT},    {SDLK_RIGHT, VK_RIGHT},   {SDLK_UP, VK_UP},
        {SDLK_DOWN, VK_DOWN},    {SDLK_SPACE, VK_SPACE},   {SDLK_x, VK_X},
        {SDLK_z, VK_Z},          {SDLK_s, VK_S},           {SDLK_a, VK_A},
        {SDLK_LSHIFT, VK_SHIFT}, {SDLK_RSHIFT, VK_SHIFT},  {SDLK_F1, VK_F1},
        {SDLK_F2, VK_F2},        {SDLK_ESCAPE, VK_ESCAPE}, {SDLK_F12, 0x7B},
    };
    for (const auto& k : keys) {
        SCOPED_TRACE(SDL_GetKeyName(k.sym));
        expect_post(route_key(key(k.sym, true)), WM_KEYDOWN, k.vk);
        expect_post(route_key(key(k.sym, true, KMOD_NONE, true)), WM_KEYDOWN, k.vk);
        expect_post(route_key(key(k.sym, false)), WM_KEYUP, k.vk);
    }
    // Keys the game has no code for are dropped.
    EXPECT_EQ(route_key(key(SDLK_LCTRL, true)).route, KeyRoute::Drop);
    EXPECT_EQ(route_key(key(SDLK_KP_5, true)).route, KeyRoute::Drop);
}

TEST(KeyMap, LettersFollowTheLayoutAndFallBackToPosition) {
    // An AZERTY Z key reports the symbol 'w': the game sees W, as it would.
    KeyEvent e = key(SDLK_w, true);
    e.scancode = SDL_SCANCODE_Z;
    expect_post(route_key(e), WM_KEYDOWN, 'W');
    // A Cyrillic layout's symbol is no Latin letter: the position decides.
    e.key = 0x44F;  // U+044F on the Z key
    expect_post(route_key(e), WM_KEYDOWN, VK_Z);
    // Only letter positions fall back.
    e.scancode = SDL_SCANCODE_SEMICOLON;
    EXPECT_EQ(route_key(e).route, KeyRoute::Drop);
}

TEST(KeyMap, FullscreenKeysNeverReachTheGame) {
    EXPECT_EQ(route_key(key(SDLK_F11, true)).route, KeyRoute::ToggleFullscreen);
    EXPECT_EQ(route_key(key(SDLK_RETURN, true, KMOD_LALT)).route, KeyRoute::ToggleFullscreen);
    EXPECT_EQ(route_key(key(SDLK_KP_ENTER, true, KMOD_RALT)).route, KeyRoute::ToggleFullscreen);
    // Holding them does not flicker between modes; letting go is silent.
    EXPECT_EQ(route_key(key(SDLK_F11, true, KMOD_NONE, true)).route, KeyRoute::Drop);
    EXPECT_EQ(route_key(key(SDLK_F11, false)).route, KeyRoute::Drop);
    EXPECT_EQ(route_key(key(SDLK_RETURN, false, KMOD_LALT)).route, KeyRoute::Drop);
    EXPECT_EQ(route_key(key(SDLK_F11, true, KMOD_SHIFT)).route, KeyRoute::ToggleFullscreen);
}

TEST(KeyMap, AltKeysAreSystemKeysButReleasesAlwaysArrive) {
    expect_post(route_key(key(SDLK_SPACE, true, KMOD_LALT)), WM_SYSKEYDOWN, VK_SPACE);
    expect_post(route_key(key(SDLK_F10, true)), WM_SYSKEYDOWN, 0x79);
    // A key held before Alt went down is still let go.
    expect_post(route_key(key(SDLK_LEFT, false, KMOD_LALT)), WM_KEYUP, VK_LEFT);
    // Alt+F4 asks the window to close, once per press.
    expect_post(route_key(key(SDLK_F4, true, KMOD_LALT)), WM_CLOSE, 0);
    EXPECT_EQ(route_key(key(SDLK_F4, true, KMOD_LALT, true)).route, KeyRoute::Drop);
    // Plain Enter is an ordinary key.
    expect_post(route_key(key(SDLK_RETURN, true)), WM_KEYDOWN, 0x0D);
}

}  // namespace
