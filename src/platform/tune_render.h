// What the runner and the tests need from the tune library beyond the game's
// six calls.
#pragma once

#include <cstddef>
#include <cstdint>

// The rate tunes are rendered at when the library has no device open.
constexpr int VORBEL_DEFAULT_RATE = 22050;

// Loads the tune resource VBTUNE/`name` as vorbel_Tune_Load does, starts it
// as vorbel_Tune_Play(0, 0) does and writes `seconds` of its output, through
// the same synthesizer and mixer, as a 16-bit stereo PCM WAVE at the library's
// output rate. 1 on success; 0 when the tune does not load or the file
// cannot be written (vorbel_last_error then says why; the WAVE appears only
// once it is whole).
int vorbel_render_tune(const char* name, double seconds, const char* wav_path);

// Renders a score given as `size` bytes of text, as vorbel_render_tune does
// a resource. 1 on success; 0 when the file cannot be written; -1 when the
// text is not a valid score: then `fault_line` (when given) is the line at
// fault and vorbel_last_error says "line N: why".
int vorbel_render_score(const uint8_t* text, size_t size, double seconds, const char* wav_path,
                        int* fault_line);

// Why the last failed load or render failed ("" after a success).
const char* vorbel_last_error();
