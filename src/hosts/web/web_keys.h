// What a browser key event becomes for the game window, by the same rules as
// the desktop's keyboard: a key message with the game's virtual-key code,
// the fullscreen toggle (F11, Alt+Enter), or nothing.
#pragma once

#include <cstdint>

#include "platform/messages.h"

// The virtual-key code for a KeyboardEvent's `code` (the key's place) and
// `key` (what the layout puts there), or 0 for keys the game has no code
// for. Letters follow the layout; a letter key whose layout gives no Latin
// letter falls back to its place, so the game still steers on any layout.
uint32_t web_virtual_key(const char* code, const char* key);

struct WebKeyEvent {
    const char* code;
    const char* key;
    bool pressed;  // false: released
    bool repeat;   // an auto-repeat of a held key
    bool alt;
};

enum class WebKeyRoute { Drop, Post, ToggleFullscreen };

struct WebKeyRouting {
    WebKeyRoute route;
    Message message;  // for WebKeyRoute::Post
};

// Shift stays held while either Shift key is down: the keyboard's two Shift
// keys are tracked here across events.
struct WebShiftState {
    bool left, right;
};

WebKeyRouting route_web_key(const WebKeyEvent& event, WebShiftState* shift);
