#include <cstdio>

#include "replay/build_identity.h"
#include "replay/key_script.h"
#include "replay/quoted.h"

void note_other_build(const KeyScript& script, const std::string& path, const char* program) {
    static bool said = false;
    if (said || script.build.empty() || script.build == build_identity()) return;
    said = true;
    std::fprintf(stderr,
                 "%s: %s was recorded by build %s, this is build %s; it may play out differently\n",
                 program, path.c_str(), quoted(script.build).c_str(), build_identity());
}
