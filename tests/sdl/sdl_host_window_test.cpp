// The SDL host on SDL's dummy video and audio drivers: the window's size,
// the messages that events become, the presented picture and the sound card.
#include <atomic>
#include <csignal>
#include <string>

#include "hosts/common/menu_bar.h"
#include "sdl/sdl_events.h"

namespace {

void push_button(Uint32 type, int x, int y) {
    SDL_Event e = {};
    e.type = type;
    e.button.windowID = SDL_GetWindowID(sdl_host_window());
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = x;
    e.button.y = y;
    SDL_PushEvent(&e);
}

void push_window_event(Uint8 event) {
    SDL_Event e = {};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = SDL_GetWindowID(sdl_host_window());
    e.window.event = event;
    SDL_PushEvent(&e);
}

class SdlHost : public ::testing::Test {
protected:
    static void SetUpTestSuite() { open_host_window(); }
    static void TearDownTestSuite() { shut_down_sdl_host(); }
    void SetUp() override { drain(); }
};

TEST_F(SdlHost, WindowHoldsBarAndGameAtTheLargestWholeScale) {
    SDL_Window* w = sdl_host_window();
    ASSERT_NE(w, nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(w), "Zarvox");
    // The dummy desktop is 1024x768: twice 240 x 332 fits, three times not.
    int width = 0, height = 0;
    SDL_GetWindowSize(w, &width, &height);
    EXPECT_EQ(width, 480);
    EXPECT_EQ(height, 2 * (320 + MENU_BAR_HEIGHT));
}

TEST_F(SdlHost, KeysBecomeKeyMessagesAndTheWindowsKeysStayOut) {
    push_key(SDL_KEYDOWN, SDLK_LEFT);
    push_key(SDL_KEYDOWN, SDLK_F11);  // fullscreen on
    push_key(SDL_KEYUP, SDLK_F11);
    push_key(SDL_KEYUP, SDLK_LEFT);
    push_key(SDL_KEYDOWN, SDLK_LCTRL);  // no code: dropped
    const std::vector<Message> taken = drain();
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[0].id, WM_KEYDOWN);
    EXPECT_EQ(taken[0].wparam, VK_LEFT);
    EXPECT_EQ(taken[1].id, WM_KEYUP);
    EXPECT_EQ(taken[1].wparam, VK_LEFT);
    EXPECT_TRUE(SDL_GetWindowFlags(sdl_host_window()) & SDL_WINDOW_FULLSCREEN_DESKTOP);

    push_key(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT);  // and off again
    push_key(SDL_KEYUP, SDLK_RETURN, KMOD_LALT);
    EXPECT_TRUE(drain().empty());
    EXPECT_FALSE(SDL_GetWindowFlags(sdl_host_window()) & SDL_WINDOW_FULLSCREEN);
}

TEST_F(SdlHost, ShiftIsLetGoOnlyWhenBothShiftKeysAre) {
    push_key(SDL_KEYDOWN, SDLK_LSHIFT);
    push_key(SDL_KEYDOWN, SDLK_RSHIFT);
    push_key(SDL_KEYUP, SDLK_RSHIFT);
    push_key(SDL_KEYUP, SDLK_LSHIFT);
    const std::vector<Message> taken = drain();
    ASSERT_EQ(taken.size(), 3u);
    EXPECT_EQ(taken[0].id, WM_KEYDOWN);
    EXPECT_EQ(taken[1].id, WM_KEYDOWN);
    EXPECT_EQ(taken[2].id, WM_KEYUP);
    EXPECT_EQ(taken[2].wparam, VK_SHIFT);
}

TEST_F(SdlHost, ClickingSalirSendsItsCommand) {
    // Window points are output pixels here; the canvas is doubled.
    push_button(SDL_MOUSEBUTTONDOWN, 2 * 8, 2 * 5);
    push_button(SDL_MOUSEBUTTONUP, 2 * 8, 2 * 5);
    // Clicks on the game area and on the empty bar do nothing.
    push_button(SDL_MOUSEBUTTONDOWN, 2 * 8, 2 * 100);
    push_button(SDL_MOUSEBUTTONUP, 2 * 8, 2 * 100);
    push_button(SDL_MOUSEBUTTONDOWN, 2 * 200, 2 * 5);
    push_button(SDL_MOUSEBUTTONUP, 2 * 200, 2 * 5);
    const std::vector<Message> taken = drain();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].id, WM_COMMAND);
    EXPECT_EQ(taken[0].wparam, MENU_COMMAND_SALIR);
}

TEST_F(SdlHost, CloseButtonPostedMessagesAndQuitSignals) {
    host().post_message(Message{WM_COMMAND, 7, 0});
    push_window_event(SDL_WINDOWEVENT_CLOSE);
    SDL_Event quit = {};
    quit.type = SDL_QUIT;  // SDL's own quit event is not the game's business
    SDL_PushEvent(&quit);
    std::vector<Message> taken = drain();
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[0].id, WM_COMMAND);
    EXPECT_EQ(taken[1].id, WM_CLOSE);

    for (int sig : {SIGTERM, SIGINT}) {
        std::raise(sig);
        taken = drain();
        ASSERT_EQ(taken.size(), 1u);  // once per signal, and the process lives on
        EXPECT_EQ(taken[0].id, WM_QUIT);
    }
}

