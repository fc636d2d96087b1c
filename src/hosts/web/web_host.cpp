#include "hosts/web/web_host.h"

#include <cmath>
#include <cstring>

#include "hosts/common/frame_hash.h"
#include "hosts/common/menu_bar.h"
#include "hosts/web/web_input.h"
#include "hosts/web/web_page.h"
#include "platform/display.h"
#include "platform/message_queue.h"
#include "platform/resources.h"

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
uint32_t ticks_ms() {
    if (options.virtual_clock) return virtual_ms;
    return static_cast<uint32_t>(std::floor(web_now_ms() - clock_origin));
}

void sleep_ms(uint32_t ms) {
    if (options.virtual_clock) {
        virtual_ms += ms;
        return;
    }
    const double elapsed = std::floor(web_now_ms() - clock_origin);
    web_sleep_until(clock_origin + elapsed + ms);
}

// The script's or the page's fixed milliseconds; until one applies (-1),
// the real local time.
int local_milliseconds() {
    const int ms = feed_local_ms(&feed, presents + 1);
    return ms >= 0 ? ms : web_local_ms();
}

// ---- Window and messages ----

bool create_window(const char*, int width, int height) {
    if (width != CANVAS_WIDTH || MENU_BAR_HEIGHT + height != CANVAS_HEIGHT) return false;
    ResourceData data;
    if (find_resource("MENU", "MENU_MAIN", &data)) {
        parse_menu(data.bytes, data.size, &menu);
    } else {
        menu.count = 0;
    }
    if (!web_create_canvas(CANVAS_WIDTH, CANVAS_HEIGHT)) return false;
    std::memset(canvas_rgba, 0, sizeof canvas_rgba);
    for (size_t i = 3; i < sizeof canvas_rgba; i += 4) canvas_rgba[i] = 255;
    web_show_rows(canvas_rgba, CANVAS_WIDTH, 0, CANVAS_HEIGHT);
    show_menu_bar();
    window_open = true;
    return true;
}

bool take_message(Message* out) {
    return queue.pop(out);
}

void post_message(const Message& m) {
    queue.push(m);
}

// ---- Presenting ----

void frame_started() {
    ++presents;
    const uint32_t* pixels = back_surface_pixels();
    const bool hashed = options.record_hashes && pixels;
    const uint32_t hash =
        hashed ? hash_pixels(pixels, SCREEN_WIDTH, SCREEN_HEIGHT, back_surface_pitch()) : 0;
    Message m;
    while (held_back.pop(&m)) queue.push(m);
    web_present_begun(presents, hash, hashed ? 1 : 0);
    if (options.present_begun) options.present_begun(presents);
    feed_messages(&feed, presents, false, post_message);
    web_poll_pads();
}

void show_frame(const uint32_t* pixels, int width, int height, int pitch) {
    if (!window_open || width != CANVAS_WIDTH || height > SCREEN_HEIGHT) return;
    uint8_t* game_area = canvas_rgba + MENU_BAR_HEIGHT * CANVAS_WIDTH * 4;
    to_rgba(pixels, pitch / 4, width, height, game_area);
    web_show_rows(canvas_rgba, CANVAS_WIDTH, MENU_BAR_HEIGHT, height);
    web_present_shown();
}

void frame_finished() {
    feed_messages(&feed, presents, true, post_message);
    if (presents == options.quit_after_frame) queue.push(Message{WM_QUIT, 0, 0});
    // A virtual clock never sleeps for real: let the page have its turn
    // once a frame so it stays alive and can watch.
    if (options.virtual_clock) web_yield();
}

void message_box(const char* text, const char* caption) {
    web_message_box(text, caption);
}

void no_op() {}
void note_sound(int) {}
void note_tune_call(const char*) {}

const Host web_host = {
    ticks_ms,       sleep_ms,        local_milliseconds, create_window,
    take_message,   post_message,    frame_started,      show_frame,
    frame_finished, message_box,     web_open_audio,     no_op,
    no_op,          web_close_audio, note_sound,         note_tune_call,
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
    for (int& present : key_down_present) present = -1;
    install_host(&web_host);
}

void web_post(const Message& m) {
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
    if (command != 0) queue.push(Message{WM_COMMAND, command, 0});
    if (changed && window_open) show_menu_bar();
}
