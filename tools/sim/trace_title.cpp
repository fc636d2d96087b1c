#include "modes/title_state.h"
#include "sim/trace_modes.h"

int title_trace_phase() {
    return title_phase;
}

void title_trace_objects(JsonOut& out) {
    out.named_object("maker_logo", title::maker_logo);
    out.named_object("library_logo", title::library_logo);
    out.named_object("title_prompt", title::title_prompt);
    out.named_object("title_cat", title::title_cat);
    out.named_object("title_planet", title::title_planet);
}
