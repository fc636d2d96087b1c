// What the trace shows of each mode: its phase and its named objects. Each
// mode's file reads that mode's own globals.
#pragma once

#include "sim/json_out.h"

int title_trace_phase();
void title_trace_objects(JsonOut& out);
int stage_trace_phase();
void stage_trace_objects(JsonOut& out);
int boss_trace_phase();
void boss_trace_objects(JsonOut& out);
int ending_trace_phase();
void ending_trace_objects(JsonOut& out);
