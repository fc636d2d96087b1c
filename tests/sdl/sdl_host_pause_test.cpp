// Pausing the SDL host on the dummy drivers: the held wait lets the window
// work and ends on quitting, and M and - keep the volume in the settings
// file. Which keys pass a pause is the pause gate's own test; P in the real
// window is the window recording's.
#include <unistd.h>

#include <string>

#include "hosts/common/settings.h"
#include "sdl/sdl_events.h"
#include "support/sim_process.h"

namespace {

class SdlHostPause : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/zarvox-pause-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        dir = name;
        ASSERT_EQ(chdir(dir.c_str()), 0);
        open_host_window();
        drain();
    }
    void TearDown() override {
        shut_down_sdl_host();
        std::system(("rm -rf '" + dir + "'").c_str());
    }
    std::string dir;
};

// A lost focus pauses, and the frame wait holds as the sleep does; Escape
// or the close button end the pause and arrive.
TEST_F(SdlHostPause, ALostFocusPausesAndQuittingEndsThePause) {
    push_window_event(SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_TRUE(drain().empty());
    push_key(SDL_KEYDOWN, SDLK_LEFT);
    push_window_event(SDL_WINDOWEVENT_SIZE_CHANGED);  // answered while paused
    push_key(SDL_KEYDOWN, SDLK_ESCAPE);
    host().wait_until(host().ticks_ms() + 1);
    expect_messages(drain(), {{WM_KEYDOWN, VK_ESCAPE}});

    push_window_event(SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_TRUE(drain().empty());
    push_window_event(SDL_WINDOWEVENT_CLOSE);
    host().wait_until(host().ticks_ms() + 1);
    expect_messages(drain(), {{WM_CLOSE, 0}});
}

TEST_F(SdlHostPause, MuteAndVolumeAreKeptInTheSettingsFile) {
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

}  // namespace
