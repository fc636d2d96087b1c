#include "sim/trace_modes.h"

int stage_trace_phase() { return -1; }

void stage_trace_objects(JsonOut&) {}
