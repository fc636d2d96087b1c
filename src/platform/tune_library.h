// The tune library's six calls, bound to the game's resources and the host's
// audio device: plays one tune at a time from "VBTUNE" resources (the score
// format is described in vorbel/score.h; parser and synthesizer live in
// src/vorbel) and lends the device to the sound effects.
#pragma once

#include "platform/messages.h"
#include "platform/sound.h"

// Starts the library and opens the audio device through the host.
//   window:     the owner window; kept for the caller's sake, nothing is drawn.
//   channels:   1 or 2; with 1 every voice of a tune sounds in the centre,
//               with 2 the voices keep their places left and right.
//   rate:       the device's sample rate, 8000 to 48000 Hz; tunes are
//               synthesized at this rate.
//   bits:       8 or 16, the least sample depth the caller accepts; the
//               device always mixes and plays 16-bit samples.
//   latency:    the longest delay, in seconds, the caller accepts between
//               starting a sound and hearing it (above 0, at most 1); the
//               device is pulled in blocks of at most that many samples,
//               and never more than 512 (about 23 ms at 22050 Hz).
//   effects:    1 lends the device to the sound effects through
//               vorbel_GetDirectSound; 0 keeps it for the music alone.
//   flags:      reserved, 0.
// Returns 1 when the device is open. 0 when an argument is out of range,
// the library is already started, or no audio device could be had: then one
// line on standard error says why, tunes still load and the game is silent.
int vorbel_Ready(WindowHandle window, int channels, int rate, int bits, float latency, int effects,
                 int flags);
// The open device when vorbel_Ready lent it to the effects, else none.
SoundDevice* vorbel_GetDirectSound();
// Loads the score stored as resource `type`/`name` of `module`, which must
// be 0 (the program's own resources); the tune playing is stopped first.
// Nonzero when the score loaded; 0 when it is missing or malformed, and then
// no tune is loaded until the next successful load.
int vorbel_Tune_Load(int module, const char* type, const char* name);
// Starts the loaded tune.
//   start_tick: where to begin, in ticks of the score from its start (48 to
//               a quarter note); 0 is the beginning.
//   play_once:  0 ends the tune as its score says (looping back to the loop
//               point, or falling silent after a "mode once" score); 1 plays
//               even a looping score once through and then falls silent.
// 1 when a tune starts; 0 when none is loaded or an argument is out of range.
int vorbel_Tune_Play(int start_tick, int play_once);
// Silences the music at once. Returns 1.
int vorbel_Tune_Stop();
// Closes the device and forgets the tune; the effects must be released first.
void vorbel_Release();
