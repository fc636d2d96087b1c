// Corrections that make a sampled pulse or triangle band-limited: for an
// edge that lies a fraction of a sample before sample n, tap i of a table
// row is added (scaled by the size of the jump) to sample n - EDGE_HALF + 1 + i.
// Rows are EDGE_PHASES + 1 positions of the edge from 0 to 1 sample before n;
// values are in units of 1 / 65536. Made by tools/sounds/make_edge_tables.
#pragma once

#include <cstdint>

namespace vorbel {

constexpr int EDGE_HALF = 16;
constexpr int EDGE_TAPS = 2 * EDGE_HALF;  // the last tap is always 0
constexpr int EDGE_PHASE_BITS = 6;
constexpr int EDGE_PHASES = 1 << EDGE_PHASE_BITS;

// The filtered unit step minus the ideal one: for a jump of the wave.
extern const int32_t EDGE_STEP_CORRECTION[EDGE_PHASES + 1][EDGE_TAPS];
// The filtered unit ramp minus the ideal one: for a jump of the slope (in
// wave units per sample).
extern const int32_t EDGE_RAMP_CORRECTION[EDGE_PHASES + 1][EDGE_TAPS];

}  // namespace vorbel
