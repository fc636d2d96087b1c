// Pausing the SDL host on the dummy drivers: P and a controller's Start
// toggle it and never reach the game, the held sleep lets the window work
// and ends on P again or on quitting, and M and - keep the volume in the
// settings file.
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "hosts/common/settings.h"
#include "sdl/sdl_events.h"

namespace {

std::string read_settings() {
    std::ifstream in(SETTINGS_FILE);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void push_window_event(Uint8 event) {
    SDL_Event e = {};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = SDL_GetWindowID(sdl_host_window());
    e.window.event = event;
    SDL_PushEvent(&e);
}

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

TEST_F(SdlHostPause, PHoldsTheSleepAndKeysPressedMeanwhileNeverArrive) {
    push_key(SDL_KEYDOWN, SDLK_RIGHT);
    push_key(SDL_KEYDOWN, SDLK_p);
    push_key(SDL_KEYUP, SDLK_p);
    std::vector<Message> taken = drain();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].wparam, VK_RIGHT);
    // Paused: the sleep takes these events itself.
    push_key(SDL_KEYUP, SDLK_RIGHT);    // let go while paused: let go
    push_key(SDL_KEYDOWN, SDLK_SPACE);  // pressed while paused: never arrives
    push_key(SDL_KEYDOWN, SDLK_p);      // P again ends the pause
    host().sleep_ms(1);
    taken = drain();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].id, WM_KEYUP);
    EXPECT_EQ(taken[0].wparam, VK_RIGHT);
    push_key(SDL_KEYUP, SDLK_p);
    push_key(SDL_KEYUP, SDLK_SPACE);
    EXPECT_TRUE(drain().empty());
}

TEST_F(SdlHostPause, TheCloseButtonEndsAPauseAndALostFocusPauses) {
    push_window_event(SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_TRUE(drain().empty());
    push_key(SDL_KEYDOWN, SDLK_LEFT);
    push_window_event(SDL_WINDOWEVENT_SIZE_CHANGED);  // answered while paused
    push_window_event(SDL_WINDOWEVENT_CLOSE);
    host().wait_until(host().ticks_ms() + 1);  // the frame wait holds as the sleep does
    const std::vector<Message> taken = drain();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].id, WM_CLOSE);
}

TEST_F(SdlHostPause, MuteAndVolumeAreKeptInTheSettingsFile) {
    EXPECT_EQ(read_settings(), "volume 10\nmuted 0\n");  // the first run wrote it
    push_key(SDL_KEYDOWN, SDLK_MINUS);
    push_key(SDL_KEYDOWN, SDLK_LEFTBRACKET);
    push_key(SDL_KEYDOWN, SDLK_m);
    EXPECT_TRUE(drain().empty());
    EXPECT_EQ(read_settings(), "volume 8\nmuted 1\n");
    push_key(SDL_KEYDOWN, SDLK_EQUALS);  // a step up unmutes
    drain();
    EXPECT_EQ(read_settings(), "volume 9\nmuted 0\n");
}

}  // namespace
