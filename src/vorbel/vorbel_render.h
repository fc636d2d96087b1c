// Offline rendering of a tune, for listening and measuring without a device.
#pragma once

// Loads the tune resource `name` as the game does, plays it, and writes
// `seconds` of the library's output to `wav_path` as 16-bit PCM WAVE.
// Returns 1 on success, 0 when the tune does not load or the file fails.
int vorbel_render_tune(const char* name, double seconds, const char* wav_path);
