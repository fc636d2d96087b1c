// The browser host's own rules, built natively against a stand-in page: key
// mapping, taps shorter than a frame, shared keys, the test mode's script
// and clock, the canvas picture with its menu bar, and the pause.
#include "hosts/web/web_host.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "hosts/common/menu_bar.h"
#include "hosts/headless/headless_host.h"
#include "hosts/web/web_keys.h"
#include "platform/display.h"

namespace {

// What the stand-in page saw.
struct Page {
    double now = 5000.25;
    std::vector<double> sleeps;
    int yields = 0;
    std::vector<uint8_t> canvas;
    int pauses_lifted = 0;
};
Page page;

}  // namespace

extern "C" {
double web_now_ms() {
    return page.now;
}
int web_local_ms() {
    return 123;
}
void web_sleep_until(double target) {
    page.sleeps.push_back(target);
    page.now = target;
}
void web_yield() {
    ++page.yields;
}
void web_message_box(const char*, const char*) {}
int web_create_canvas(int width, int height) {
    page.canvas.assign(static_cast<size_t>(width) * height * 4, 0);
    return 1;
}
void web_show_rows(const uint8_t* rgba, int width, int top, int height) {
    std::memcpy(page.canvas.data() + top * width * 4, rgba + top * width * 4, width * height * 4);
}
void web_toggle_fullscreen() {}
void web_present_begun(int, uint32_t, int) {}
void web_present_shown() {}
void web_poll_pads() {}
void web_pause_lifted() {
    ++page.pauses_lifted;
}
int web_audio_open(int, char*, int) {
    return 1;
}
void web_audio_write(const int16_t*, int) {}
void web_audio_close() {}
}

