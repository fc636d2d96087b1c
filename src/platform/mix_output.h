// The last stage of the mix, between the summed voices and the sound card.
//
// Music and effects add up in 32 bits; this stage turns the sum into the 16
// bits the card plays, in three steps per channel:
//   1. a DC-blocking high-pass (one pole, 10 to 20 Hz) takes away any
//      constant offset, so none reaches the speaker or spends headroom;
//   2. a fixed headroom gain, chosen so that a tune with all three effects
//      at once stays below the limiter's knee in play;
//   3. a soft limiter without memory: samples below the knee pass as they
//      are, louder ones bend smoothly towards full scale and never reach it.
//      It has no envelope, so nothing pumps: a quiet passage after a loud
//      one plays at its own level at once.
// Integer arithmetic only, so the same sum gives the same samples anywhere.
#pragma once

#include <cstdint>

// The headroom gain, in 1/65536: 0.625, about -4.1 dB.
constexpr int32_t MIX_HEADROOM_GAIN = 40960;
// Where the limiter starts to bend (0.75 of full scale) and the level it
// approaches but never reaches.
constexpr int32_t MIX_KNEE = 24576;
constexpr int32_t MIX_CEILING = 32767;

// The limiter's curve on one sample (after the gain): the identity up to the
// knee, then knee + R * d / (d + R) for d above it (R = ceiling - knee),
// which leaves the knee at slope 1 and stays below the ceiling. The result
// lies within -(MIX_CEILING - 1) .. MIX_CEILING - 1.
int32_t soft_limit(int64_t sample);

struct MixOutput {
    int rate = 0;  // the rate the filter was set up for; 0: not yet
    int dc_shift = 8;
    int64_t dc[2] = {};  // each channel's running mean, in 1/65536

    // Forgets the filter's state and sets its corner for `rate`.
    void reset(int rate);
    // Turns `frames` interleaved stereo sums into output samples.
    void process(const int32_t* sums, int16_t* out, int frames);
};
