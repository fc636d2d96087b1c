#include "sim/trace_modes.h"

int boss_trace_phase() { return -1; }

void boss_trace_objects(JsonOut&) {}
