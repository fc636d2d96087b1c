// The SDL host's clock. It counts whole milliseconds of CLOCK_MONOTONIC since
// the host was installed, and a sleep ends on those same millisecond ticks:
// sdl_sleep_ms(1) wakes just as the count moves on, so a frame waiting on
// its due tick is shown within the wake-up latency of it rather than up to a
// further millisecond late, and the 20 ms schedule stays absolute.
#include <poll.h>
#include <sys/prctl.h>

#include <cerrno>
#include <ctime>

#include "hosts/sdl/sdl_parts.h"

namespace {

constexpr int64_t NS_PER_MS = 1000000;
int64_t clock_origin_ns = 0;

int64_t monotonic_ns() {
    timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

}  // namespace

void start_sdl_clock() {
    clock_origin_ns = monotonic_ns();
    // Wake from sleeps on time: the default slack of 50 us is a twentieth
    // of the frame's millisecond steps.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
}

uint32_t sdl_ticks_ms() {
    return static_cast<uint32_t>((monotonic_ns() - clock_origin_ns) / NS_PER_MS);
}

void sdl_sleep_ms(uint32_t ms) {
    const int64_t elapsed_ms = (monotonic_ns() - clock_origin_ns) / NS_PER_MS;
    const int64_t wake = clock_origin_ns + (elapsed_ms + ms) * NS_PER_MS;
    timespec until = {static_cast<time_t>(wake / 1000000000), static_cast<long>(wake % 1000000000)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

bool sdl_sleep_until_tick(uint32_t due_ms, int watched_fd) {
    const int64_t now = monotonic_ns();
    const int64_t elapsed_ms = (now - clock_origin_ns) / NS_PER_MS;
    const int32_t ahead = static_cast<int32_t>(due_ms - static_cast<uint32_t>(elapsed_ms));
    if (ahead <= 0) return true;
    const int64_t wake = clock_origin_ns + (elapsed_ms + ahead) * NS_PER_MS;
    if (watched_fd >= 0) {
        const int64_t left = wake - now;
        const timespec timeout = {static_cast<time_t>(left / 1000000000),
                                  static_cast<long>(left % 1000000000)};
        pollfd watched = {watched_fd, POLLIN, 0};
        const int ready = ppoll(&watched, 1, &timeout, nullptr);
        // A broken connection would be ready at once forever: sleep instead.
        if (ready <= 0 || !(watched.revents & (POLLERR | POLLHUP | POLLNVAL))) return ready == 0;
    }
    const timespec until = {static_cast<time_t>(wake / 1000000000),
                            static_cast<long>(wake % 1000000000)};
    return clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == 0;
}

int sdl_local_milliseconds() {
    timespec now = {};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<int>(now.tv_nsec / 1000000);
}
