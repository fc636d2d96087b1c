// What the runner and the tests need from the tune library beyond the game's
// six calls.
#pragma once

// The rate tunes are rendered at when the library has no device open.
constexpr int VORBEL_DEFAULT_RATE = 22050;

// Loads the tune resource VBTUNE/`name` as vorbel_Tune_Load does, starts it
// as vorbel_Tune_Play(0, 0) does and writes `seconds` of its output, through
// the same synthesizer and mixer, as a 16-bit stereo PCM WAVE at the library's
// output rate. 1 on success; 0 when the tune does not load or the file
// cannot be written (vorbel_last_error then says why).
int vorbel_render_tune(const char* name, double seconds, const char* wav_path);

// Why the last failed load or render failed ("" after a success).
const char* vorbel_last_error();
