#include "hosts/web/web_host.h"

#include <cmath>
#include <cstring>

#include "hosts/common/frame_hash.h"
#include "hosts/common/menu_bar.h"
#include "hosts/common/pause.h"
#include "hosts/web/web_input.h"
#include "hosts/web/web_page.h"
#include "platform/display.h"
#include "platform/message_queue.h"
#include "services/present.h"

namespace {

constexpr int QUEUE_CAPACITY = 256;
constexpr int CANVAS_WIDTH = SCREEN_WIDTH;
constexpr int CANVAS_HEIGHT = MENU_BAR_HEIGHT + SCREEN_HEIGHT;

WebOptions options;
MessageQueue<QUEUE_CAPACITY> queue;
double clock_origin = 0;
uint32_t virtual_ms = 1000;
int presents = 0;
ScriptFeed feed;

// A key let go in the same frame it went down would come and go before the
// game looks: its release waits for the next present, so a tap shorter than
// a frame still counts. Once one message waits, the input after it waits
// too, so nothing overtakes it.
MessageQueue<QUEUE_CAPACITY> held_back;
int key_down_present[256] = {};

// The page pauses the game by holding its sleeps (page.js) and tells the
// gate here, which keeps the player's keys from the paused game.
PauseGate pause_gate;

MenuBar menu;
bool window_open = false;
// The window's picture as the page draws it: the menu bar, then the game.
uint8_t canvas_rgba[CANVAS_WIDTH * CANVAS_HEIGHT * 4];
uint32_t menu_pixels[CANVAS_WIDTH * MENU_BAR_HEIGHT];

void to_rgba(const uint32_t* from, int pitch_pixels, int width, int height, uint8_t* to) {
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = from + y * pitch_pixels;
        for (int x = 0; x < width; ++x) {
            const uint32_t p = row[x];
            *to++ = static_cast<uint8_t>(p >> 16);
            *to++ = static_cast<uint8_t>(p >> 8);
            *to++ = static_cast<uint8_t>(p);
            *to++ = 255;
        }
    }
}

void show_menu_bar() {
    draw_menu_bar(menu, menu_pixels, CANVAS_WIDTH, CANVAS_WIDTH);
    to_rgba(menu_pixels, CANVAS_WIDTH, CANVAS_WIDTH, MENU_BAR_HEIGHT, canvas_rgba);
    web_show_rows(canvas_rgba, CANVAS_WIDTH, 0, MENU_BAR_HEIGHT);
}

// ---- Clock ----

// Whole milliseconds since the host was installed, as on the desktop; a
// sleep ends as the count moves on, so the 20 ms schedule stays absolute.
uint32_t web_ticks_ms() {
    if (options.virtual_clock) return virtual_ms;
    return static_cast<uint32_t>(std::floor(web_now_ms() - clock_origin));
}

void web_sleep_ms(uint32_t ms) {
    if (options.virtual_clock) {
        virtual_ms += ms;
        return;
    }
    const double elapsed = std::floor(web_now_ms() - clock_origin);
    web_sleep_until(clock_origin + elapsed + ms);
    // The time spent paused is no frame's to catch up on.
    if (take_pause_ended(&pause_gate)) restart_frame_schedule();
}

// One wait to the due tick; the page ends it early when a key, a touch or a
// click comes in. A virtual clock goes to the due tick at once.
void web_wait_until(uint32_t due_ms) {
    if (options.virtual_clock) {
        if (static_cast<int32_t>(due_ms - virtual_ms) > 0) virtual_ms = due_ms;
        return;
    }
    if (!queue.empty()) return;
    const double elapsed = std::floor(web_now_ms() - clock_origin);
    const int32_t ahead = static_cast<int32_t>(due_ms - static_cast<uint32_t>(elapsed));
    if (ahead <= 0) return;
    web_sleep_until(clock_origin + elapsed + ahead);
    // The page holds the wait while the game is paused; that time is no
    // frame's to catch up on.
    if (take_pause_ended(&pause_gate)) restart_frame_schedule();
}

// The script's or the page's fixed milliseconds; until one applies (-1),
// the real local time.
int web_local_milliseconds() {
    const int ms = feed_local_ms(&feed, presents + 1);
    return ms >= 0 ? ms : web_local_ms();
}

// ---- Window and messages ----

bool web_create_window(const char*, int width, int height) {
    if (width != CANVAS_WIDTH || MENU_BAR_HEIGHT + height != CANVAS_HEIGHT) return false;
    load_game_menu(&menu);
    if (!web_create_canvas(CANVAS_WIDTH, CANVAS_HEIGHT)) return false;
    std::memset(canvas_rgba, 0, sizeof canvas_rgba);
    for (size_t i = 3; i < sizeof canvas_rgba; i += 4) canvas_rgba[i] = 255;
    web_show_rows(canvas_rgba, CANVAS_WIDTH, 0, CANVAS_HEIGHT);
    show_menu_bar();
    window_open = true;
    return true;
}

