// SDL's events become the game's messages: keys through the key map, the
// menu bar's clicks, the close button, and controllers through the pad map.
// They wait in a queue that keeps its last places for quitting.
#include <SDL.h>

#include <cstdio>

#include "hosts/common/menu_bar.h"
#include "hosts/common/settings.h"
#include "hosts/sdl/key_map.h"
#include "hosts/sdl/sdl_host.h"
#include "hosts/sdl/sdl_parts.h"
#include "platform/message_queue.h"
#include "platform/output_level.h"
#include "services/present.h"

namespace {

constexpr int QUEUE_CAPACITY = 256;

MessageQueue<QUEUE_CAPACITY> queue;
bool left_shift_down = false;
bool right_shift_down = false;
HeldKeys held_keys = {};  // Left, Right, Space and Escape by keyboard and pads

PauseGate pause_gate;
bool pause_shown = false;
PlayerSettings settings;

void apply_volume() {
    set_output_gain(volume_gain(settings.volume, VOLUME_STEPS, settings.muted));
}

// The window and the sound follow the pause as it starts or ends.
void pause_changed() {
    const bool paused = is_paused(pause_gate);
    if (paused == pause_shown) return;
    pause_shown = paused;
    hold_output(paused);
    sdl_show_paused(paused);
}

// The player's messages pass the pause on their way to the game.
void push(const Message& m) {
    if (pause_admit(&pause_gate, m)) queue.push(m);
    pause_changed();
}

void use_host_key(HostKey key) {
    if (key == HostKey::Pause) {
        toggle_pause(&pause_gate);
        pause_changed();
        return;
    }
    if (!change_settings_for(key, &settings)) return;
    apply_volume();
    save_settings(SETTINGS_FILE, settings);
}

void translate_key(const SDL_KeyboardEvent& k) {
    const bool pressed = k.type == SDL_KEYDOWN;
    const SDL_Scancode code = k.keysym.scancode;
    // The host's own keys never reach the game, pressed or released.
    const HostKey own = sdl_host_key(k.keysym.sym, code, k.keysym.mod);
    if (own != HostKey::None) {
        if (pressed && k.repeat == 0) use_host_key(own);
        return;
    }
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
        // Answering a message elsewhere must not cost a life.
        case SDL_WINDOWEVENT_FOCUS_LOST:
        case SDL_WINDOWEVENT_MINIMIZED:
            pause_for(&pause_gate, PAUSE_BY_FOCUS, true);
            pause_changed();
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            pause_for(&pause_gate, PAUSE_BY_FOCUS, false);
            pause_changed();
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
            if (sdl_pad_start_pressed(e)) {
                use_host_key(HostKey::Pause);
                break;
            }
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

void sdl_wait_until(uint32_t due_ms) {
    if (!queue.empty() || quit_signal_waiting()) return;
    int fd = -1;
    if (sdl_host_window()) {
        // What SDL holds already is read by the next pump; SDL reads the
        // X server's socket dry here, so the wait below sees only new events.
        SDL_PumpEvents();
        if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT)) return;
        fd = sdl_display_fd();
    }
    sdl_sleep_until_tick(due_ms, fd);
}

void sdl_post_message(const Message& m) {
    queue.push(m);
}

void sdl_hold_while_paused() {
    while (is_paused(pause_gate)) {
        if (take_quit_signal()) {
            push(Message{WM_QUIT, 0, 0});
            break;
        }
        SDL_Event e;
        if (SDL_WaitEventTimeout(&e, 50)) translate(e);
        // No frames come while paused: a fullscreen switch is made here,
        // once for all the events that were waiting.
        while (is_paused(pause_gate) && SDL_PollEvent(&e)) translate(e);
        if (sdl_apply_fullscreen_toggle()) sdl_render();
    }
    // The time spent paused is no frame's to catch up on.
    if (take_pause_ended(&pause_gate)) restart_frame_schedule();
}

void sdl_load_settings() {
    if (load_settings(SETTINGS_FILE, &settings) == SettingsRead::Missing) {
        // Said once: the file written now marks the first run as past.
        std::printf("zarvox: %s\n", KEYS_HELP);
        std::fflush(stdout);
        save_settings(SETTINGS_FILE, settings);
    }
    apply_volume();
}

void sdl_forget_events() {
    held_keys = {};
    left_shift_down = right_shift_down = false;
    queue.clear();
    pause_gate = PauseGate{};
    pause_shown = false;
    hold_output(false);
}
