// The one way the modes change the music: every stop, load and play of a
// tune goes through here, and a tune that fails to load shows the "ERROR" box.
#pragma once

#include "platform/messages.h"

// Silences the music (vorbel_Tune_Stop).
void stop_tune();
// Loads the tune (with the box on failure) and plays it from the start.
void start_tune(const char* name);
// stop_tune, then start_tune: the usual change of music.
void switch_tune(const char* name);
// The title's change: loads the new tune before it stops the old one.
void switch_tune_loading_first(const char* name);

// The error box the user sees for a failed step.
void show_error_box(const char* step);
