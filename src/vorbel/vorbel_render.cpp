// Placeholder until the synthesizer lands.
#include "vorbel/vorbel_render.h"

#include <cstdio>

int vorbel_render_tune(const char* name, double, const char*) {
    std::fprintf(stderr, "zarvox-sim: tune %s does not load\n", name);
    return 0;
}
