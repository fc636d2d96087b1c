// The master level of the sound card's output, set by the host from the
// player's volume, mute and pause, and applied once to the finished mix.
// While the output is held (a pause) the mix is not even made: the music
// stands where it was and goes on from there when the pause ends.
#pragma once

#include <cstdint>

// `gain` is in 1/32768ths: 32768 leaves the mix as made, 0 silences it.
void set_output_gain(int32_t gain);
void hold_output(bool held);
bool output_held();

// Scales `frames` stereo frames in place by the gain (nothing at full gain).
void apply_output_gain(int16_t* out, int frames);

// The gain of volume step `volume` (0 to `steps`): about 3 dB a step, the
// last step full and step 0 silent.
int32_t volume_gain(int volume, int steps, bool muted);
