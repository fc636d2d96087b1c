#include "hosts/sdl/key_map.h"

namespace {

constexpr uint32_t VK_RETURN = 0x0D;
constexpr uint32_t VK_F10 = 0x79;

bool is_enter(SDL_Keycode key) {
    return key == SDLK_RETURN || key == SDLK_KP_ENTER;
}

}  // namespace

uint32_t virtual_key_for(SDL_Keycode key, SDL_Scancode scancode) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + (key - SDLK_F1);
    switch (key) {
        case SDLK_LEFT:
            return VK_LEFT;
        case SDLK_RIGHT:
            return VK_RIGHT;
        case SDLK_UP:
            return VK_UP;
        case SDLK_DOWN:
            return VK_DOWN;
        case SDLK_SPACE:
            return VK_SPACE;
        case SDLK_ESCAPE:
            return VK_ESCAPE;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return VK_SHIFT;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return VK_RETURN;
        default:
            break;
    }
    // A non-Latin layout: the letter keys still steer and fire by position.
    if (key >= 0x80 && scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return 'A' + (scancode - SDL_SCANCODE_A);
    return 0;
}

KeyRouting route_key(const KeyEvent& e) {
    const KeyRouting drop = {KeyRoute::Drop, {}};
    const bool alt = (e.modifiers & KMOD_ALT) != 0;

    // The window's own keys never reach the game, pressed or released.
    if (e.key == SDLK_F11 || (alt && is_enter(e.key))) {
        if (e.pressed && !e.repeat) return {KeyRoute::ToggleFullscreen, {}};
        return drop;
    }
    if (alt && e.key == SDLK_F4) {
        if (e.pressed && !e.repeat) return {KeyRoute::Post, {WM_CLOSE, 0, 0}};
        return drop;
    }

    const uint32_t vk = virtual_key_for(e.key, e.scancode);
    if (vk == 0) return drop;
    if (e.pressed) {
        // Keys pressed with Alt, and F10, are system keys the game ignores.
        const bool system = alt || vk == VK_F10;
        return {KeyRoute::Post, {system ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, 0}};
    }
    // Shift stays held while either Shift key is down.
    if (vk == VK_SHIFT && e.other_shift_held) return drop;
    // Every release is a plain key-up, even with Alt held, so that no key
    // stays held in the game after it was let go.
    return {KeyRoute::Post, {WM_KEYUP, vk, 0}};
}

HostKey sdl_host_key(SDL_Keycode key, SDL_Scancode scancode, uint16_t modifiers) {
    if (modifiers & (KMOD_ALT | KMOD_CTRL | KMOD_GUI)) return HostKey::None;
    switch (key) {
        case SDLK_PAUSE:
            return HostKey::Pause;
        case SDLK_MINUS:
        case SDLK_KP_MINUS:
        case SDLK_LEFTBRACKET:
            return HostKey::VolumeDown;
        case SDLK_PLUS:
        case SDLK_EQUALS:
        case SDLK_KP_PLUS:
        case SDLK_RIGHTBRACKET:
            return HostKey::VolumeUp;
        default:
            return host_key_for(virtual_key_for(key, scancode));
    }
}
