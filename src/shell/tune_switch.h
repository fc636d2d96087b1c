// Changing the music: stop, load (reporting a failure), play.
#pragma once

#include "platform/messages.h"

// vorbel_Tune_Load with the "ERROR" box on failure; returns its result.
int load_tune_or_report(WindowHandle window, const char* name);
// vorbel_Tune_Stop, load_tune_or_report, vorbel_Tune_Play(0, 0).
void switch_tune(WindowHandle window, const char* name);
// The error box the user sees for a failed step.
void show_error_box(WindowHandle window, const char* step);
