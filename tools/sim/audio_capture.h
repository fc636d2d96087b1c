// --audio: everything the game played during the run, music and effects
// mixed as the player hears them, written as a 16-bit stereo PCM WAVE at the
// mixer's rate. The headless host pulls the mix as the virtual clock moves,
// so the WAVE lasts exactly as long as the run's virtual time and is the
// same on every run.
#pragma once

#include <cstdint>
#include <string>

// Opens the WAVE: a file that appears only once it is whole, or a device or
// pipe written directly (its sizes are then left at their largest, as a
// streamed WAVE's are). False after saying why.
bool open_audio_capture(const std::string& path);

// The headless host's audio observer: appends `frames` stereo frames.
void capture_audio(const int16_t* samples, int frames, int rate, void* user);

// Finishes the WAVE with its true sizes; false after saying why, with no
// partial file left. Nothing to do when no capture was opened.
bool close_audio_capture(const std::string& path);

// Gives the capture up, leaving no file behind.
void abandon_audio_capture();
