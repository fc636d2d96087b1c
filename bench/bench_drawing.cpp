// The busiest drawing the game does: a transition opening (320 strips) over
// a full effect pool (511 particles), beside the copying floor of four
// full-screen memcpys.
#include <benchmark/benchmark.h>

#include <cstring>

#include "copying_floor.h"
#include "hosts/headless/headless_host.h"
#include "objects/effects.h"
#include "objects/transition.h"
#include "platform/display.h"
#include "services/present.h"
#include "services/templates.h"

namespace {

struct Scene {
    GameObject effects[EFFECT_POOL_SIZE];
    GameObject strips[TRANSITION_STRIPS];
};

Scene busiest;

void set_up_busiest_scene() {
    static bool ready = false;
    if (ready) return;
    ready = true;
    install_headless_host(HeadlessConfig{});
    start_display(SCREEN_WIDTH, SCREEN_HEIGHT);
    load_bitmaps();
    fill_template_table();
    init_effects();
    init_transition();
    // Long-lived fragments spread over the screen.
    ParticleBurst burst = {511, 3, px(120), px(160), -2048, 2048, -2048, 2048, 4, 200, 0};
    spawn_particles(burst);
    start_transition(TRANSITION_OPENING, 0);
    // A few frames in, every strip still covers part of the screen.
    for (int i = 0; i < 3; ++i) {
        update_effects();
        update_transition();
    }
    std::memcpy(busiest.effects, EffectPool, sizeof EffectPool);
    std::memcpy(busiest.strips, TransitionStrips, sizeof TransitionStrips);
}

void BM_TransitionOverFullEffectPool(benchmark::State& state) {
    set_up_busiest_scene();
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(EffectPool, busiest.effects, sizeof EffectPool);
        std::memcpy(TransitionStrips, busiest.strips, sizeof TransitionStrips);
        transition_state = TRANSITION_OPENING;
        state.ResumeTiming();
        fill_rect(ScreenRect, 0);
        update_effects();
        update_transition();
        benchmark::DoNotOptimize(back_surface_pixels()[0]);
    }
}
BENCHMARK(BM_TransitionOverFullEffectPool)->Unit(benchmark::kMicrosecond);

// The same frame without the particles: the clear and the 320 strips alone.
void BM_TransitionStripsAlone(benchmark::State& state) {
    set_up_busiest_scene();
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(TransitionStrips, busiest.strips, sizeof TransitionStrips);
        transition_state = TRANSITION_OPENING;
        state.ResumeTiming();
        fill_rect(ScreenRect, 0);
        update_transition();
        benchmark::DoNotOptimize(back_surface_pixels()[0]);
    }
}
BENCHMARK(BM_TransitionStripsAlone)->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_CopyingFloorFourScreens)->Unit(benchmark::kMicrosecond);

}  // namespace
