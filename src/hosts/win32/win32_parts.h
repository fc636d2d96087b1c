// How the Win32 host's files share the work: the clock, the window and its
// picture, the keys, the controllers and the sound card. Only the host's own
// files include this.
#pragma once

#include <cstdint>

#include "hosts/common/pad_map.h"
#include "platform/host.h"
#include "platform/messages.h"

// After the game's own message names: windows.h defines the same names as
// macros of the same values, which would break their definitions.
#include <windows.h>

// A function of a system DLL that older Windows may lack, or nullptr.
template <typename Function>
Function system_function(HMODULE module, const char* name) {
    return module
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
               : nullptr;
}

// The clock (win32_host.cpp).
uint32_t win32_ticks_ms();
void win32_sleep_ms(uint32_t ms);
int win32_local_milliseconds();
bool take_quit_signal();

// The window (win32_window.cpp).
bool win32_create_window(const char* caption, int width, int height);
void win32_show_frame(const uint32_t* pixels, int width, int height, int pitch);
void win32_message_box(const char* text, const char* caption);
bool win32_take_message(Message* out);
void win32_post_message(const Message& m);
// While the player or the focus holds a pause, the game waits here.
void win32_hold_while_paused();
void win32_destroy_window();

// Keys (win32_keys.cpp): what a Win32 key message becomes for the game.
enum class KeyRoute { Drop, Post, ToggleFullscreen };
struct KeyRouting {
    KeyRoute route;
    Message message;  // for KeyRoute::Post
};
struct Win32Key {
    uint32_t message;       // WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN or WM_SYSKEYUP
    uint32_t vk;            // the virtual-key code as Windows gives it
    bool repeat;            // an auto-repeat of a held key (bit 30 of lParam)
    bool alt;               // Alt held (bit 29 of lParam)
    bool other_shift_held;  // on a Shift release: the other Shift is still down
};
KeyRouting route_win32_key(const Win32Key& key);

// Controllers (win32_pad.cpp): XInput polled at every pump; a pad plugged
// in later is found within a second.
void win32_poll_pads(HeldKeys* held, void (*push)(const Message&), void (*start_pressed)());
void win32_forget_pads(HeldKeys* held, void (*push)(const Message&));

// The keys, for the first run's line.
constexpr const char* KEYS_HELP =
    "arrows move, Space fires, Escape quits, P pauses, M mutes, - and + set the volume, F11 "
    "toggles fullscreen";

// The sound card (win32_audio.cpp).
bool win32_open_audio(int rate, int frames, AudioCallback callback, void* user, char* reason,
                      int reason_size);
void win32_lock_audio();
void win32_unlock_audio();
void win32_close_audio();