namespace {

const Host& install(const WebOptions& options = {}) {
    page = Page{};
    install_web_host(options);
    return host();
}

// The messages waiting for the game, as (message, key or command).
using Seen = std::vector<std::pair<uint32_t, uint32_t>>;
Seen taken() {
    Seen out;
    Message m;
    while (host().take_message(&m)) out.emplace_back(m.id, m.wparam);
    return out;
}

void key(const char* code, bool pressed) {
    web_key_event(code, "", pressed, false, false);
}

TEST(WebKeys, LettersFollowTheLayoutAndFallBackToTheirPlace) {
    EXPECT_EQ(web_virtual_key("KeyA", "q"), uint32_t{'Q'});         // a layout with Q there
    EXPECT_EQ(web_virtual_key("KeyX", "\xd1\x87"), uint32_t{'X'});  // a Cyrillic letter
    EXPECT_EQ(web_virtual_key("KeyS", "Dead"), uint32_t{'S'});
    EXPECT_EQ(web_virtual_key("KeyM", ","), 0u);  // a Latin layout's comma there
    EXPECT_EQ(web_virtual_key("Digit1", "!"), uint32_t{'1'});
    EXPECT_EQ(web_virtual_key("F2", "F2"), VK_F2);
    EXPECT_EQ(web_virtual_key("F12", "F12"), uint32_t{0x7B});
    EXPECT_EQ(web_virtual_key("ShiftRight", "Shift"), VK_SHIFT);
    EXPECT_EQ(web_virtual_key("Tab", "Tab"), 0u);
    EXPECT_EQ(web_virtual_key("F13", "F13"), 0u);
    EXPECT_EQ(web_virtual_key("Semicolon", ";"), 0u);
}

TEST(WebKeys, WindowKeysSystemKeysAndTheTwoShifts) {
    WebShiftState shift = {};
    auto route = [&](const char* code, bool pressed, bool alt = false, bool repeat = false) {
        return route_web_key({code, "", pressed, repeat, alt}, &shift);
    };
    // F11 and Alt+Enter toggle fullscreen once per press, and nothing else.
    EXPECT_EQ(route("F11", true).route, WebKeyRoute::ToggleFullscreen);
    EXPECT_EQ(route("F11", true, false, true).route, WebKeyRoute::Drop);
    EXPECT_EQ(route("F11", false).route, WebKeyRoute::Drop);
    EXPECT_EQ(route("Enter", true, true).route, WebKeyRoute::ToggleFullscreen);
    EXPECT_EQ(route("Enter", true).message.id, WM_KEYDOWN);
    // Alt and F10 make system keys; every release is a plain key-up.
    EXPECT_EQ(route("ArrowLeft", true, true).message.id, WM_SYSKEYDOWN);
    EXPECT_EQ(route("ArrowLeft", false, true).message.id, WM_KEYUP);
    EXPECT_EQ(route("F10", true).message.id, WM_SYSKEYDOWN);
    // Shift is let go when the second of the two is.
    route("ShiftLeft", true);
    route("ShiftRight", true);
    EXPECT_EQ(route("ShiftLeft", false).route, WebKeyRoute::Drop);
    const WebKeyRouting last = route("ShiftRight", false);
    EXPECT_EQ(last.route, WebKeyRoute::Post);
    EXPECT_EQ(std::make_pair(last.message.id, last.message.wparam),
              std::make_pair(WM_KEYUP, VK_SHIFT));
}

TEST(WebHost, ATapShorterThanAFrameIsSeenForOneFrame) {
    const Host& h = install();
    h.frame_started();
    key("Space", true);
    key("Space", false);
    key("ArrowLeft", true);
    EXPECT_EQ(taken(), (Seen{{WM_KEYDOWN, VK_SPACE}}));
    // The release, and what came after it, arrive with the next present.
    h.frame_started();
    EXPECT_EQ(taken(), (Seen{{WM_KEYUP, VK_SPACE}, {WM_KEYDOWN, VK_LEFT}}));
    // A key held into a later frame is let go at once.
    key("ArrowLeft", false);
    EXPECT_EQ(taken(), (Seen{{WM_KEYUP, VK_LEFT}}));
}

TEST(WebHost, KeyboardTouchAndControllersShareAKey) {
    const Host& h = install();
    h.frame_started();
    key("ArrowLeft", true);
    web_touch_button(VK_LEFT, true);
    web_pad_button(0, 14, true);  // the D-pad's left
    h.frame_started();
    key("ArrowLeft", false);
    web_touch_button(VK_LEFT, false);
    EXPECT_EQ(taken(), (Seen{{WM_KEYDOWN, VK_LEFT}}));
    web_pad_gone(0);
    EXPECT_EQ(taken(), (Seen{{WM_KEYUP, VK_LEFT}}));
    // The stick presses past the threshold; buttons the game has no use
    // for, and slots out of range, give nothing.
    web_pad_stick(1, 30000);
    web_pad_button(1, 3, true);
    web_pad_button(-1, 0, true);
    web_pad_button(99, 0, true);
    EXPECT_EQ(taken(), (Seen{{WM_KEYDOWN, VK_RIGHT}}));
}

// The script's messages and time lines are the shared feed's, which the golden
// replays pin; here, where the web host takes them from it, and its clock.
TEST(WebHost, ScriptClockAndQuitForChecks) {
    const ScriptedMessage script[] = {{2, {WM_KEYDOWN, VK_SPACE, 0}},
                                      {2, {WM_KEYDOWN, VK_LEFT, 0}, true}};
    const ScriptedTime times[] = {{2, 370}};
    const Host& h = install({.ms_of_second = 250,
                             .virtual_clock = true,
                             .quit_after_frame = 2,
                             .script = script,
                             .script_length = 2,
                             .times = times,
                             .time_count = 1});
    EXPECT_EQ(h.ticks_ms(), 1000u);
    h.sleep_ms(1);
    EXPECT_EQ(h.ticks_ms(), 1001u);
    h.wait_until(1020);  // the frame wait goes to the due tick at once
    h.wait_until(1019);
    EXPECT_EQ(h.ticks_ms(), 1020u);
    EXPECT_TRUE(page.sleeps.empty());
    EXPECT_EQ(h.local_milliseconds(), 250);

    h.frame_started();
    EXPECT_EQ(taken(), Seen{});
    // The script's time line overrides the fixed milliseconds from the work
    // that leads to present 2.
    EXPECT_EQ(h.local_milliseconds(), 370);
    h.frame_finished();
    EXPECT_EQ(page.yields, 1);
    h.frame_started();
    EXPECT_EQ(taken(), (Seen{{WM_KEYDOWN, VK_SPACE}}));
    // A late message comes in the pump that ends its frame, ahead of the
    // quit the frame limit posts.
    h.frame_finished();
    EXPECT_EQ(taken(), (Seen{{WM_KEYDOWN, VK_LEFT}, {WM_QUIT, 0}}));
}

TEST(WebHost, TheCanvasHoldsTheMenuBarAndTheFrame) {
    const Host& h = install();
    ASSERT_TRUE(h.create_window("Zarvox", SCREEN_WIDTH, SCREEN_HEIGHT));
    ASSERT_EQ(page.canvas.size(), size_t{SCREEN_WIDTH} * (MENU_BAR_HEIGHT + SCREEN_HEIGHT) * 4);
    EXPECT_EQ(page.canvas[0], (MENU_BAR_COLOUR >> 16) & 0xFF);
    EXPECT_EQ(page.canvas[3], 255);
    // The game's 0xRRGGBB pixels become the canvas's RGBA bytes.
    std::vector<uint32_t> frame(SCREEN_WIDTH * SCREEN_HEIGHT, 0x123456);
    h.show_frame(frame.data(), SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_WIDTH * 4);
    const auto first = page.canvas.begin() + MENU_BAR_HEIGHT * SCREEN_WIDTH * 4;
    EXPECT_EQ(std::vector<uint8_t>(first, first + 4),
              (std::vector<uint8_t>{0x12, 0x34, 0x56, 255}));
}

// The page holds the game's sleep while paused and tells the host, which
// keeps the player's presses from the game and lets releases and quitting
// through.
TEST(WebHost, APausedPageKeepsThePlayersKeysFromTheGame) {
    const Host& h = install();
    h.frame_started();
    key("ArrowLeft", true);
    h.frame_started();
    web_pause(PAUSE_BY_FOCUS, true);
    key("Space", true);
    key("ArrowLeft", false);
    EXPECT_EQ(taken(), (Seen{{WM_KEYDOWN, VK_LEFT}, {WM_KEYUP, VK_LEFT}}));
    // Quitting passes and ends the pause.
    web_pause(PAUSE_BY_FOCUS, false);
    web_pause(PAUSE_BY_PLAYER, true);
    key("Escape", true);
    EXPECT_EQ(page.pauses_lifted, 1);
    EXPECT_EQ(taken(), (Seen{{WM_KEYDOWN, VK_ESCAPE}}));
    // The released Space of the pause never arrives.
    key("Space", false);
    EXPECT_EQ(taken(), Seen{});
}

}  // namespace
