// Driving the SDL host in tests: its window on SDL's dummy drivers, events
// pushed as the desktop would send them, and the messages they became.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <utility>
#include <vector>

#include "hosts/sdl/sdl_host.h"

inline std::vector<Message> drain() {
    std::vector<Message> taken;
    Message m;
    while (host().take_message(&m)) taken.push_back(m);
    return taken;
}

// Expects exactly the messages `want`, as (id, wparam) pairs in order.
inline void expect_messages(const std::vector<Message>& taken,
                            std::initializer_list<std::pair<uint32_t, uint32_t>> want) {
    ASSERT_EQ(taken.size(), want.size());
    size_t i = 0;
    for (const auto& [id, wparam] : want) {
        EXPECT_EQ(taken[i].id, id) << i;
        EXPECT_EQ(taken[i].wparam, wparam) << i;
        ++i;
    }
}

inline void push_key(Uint32 type, SDL_Keycode sym, Uint16 mod = KMOD_NONE) {
    SDL_Event e = {};
    e.type = type;
    e.key.windowID = SDL_GetWindowID(sdl_host_window());
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = sym;
    e.key.keysym.scancode = SDL_GetScancodeFromKey(sym);
    e.key.keysym.mod = mod;
    SDL_PushEvent(&e);
}

// A press and its release.
inline void push_tap(SDL_Keycode sym, Uint16 mod = KMOD_NONE) {
    push_key(SDL_KEYDOWN, sym, mod);
    push_key(SDL_KEYUP, sym, mod);
}

inline void push_window_event(Uint8 event) {
    SDL_Event e = {};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = SDL_GetWindowID(sdl_host_window());
    e.window.event = event;
    SDL_PushEvent(&e);
}

inline void open_host_window() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    install_sdl_host();
    ASSERT_TRUE(host().create_window("Zarvox", 240, 320));
}
