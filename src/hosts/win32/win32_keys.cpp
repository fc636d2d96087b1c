// What a Win32 key message becomes for the game. Windows' virtual-key codes
// are the game's own, so a key passes as it is; only the keys the other
// hosts pass are let through, and the window's own keys never reach the
// game. Windows still sees every system key after this (Alt and F10 open
// the menu bar, Alt+F4 closes), as in any Windows program.
#include "hosts/win32/win32_parts.h"

namespace {

bool is_game_key(uint32_t vk) {
    if (vk >= 'A' && vk <= 'Z') return true;
    if (vk >= '0' && vk <= '9') return true;
    if (vk >= VK_F1 && vk <= VK_F12) return true;
    switch (vk) {
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case VK_SPACE:
        case VK_ESCAPE:
        case VK_SHIFT:
        case VK_RETURN:
            return true;
        default:
            return false;
    }
}

}  // namespace

KeyRouting route_win32_key(const Win32Key& k) {
    const KeyRouting drop = {KeyRoute::Drop, {}};
    const bool pressed = k.message == WM_KEYDOWN || k.message == WM_SYSKEYDOWN;
    // Alt+Enter and F11 toggle fullscreen, pressed or released never the
    // game's; Alt+F4 goes to Windows, which closes the window with WM_CLOSE.
    if (k.vk == VK_F11 || (k.alt && k.vk == VK_RETURN)) {
        if (pressed && !k.repeat) return {KeyRoute::ToggleFullscreen, {}};
        return drop;
    }
    if (k.alt && k.vk == VK_F4) return drop;
    if (!is_game_key(k.vk)) return drop;
    if (pressed) {
        // Keys pressed with Alt, and F10, are system keys the game ignores.
        const bool system = k.alt || k.vk == VK_F10;
        const uint32_t id = system ? WM_SYSKEYDOWN : WM_KEYDOWN;
        return {KeyRoute::Post, {id, k.vk, 0}};
    }
    // Shift stays held while either Shift key is down.
    if (k.vk == VK_SHIFT && k.other_shift_held) return drop;
    // Every release is a plain key-up, even with Alt held, so that no key
    // stays held in the game after it was let go.
    return {KeyRoute::Post, {WM_KEYUP, k.vk, 0}};
}
