#include "platform/output_level.h"

#include <atomic>
#include <cmath>
#include <cstring>

namespace {

constexpr int32_t FULL_GAIN = 32768;

// Set on the game thread, read by the audio callback's thread.
std::atomic<int32_t> gain{FULL_GAIN};
std::atomic<bool> held{false};

}  // namespace

void set_output_gain(int32_t g) {
    gain.store(g < 0 ? 0 : g > FULL_GAIN ? FULL_GAIN : g);
}

void hold_output(bool h) {
    held.store(h);
}

bool output_held() {
    return held.load();
}

void apply_output_gain(int16_t* out, int frames) {
    const int32_t g = gain.load();
    if (g == FULL_GAIN) return;
    if (g == 0) {
        std::memset(out, 0, sizeof(int16_t) * 2 * static_cast<size_t>(frames));
        return;
    }
    for (int i = 0; i < 2 * frames; ++i) out[i] = static_cast<int16_t>((out[i] * g) >> 15);
}

int32_t volume_gain(int volume, int steps, bool muted) {
    if (muted || volume <= 0 || steps <= 0) return 0;
    if (volume >= steps) return FULL_GAIN;
    return static_cast<int32_t>(
        std::lround(FULL_GAIN * std::pow(10.0, -3.0 * (steps - volume) / 20)));
}
