#include "platform/mix_output.h"

namespace {

// The running mean follows the input by 1/2^shift per sample, which makes
// the high-pass's corner rate / (2 pi 2^shift). The smallest shift that puts
// the corner at or below 20 Hz: 13.7 Hz at 22050 Hz, 14.9 Hz at 48000 Hz.
int corner_shift(int rate) {
    int shift = 1;
    while (shift < 16 && static_cast<int64_t>(rate) * 1000 > 125664 * (int64_t{1} << shift))
        ++shift;  // 125664 = 2 pi 20 Hz, in thousandths
    return shift;
}

}  // namespace

int32_t soft_limit(int64_t sample) {
    const int64_t magnitude = sample < 0 ? -sample : sample;
    if (magnitude <= MIX_KNEE) return static_cast<int32_t>(sample);
    constexpr int64_t room = MIX_CEILING - MIX_KNEE;
    const int64_t over = magnitude - MIX_KNEE;
    const int64_t bent = MIX_KNEE + room * over / (over + room);
    return static_cast<int32_t>(sample < 0 ? -bent : bent);
}

void MixOutput::reset(int new_rate) {
    rate = new_rate;
    dc_shift = corner_shift(new_rate);
    dc[0] = dc[1] = 0;
}

void MixOutput::process(const int32_t* sums, int16_t* out, int frames) {
    for (int i = 0; i < 2 * frames; ++i) {
        int64_t& mean = dc[i & 1];
        const int64_t x = sums[i];
        mean += (x * 65536 - mean) >> dc_shift;
        const int64_t passed = x - ((mean + 32768) >> 16);
        out[i] = static_cast<int16_t>(soft_limit((passed * MIX_HEADROOM_GAIN + 32768) >> 16));
    }
}
