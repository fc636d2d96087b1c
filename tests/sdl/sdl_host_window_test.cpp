// The SDL host on SDL's dummy video and audio drivers: the window's size,
// the messages that events become, pausing, the volume keys, the presented
// picture and the sound card. Which keys pass a pause is the pause gate's own
// test.
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include "hosts/common/menu_bar.h"
#include "hosts/common/settings.h"
#include "sdl/sdl_events.h"
#include "services/present.h"
#include "support/sim_process.h"

namespace {

// A left click at window point (x, y): press and release.
void push_click(int x, int y) {
    for (Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
        SDL_Event e = {};
        e.type = type;
        e.button.windowID = SDL_GetWindowID(sdl_host_window());
        e.button.button = SDL_BUTTON_LEFT;
        e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.button.x = x;
        e.button.y = y;
        SDL_PushEvent(&e);
    }
}

void show_black_frame() {
    static const std::vector<uint32_t> black(240 * 320, 0);
    host().show_frame(black.data(), 240, 320, 240 * 4);
}

class SdlHost : public ::testing::Test {
protected:
    // In a folder of its own, where the host writes its settings file.
    static void SetUpTestSuite() {
        ASSERT_EQ(chdir(make_scratch_dir("sdl-host").c_str()), 0);
        open_host_window();
    }
    static void TearDownTestSuite() { shut_down_sdl_host(); }
    void SetUp() override { drain(); }
};

bool fullscreen() {
    return SDL_GetWindowFlags(sdl_host_window()) & SDL_WINDOW_FULLSCREEN;
}

// Keys become key messages, Shift let go only when both Shift keys are
// (which keys have codes is the key map's test); the window's own keys stay
// out. A storm of Alt+Enter never switches inside the message pump: the
// presses fold into at most one switch, made when the next frame is shown,
// and the Escape after them comes through at once.
TEST_F(SdlHost, KeysBecomeMessagesAndFullscreenSwitchesWaitForAFrame) {
    push_key(SDL_KEYDOWN, SDLK_LEFT);
    push_key(SDL_KEYDOWN, SDLK_LSHIFT);
    push_key(SDL_KEYDOWN, SDLK_RSHIFT);
    push_key(SDL_KEYUP, SDLK_RSHIFT);
    push_key(SDL_KEYUP, SDLK_LSHIFT);
    for (int i = 0; i < 201; ++i) push_tap(SDLK_RETURN, KMOD_LALT);
    push_key(SDL_KEYUP, SDLK_LEFT);
    push_key(SDL_KEYDOWN, SDLK_ESCAPE);
    expect_messages(drain(), {{WM_KEYDOWN, VK_LEFT},
                              {WM_KEYDOWN, VK_SHIFT},
                              {WM_KEYDOWN, VK_SHIFT},
                              {WM_KEYUP, VK_SHIFT},
                              {WM_KEYUP, VK_LEFT},
                              {WM_KEYDOWN, VK_ESCAPE}});
    EXPECT_FALSE(fullscreen());
    show_black_frame();  // an odd number of presses: one switch
    EXPECT_TRUE(SDL_GetWindowFlags(sdl_host_window()) & SDL_WINDOW_FULLSCREEN_DESKTOP);
    show_black_frame();  // and no more
    EXPECT_TRUE(fullscreen());

    push_tap(SDLK_F11);  // an even number: none
    push_tap(SDLK_F11);
    drain();
    show_black_frame();
    EXPECT_TRUE(fullscreen());
    push_tap(SDLK_F11);
    push_key(SDL_KEYUP, SDLK_ESCAPE);
    drain();
    show_black_frame();
    EXPECT_FALSE(fullscreen());
}

TEST_F(SdlHost, SalirTheCloseButtonPostedMessagesAndQuitSignalsComeThrough) {
    // Window points are output pixels here; the canvas is doubled. Which
    // clicks make a command is the menu bar's own test.
    push_click(2 * 8, 2 * 5);
    expect_messages(drain(), {{WM_COMMAND, MENU_COMMAND_SALIR}});

    host().post_message(Message{WM_COMMAND, 7, 0});
    push_window_event(SDL_WINDOWEVENT_CLOSE);
    SDL_Event quit = {};
    quit.type = SDL_QUIT;  // SDL's own quit event is not the game's business
    SDL_PushEvent(&quit);
    expect_messages(drain(), {{WM_COMMAND, 7}, {WM_CLOSE, 0}});
    for (int sig : {SIGTERM, SIGINT}) {
        std::raise(sig);
        // Once per signal, and the process lives on.
        expect_messages(drain(), {{WM_QUIT, 0}});
    }
}

// A lost focus or P pauses: the frame wait holds, answering the window's own
// events, and a key pressed and let go meanwhile leaves no trace, until
// Escape (sent from another thread 50 ms on) ends the pause and arrives. The
// next frame goes out at once and its cadence starts again from there: it
// does not count the time paused as frames to catch up on.
TEST_F(SdlHost, APauseHoldsTheFrameWaitAndTheCadenceRestartsAfterIt) {
    for (const bool by_focus : {true, false}) {
        SCOPED_TRACE(by_focus ? "focus lost" : "P");
        present_frame();
        const uint32_t shown = last_frame_tick;
        if (by_focus) {
            push_window_event(SDL_WINDOWEVENT_FOCUS_LOST);
        } else {
            push_tap(SDLK_p);
        }
        EXPECT_TRUE(drain().empty());
        push_tap(SDLK_LEFT);
        push_window_event(SDL_WINDOWEVENT_SIZE_CHANGED);
        const uint32_t waited = host().ticks_ms();
        std::thread escape([] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            push_tap(SDLK_ESCAPE);
        });
        host().wait_until(waited + 1);
        EXPECT_GE(host().ticks_ms() - waited, 50u);
        escape.join();
        expect_messages(drain(), {{WM_KEYDOWN, VK_ESCAPE}, {WM_KEYUP, VK_ESCAPE}});
        present_frame();
        EXPECT_GE(last_frame_tick - shown, 50u);
    }
}

