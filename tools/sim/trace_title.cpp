#include "sim/trace_modes.h"

int title_trace_phase() { return -1; }

void title_trace_objects(JsonOut&) {}
