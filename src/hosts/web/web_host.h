// The browser's host: a canvas on the page with the menu bar above the game
// area, the page's keyboard, touch buttons and game controllers, Web Audio,
// and a clock whose 1 ms sleeps yield to the page. Built with emscripten;
// the game's blocking loops run unchanged under Asyncify.
#pragma once

#include <cstdint>

#include "hosts/common/pause.h"
#include "platform/host.h"
#include "replay/script_feed.h"

// How the page was asked to run (its query parameters). The defaults are the
// plain game; the rest serve automated checks.
struct WebOptions {
    // What reads of the local time give until the script's first time line
    // applies; -1: the real local time.
    int ms_of_second = -1;
    bool virtual_clock = false;               // starts at 1000 ms, each 1 ms sleep adds 1 ms
    int quit_after_frame = 0;                 // post the quit message after this present; 0: never
    bool record_hashes = false;               // report each present's frame hash to the page
    const ScriptedMessage* script = nullptr;  // messages and times fed as in the runner
    int script_length = 0;
    const ScriptedTime* times = nullptr;  // the script's reads of the local time
    int time_count = 0;
    void (*present_begun)(int present) = nullptr;  // as each present begins
};

void install_web_host(const WebOptions& options);

// Input from the page's event handlers; each queues what the game hears.
void web_key_event(const char* code, const char* key, bool pressed, bool repeat, bool alt);
// A mouse or touch pointer on the canvas, in canvas pixels (-1, -1: it left).
enum class PointerAction { Move, Press, Release };
void web_pointer_event(PointerAction action, int x, int y);
// A touch button (Left, Right or Space) pressed or let go.
void web_touch_button(uint32_t vk, bool pressed);
// Game controllers, polled by the page: a button of the standard layout, the
// left stick's x axis (-32768 to 32767), and a controller that went away.
void web_pad_button(int slot, int button, bool pressed);
void web_pad_stick(int slot, int value);
void web_pad_gone(int slot);
// The page paused the game (it holds the game's sleeps) or let it go on: the
// reason is a PauseReason.
void web_pause(PauseReason reason, bool on);

// The audio half (web_audio.cpp): the page asks for `frames` more frames.
bool web_open_audio(int rate, int frames, AudioCallback callback, void* user, char* reason,
                    int reason_size);
void web_close_audio();
void web_pull_audio(int frames);
