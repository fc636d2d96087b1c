// The real host's frame pacing: 1,000 frames of a light load (a fill and a
// few sprites) presented through present_frame into the SDL window, timing
// when each frame is shown.
//
//   xvfb-run -a build/bench/bench_host_pacing [frames]
//
// Reports the present-to-present intervals (median, p99, max), the mean
// period, and the lateness of each show behind its slot on the 20 ms
// schedule (a slot begins on a whole millisecond of the host's clock).

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "hosts/sdl/sdl_host.h"
#include "platform/display.h"
#include "services/message_pump.h"
#include "services/present.h"
#include "services/templates.h"
#include "shell/shell.h"

namespace {

struct Show {
    int64_t ns;       // CLOCK_MONOTONIC, the host clock's own source
    uint32_t due_ms;  // the frame's slot on the host clock
};

std::vector<Show> shows;
void (*real_show_frame)(const uint32_t*, int, int, int) = nullptr;

int64_t monotonic_ns() {
    timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

void timed_show_frame(const uint32_t* pixels, int width, int height, int pitch) {
    // present_frame has already stepped the schedule to this frame's slot.
    shows.push_back(Show{monotonic_ns(), last_frame_tick});
    real_show_frame(pixels, width, height, pitch);
}

// Where the host clock's milliseconds begin: the monotonic time at which
// the host's count reaches `*tick`.
int64_t find_tick_start(uint32_t* tick) {
    const uint32_t before = host().ticks_ms();
    int64_t ns = monotonic_ns();
    for (;;) {
        const uint32_t now = host().ticks_ms();
        const int64_t after = monotonic_ns();
        if (now != before) {
            *tick = now;
            return ns + (after - ns) / 2;
        }
        ns = after;
    }
}

void draw_light_frame(int frame) {
    fill_rect(ScreenRect, 0);
    for (int row = 0; row < 4; ++row) {
        DrawBlock block = TemplateTable[row];
        block.screen_x = (frame * 3 + row * 50) % SCREEN_WIDTH;
        draw_block(block);
    }
}

double percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const size_t index = static_cast<size_t>(fraction * static_cast<double>(values.size() - 1));
    return values[index];
}

}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::atoi(argv[1]) : 1000;
    if (frames < 2) {
        std::fprintf(stderr, "usage: bench_host_pacing [frames >= 2]\n");
        return 2;
    }
    install_sdl_host();
    if (!host().create_window("Zarvox pacing", SCREEN_WIDTH, SCREEN_HEIGHT)) return 1;
    start_display(SCREEN_WIDTH, SCREEN_HEIGHT);
    load_bitmaps();
    fill_template_table();

    Host timed = host();
    real_show_frame = timed.show_frame;
    timed.show_frame = timed_show_frame;
    install_host(&timed);

    shows.reserve(frames + 1);
    uint32_t tick_start = 0;
    const int64_t tick_start_ns = find_tick_start(&tick_start);
    // The first present starts the schedule from whenever it comes; the
    // timed frames follow it.
    for (int frame = 0; frame <= frames; ++frame) {
        draw_light_frame(frame);
        present_frame();
        if (frame == 0) shows.clear();
    }
    end_display();
    shut_down_sdl_host();
    if (static_cast<int>(shows.size()) != frames) {
        std::fprintf(stderr, "only %zu of %d frames were shown\n", shows.size(), frames);
        return 1;
    }

    std::vector<double> intervals;
    for (int i = 1; i < frames; ++i) intervals.push_back((shows[i].ns - shows[i - 1].ns) / 1e6);
    std::vector<double> lateness;
    for (const Show& show : shows) {
        const double on_clock = (show.ns - tick_start_ns) / 1e6 + tick_start;
        lateness.push_back(on_clock - show.due_ms);
    }
    const double mean = (shows.back().ns - shows.front().ns) / 1e6 / (frames - 1);
    std::printf("frames            %d\n", frames);
    std::printf("mean period       %.3f ms\n", mean);
    std::printf("interval median   %.3f ms\n", percentile(intervals, 0.5));
    std::printf("interval p99      %.3f ms\n", percentile(intervals, 0.99));
    std::printf("interval max      %.3f ms\n", percentile(intervals, 1.0));
    std::printf("lateness median   %.3f ms\n", percentile(lateness, 0.5));
    std::printf("lateness p99      %.3f ms\n", percentile(lateness, 0.99));
    std::printf("lateness max      %.3f ms\n", percentile(lateness, 1.0));
    return 0;
}
