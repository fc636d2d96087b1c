// SDL's events become the game's messages: keys through the key map, the
// menu bar's clicks, the close button, and controllers through the pad map.
// They wait in a queue that keeps its last places for quitting.
#include <SDL.h>

#include "hosts/common/menu_bar.h"
#include "hosts/sdl/key_map.h"
#include "hosts/sdl/sdl_host.h"
#include "hosts/sdl/sdl_parts.h"
#include "platform/message_queue.h"

namespace {

constexpr int QUEUE_CAPACITY = 256;

MessageQueue<QUEUE_CAPACITY> queue;
bool left_shift_down = false;
bool right_shift_down = false;
HeldKeys held_keys = {};  // Left, Right, Space and Escape by keyboard and pads

void push(const Message& m) {
    queue.push(m);
}

void translate_key(const SDL_KeyboardEvent& k) {
    const bool pressed = k.type == SDL_KEYDOWN;
    const SDL_Scancode code = k.keysym.scancode;
    if (code == SDL_SCANCODE_LSHIFT) left_shift_down = pressed;
    if (code == SDL_SCANCODE_RSHIFT) right_shift_down = pressed;
    KeyEvent e = {};
    e.pressed = pressed;
    e.repeat = k.repeat != 0;
    e.key = k.keysym.sym;
    e.scancode = code;
    e.modifiers = k.keysym.mod;
    e.other_shift_held = (code == SDL_SCANCODE_LSHIFT && right_shift_down) ||
                         (code == SDL_SCANCODE_RSHIFT && left_shift_down);
    const KeyRouting routing = route_key(e);
    if (routing.route == KeyRoute::Post) {
        const Message shared = share_keyboard_key(&held_keys, routing.message, e.repeat);
        if (shared.id != 0) push(shared);
    }
    if (routing.route == KeyRoute::ToggleFullscreen) sdl_toggle_fullscreen();
}

void translate_mouse(const SDL_Event& e) {
    MenuBar* menu = sdl_menu();
    int x = 0, y = 0;
    switch (e.type) {
        case SDL_MOUSEMOTION:
            sdl_canvas_point(e.motion.x, e.motion.y, &x, &y);
            if (menu_mouse_moved(menu, x, y)) sdl_menu_changed();
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button != SDL_BUTTON_LEFT) break;
            sdl_canvas_point(e.button.x, e.button.y, &x, &y);
            if (menu_mouse_pressed(menu, x, y)) sdl_menu_changed();
            break;
        case SDL_MOUSEBUTTONUP: {
            if (e.button.button != SDL_BUTTON_LEFT) break;
            sdl_canvas_point(e.button.x, e.button.y, &x, &y);
            uint32_t command = 0;
            if (menu_mouse_released(menu, x, y, &command)) sdl_menu_changed();
            if (command != 0) push(Message{WM_COMMAND, command, 0});
            break;
        }
        default:
            break;
    }
}

void translate_window_event(const SDL_WindowEvent& e) {
    switch (e.event) {
        case SDL_WINDOWEVENT_CLOSE:
            push(Message{WM_CLOSE, 0, 0});
            break;
        case SDL_WINDOWEVENT_LEAVE:
            if (menu_mouse_moved(sdl_menu(), -1, -1)) sdl_menu_changed();
            break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            sdl_render();
            break;
        default:
            break;
    }
}

void translate(const SDL_Event& e) {
    switch (e.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            translate_key(e.key);
            break;
        case SDL_MOUSEMOTION:
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            translate_mouse(e);
            break;
        case SDL_WINDOWEVENT:
            translate_window_event(e.window);
            break;
        // SDL_QUIT is ignored: the close button arrives as the window's close
        // event and the quit signals are caught by the host itself.
        default: {
            KeyMessages pad = {};
            if (sdl_translate_pad_event(e, &held_keys, &pad)) {
                for (int i = 0; i < pad.count; ++i) push(pad.list[i]);
            }
            break;
        }
    }
}

}  // namespace

bool sdl_take_message(Message* out) {
    if (take_quit_signal()) {
        *out = Message{WM_QUIT, 0, 0};
        return true;
    }
    if (sdl_host_window()) {
        SDL_Event e;
        while (queue.empty() && SDL_PollEvent(&e)) translate(e);
    }
    return queue.pop(out);
}

void sdl_post_message(const Message& m) {
    push(m);
}

void sdl_forget_events() {
    held_keys = {};
    left_shift_down = right_shift_down = false;
    queue.clear();
}
