// The runner's own player. Each frame it reads the running mode's objects
// and posts key messages through the host's queue, exactly where a key
// script's messages go, so a recorded run replays as a plain script. It may
// look ahead by forking the process: a look-ahead child plays on silently
// (no trace, no shots, no files) and reports back through a pipe.
#pragma once

// Turns the player on; call before the game starts.
void start_autoplay();
bool autoplay_enabled();

// Called as every present begins (after the frame's work, before its pump):
// decides and posts the keys that the next frame's work will see.
void autoplay_frame(int frame);

// True inside a look-ahead child: it must not write anything anywhere.
bool autoplay_in_lookahead();
// Ends a look-ahead child whose game ran out before it could report.
[[noreturn]] void end_lookahead_child();

// Writes every key message the player posted as a key script. False (with
// a reason on standard error) when the file cannot be written or the record
// overflowed.
bool write_autoplay_script(const char* path);