TEST_F(SdlHost, MuteAndVolumeAreKeptInTheSettingsFile) {
    // The first run wrote it.
    EXPECT_EQ(read_file_bytes(SETTINGS_FILE), "volume 10\nmuted 0\n");
    push_key(SDL_KEYDOWN, SDLK_MINUS);
    push_key(SDL_KEYDOWN, SDLK_LEFTBRACKET);
    push_key(SDL_KEYDOWN, SDLK_m);
    EXPECT_TRUE(drain().empty());
    EXPECT_EQ(read_file_bytes(SETTINGS_FILE), "volume 8\nmuted 1\n");
    push_key(SDL_KEYDOWN, SDLK_EQUALS);  // a step up unmutes
    drain();
    EXPECT_EQ(read_file_bytes(SETTINGS_FILE), "volume 9\nmuted 0\n");
}

// The window holds the bar and the game at the largest whole scale, and
// frames are shown scaled by it without smoothing.
TEST_F(SdlHost, FramesAreShownWholeFactorScaledWithoutSmoothing) {
    EXPECT_STREQ(SDL_GetWindowTitle(sdl_host_window()), "Zarvox");
    // The dummy desktop is 1024x768: twice 240 x 332 fits, three times not.
    int width = 0, height = 0;
    SDL_GetWindowSize(sdl_host_window(), &width, &height);
    EXPECT_EQ(width, 480);
    EXPECT_EQ(height, 2 * (320 + MENU_BAR_HEIGHT));
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

// The frame wait sleeps to the due tick in one go, never ending before it,
// and ends early for an event or a quit signal, which the next pump then
// takes. A busy machine may delay some wake-ups, so only most need to end on
// the very tick. (The host's plain sleep is for hosts without this wait: the
// game never calls it here.)
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
    // No sound card at all: the game program's own test plays on without one.
}

}  // namespace
