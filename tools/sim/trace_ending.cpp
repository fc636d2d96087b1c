#include "modes/ending_state.h"
#include "sim/trace_modes.h"

int ending_trace_phase() {
    return ending::ending_step;
}

void ending_trace_objects(JsonOut& out) {
    out.named_pool("ending_objects", ending::ending_objects, ending::END_MARK_SLOT + 1);
}
