#include "objects/random.h"

#include "platform/host.h"

namespace {

uint32_t seed = 1;

}  // namespace

int random_range(int lo, int hi) {
    seed = seed * 214013u + 2531011u;
    const int r = static_cast<int>((seed >> 16) & 0x7FFF);
    const int64_t span = static_cast<int64_t>(hi) - lo + 1;
    // An empty range has no value to give; the game never asks for one.
    if (span == 0) return lo;
    return static_cast<int>(r % span + lo);
}

void random_warm_up() {
    const int draws = host().local_milliseconds() / 10;
    for (int i = 0; i < draws; ++i) random_range(1, 8);
}

uint32_t random_seed() {
    return seed;
}

void set_random_seed(uint32_t s) {
    seed = s;
}
