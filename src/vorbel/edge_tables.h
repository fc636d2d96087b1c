// Corrections that make a sampled pulse or triangle band-limited: for an
// edge that lies a fraction of a sample before sample n, tap i of a table
// row is added (scaled by the size of the jump) to sample n - kEdgeHalf + 1 + i.
// Rows are kEdgePhases + 1 positions of the edge from 0 to 1 sample before n;
// values are in units of 1 / 65536. Made by tools/sounds/make_edge_tables.
#pragma once

#include <cstdint>

namespace vorbel {

constexpr int kEdgeHalf = 16;
constexpr int kEdgeTaps = 2 * kEdgeHalf;  // the last tap is always 0
constexpr int kEdgePhaseBits = 6;
constexpr int kEdgePhases = 1 << kEdgePhaseBits;

// The filtered unit step minus the ideal one: for a jump of the wave.
extern const int32_t kStepCorrection[kEdgePhases + 1][kEdgeTaps];
// The filtered unit ramp minus the ideal one: for a jump of the slope (in
// wave units per sample).
extern const int32_t kRampCorrection[kEdgePhases + 1][kEdgeTaps];

}  // namespace vorbel