TEST_F(SdlHost, FramesAreShownWholeFactorScaledWithoutSmoothing) {
    // A one-pixel checkerboard: any smoothing would show as grey.
    std::vector<uint32_t> frame(240 * 320);
    for (int y = 0; y < 320; ++y) {
        for (int x = 0; x < 240; ++x) frame[y * 240 + x] = (x + y) % 2 ? 0xFFFFFF : 0x000000;
    }
    host().frame_started();
    host().show_frame(frame.data(), 240, 320, 240 * 4);
    host().frame_finished();

    SDL_Renderer* r = SDL_GetRenderer(sdl_host_window());
    ASSERT_NE(r, nullptr);
    const int top = 2 * MENU_BAR_HEIGHT;
    std::vector<uint32_t> shown(8 * 8);
    const SDL_Rect area = {0, top, 8, 8};
    ASSERT_EQ(SDL_RenderReadPixels(r, &area, SDL_PIXELFORMAT_RGB888, shown.data(), 8 * 4), 0);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const uint32_t want = (x / 2 + y / 2) % 2 ? 0xFFFFFF : 0x000000;
            EXPECT_EQ(shown[y * 8 + x] & 0xFFFFFF, want) << x << "," << y;
        }
    }
    // The menu bar sits above the game area, right of its one item.
    uint32_t bar = 0;
    const SDL_Rect bar_pixel = {400, 2, 1, 1};
    SDL_RenderReadPixels(r, &bar_pixel, SDL_PIXELFORMAT_RGB888, &bar, 4);
    EXPECT_EQ(bar & 0xFFFFFF, MENU_BAR_COLOUR);
}

TEST_F(SdlHost, ClockCountsMillisecondsAndSleepsEndOnItsTicks) {
    const uint32_t before = host().ticks_ms();
    SDL_Delay(30);
    const uint32_t elapsed = host().ticks_ms() - before;
    EXPECT_GE(elapsed, 30u);
    EXPECT_LT(elapsed, 500u);

    // A sleep ends on the clock's next tick: never before it, and without
    // drifting a millisecond further each time. A busy machine may delay
    // some wake-ups, so only most sleeps need to end on the very next tick.
    int on_next_tick = 0;
    for (int i = 0; i < 100; ++i) {
        const uint32_t t = host().ticks_ms();
        host().sleep_ms(1);
        const uint32_t slept = host().ticks_ms() - t;
        ASSERT_GE(slept, 1u) << i;
        on_next_tick += slept == 1;
    }
    EXPECT_GE(on_next_tick, 50);
}

// The frame wait sleeps to the due tick in one go and ends early for an
// event or a quit signal, which the next pump then takes.
TEST_F(SdlHost, TheFrameWaitEndsOnTheDueTickOrForAnEvent) {
    int on_due_tick = 0;
    for (int i = 0; i < 10; ++i) {
        const uint32_t due = host().ticks_ms() + 7;
        host().wait_until(due);
        const uint32_t now = host().ticks_ms();
        ASSERT_GE(static_cast<int32_t>(now - due), 0) << i;
        on_due_tick += now == due;
    }
    EXPECT_GE(on_due_tick, 5);

    push_key(SDL_KEYDOWN, SDLK_LEFT);
    uint32_t before = host().ticks_ms();
    host().wait_until(before + 500);
    EXPECT_LT(host().ticks_ms() - before, 250u);
    ASSERT_EQ(drain().size(), 1u);

    std::raise(SIGTERM);
    before = host().ticks_ms();
    host().wait_until(before + 500);
    EXPECT_LT(host().ticks_ms() - before, 250u);
    ASSERT_EQ(drain().size(), 1u);
}

struct Pull {
    std::atomic<int> calls{0};
    std::atomic<int> largest{0};
};

void count_pull(int16_t* out, int frames, void* user) {
    Pull* p = static_cast<Pull*>(user);
    for (int i = 0; i < 2 * frames; ++i) out[i] = 0;
    if (frames > p->largest) p->largest = frames;
    ++p->calls;
}

TEST_F(SdlHost, SoundCardPullsBlocksNoLargerThanAgreed) {
    Pull pull;
    char reason[128] = "";
    ASSERT_TRUE(host().open_audio(22050, 300, count_pull, &pull, reason, sizeof reason)) << reason;
    for (int i = 0; i < 200 && pull.calls < 3; ++i) SDL_Delay(5);
    host().lock_audio();
    const int calls = pull.calls;
    SDL_Delay(30);
    EXPECT_EQ(pull.calls, calls);  // nothing is pulled while locked
    host().unlock_audio();
    host().close_audio();
    EXPECT_GE(calls, 3);
    EXPECT_GT(pull.largest, 0);
    EXPECT_LE(pull.largest, 300);

    EXPECT_FALSE(host().open_audio(22050, 0, count_pull, &pull, reason, sizeof reason));
    EXPECT_NE(std::string(reason), "");

    // No sound card at all: a reason, and locking stays harmless.
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    reason[0] = '\0';
    EXPECT_FALSE(host().open_audio(22050, 512, count_pull, &pull, reason, sizeof reason));
    EXPECT_NE(std::string(reason), "");
    host().lock_audio();
    host().unlock_audio();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

}  // namespace