bool web_take_message(Message* out) {
    return queue.pop(out);
}

void web_post_message(const Message& m) {
    queue.push(m);
}

// ---- Presenting ----

void web_frame_started() {
    ++presents;
    const uint32_t* pixels = back_surface_pixels();
    const bool hashed = options.record_hashes && pixels;
    const uint32_t hash =
        hashed ? hash_pixels(pixels, SCREEN_WIDTH, SCREEN_HEIGHT, back_surface_pitch()) : 0;
    Message m;
    while (held_back.pop(&m)) queue.push(m);
    web_present_begun(presents, hash, hashed ? 1 : 0);
    if (options.present_begun) options.present_begun(presents);
    feed_messages(&feed, presents, false, web_post_message);
    web_poll_pads();
}

void web_show_frame(const uint32_t* pixels, int width, int height, int pitch) {
    if (!window_open || width != CANVAS_WIDTH || height > SCREEN_HEIGHT) return;
    uint8_t* game_area = canvas_rgba + MENU_BAR_HEIGHT * CANVAS_WIDTH * 4;
    to_rgba(pixels, pitch / 4, width, height, game_area);
    web_show_rows(canvas_rgba, CANVAS_WIDTH, MENU_BAR_HEIGHT, height);
    web_present_shown();
}

void web_frame_finished() {
    feed_messages(&feed, presents, true, web_post_message);
    if (presents == options.quit_after_frame) queue.push(Message{WM_QUIT, 0, 0});
    // A virtual clock never sleeps for real: let the page have its turn
    // once a frame so it stays alive and can watch.
    if (options.virtual_clock) web_yield();
}

void web_show_message_box(const char* text, const char* caption) {
    web_message_box(text, caption);
}

void no_op() {}
void note_sound(int) {}
void note_tune_call(const char*) {}

// The mixer fills the page's audio on the page's one thread, between the
// game's sleeps (web_audio.cpp): there is nothing to lock.
const Host web_host = {
    .ticks_ms = web_ticks_ms,
    .sleep_ms = web_sleep_ms,
    .local_milliseconds = web_local_milliseconds,
    .create_window = web_create_window,
    .take_message = web_take_message,
    .post_message = web_post_message,
    .frame_started = web_frame_started,
    .show_frame = web_show_frame,
    .frame_finished = web_frame_finished,
    .message_box = web_show_message_box,
    .open_audio = web_open_audio,
    .lock_audio = no_op,
    .unlock_audio = no_op,
    .close_audio = web_close_audio,
    .note_sound = note_sound,
    .note_tune_call = note_tune_call,
    .wait_until = web_wait_until,
};

}  // namespace

void install_web_host(const WebOptions& o) {
    options = o;
    clock_origin = web_now_ms();
    virtual_ms = 1000;
    presents = 0;
    feed = start_script_feed(o.script, o.script_length, o.times, o.time_count, o.ms_of_second);
    queue.clear();
    held_back.clear();
    pause_gate = PauseGate{};
    for (int& present : key_down_present) present = -1;
    install_host(&web_host);
}

void web_pause(PauseReason reason, bool on) {
    pause_for(&pause_gate, reason, on);
}

// The gate's verdict on a message from the player; a quit that ends a pause
// lets the page's hold on the game go as well.
bool admitted(const Message& m) {
    const bool was_paused = is_paused(pause_gate);
    const bool admit = pause_admit(&pause_gate, m);
    if (was_paused && !is_paused(pause_gate)) web_pause_lifted();
    return admit;
}

void web_post(const Message& m) {
    if (!admitted(m)) return;
    const uint32_t key = m.wparam & 0xFF;
    if (m.id == WM_KEYDOWN || m.id == WM_SYSKEYDOWN) key_down_present[key] = presents;
    const bool too_soon = m.id == WM_KEYUP && key_down_present[key] == presents;
    if (too_soon || !held_back.empty()) {
        held_back.push(m);
    } else {
        queue.push(m);
    }
}

void web_pointer_event(PointerAction action, int x, int y) {
    bool changed = false;
    uint32_t command = 0;
    switch (action) {
        case PointerAction::Move:
            changed = menu_mouse_moved(&menu, x, y);
            break;
        case PointerAction::Press:
            changed = menu_mouse_pressed(&menu, x, y);
            break;
        case PointerAction::Release:
            changed = menu_mouse_released(&menu, x, y, &command);
            break;
    }
    const Message salir = {WM_COMMAND, command, 0};
    if (command != 0 && admitted(salir)) queue.push(salir);
    if (changed && window_open) show_menu_bar();
}
