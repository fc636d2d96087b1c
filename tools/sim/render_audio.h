// --render-tune and --render-score: music written to a WAVE file instead of
// running the game.
#pragma once

#include "sim/sim.h"

// A built-in tune: 0 when the WAVE is written; 1, saying why on standard
// error, when the tune does not load or the file cannot be written.
int run_render_tune(const SimOptions& options);

// A score file: 0 when the WAVE is written; 2, saying why, when the file
// cannot be read or the score has a fault (its line and the reason); 1 when
// the WAVE cannot be written.
int run_render_score(const SimOptions& options);
