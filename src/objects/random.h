// The game's random numbers: its own linear congruential generator, so the
// sequence is the same on every host and every run from the same state.
#pragma once

#include <cstdint>

// A number from lo to hi, both included.
int random_range(int lo, int hi);
// Draws and discards (milliseconds of the current second / 10) numbers.
void random_warm_up();
// The generator's state; the program starts it at 1 and never seeds it.
uint32_t random_seed();
void set_random_seed(uint32_t seed);
