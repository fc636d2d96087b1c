// What an SDL key event becomes for the game window: a key message with the
// game's virtual-key code, the fullscreen toggle (Alt+Enter, F11), the close
// request (Alt+F4), or nothing.
#pragma once

#include <SDL.h>

#include "hosts/common/pause.h"
#include "platform/messages.h"

// The virtual-key code of a key, or 0 for keys the game has no code for.
// Letters, digits and the function keys follow the layout's symbol; a letter
// key whose symbol is no Latin letter falls back to its position.
uint32_t virtual_key_for(SDL_Keycode key, SDL_Scancode scancode);

struct KeyEvent {
    bool pressed;  // false: released
    bool repeat;   // an auto-repeat of a held key
    SDL_Keycode key;
    SDL_Scancode scancode;
    uint16_t modifiers;     // KMOD_* at the time of the event
    bool other_shift_held;  // the Shift key on the other side is still down
};

enum class KeyRoute { Drop, Post, ToggleFullscreen };

struct KeyRouting {
    KeyRoute route;
    Message message;  // for KeyRoute::Post
};

KeyRouting route_key(const KeyEvent& event);

// The host's own keys (pause, mute, volume), pressed without Alt.
HostKey sdl_host_key(SDL_Keycode key, SDL_Scancode scancode, uint16_t modifiers);
