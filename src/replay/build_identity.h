// Which build of the game this is, so that a recording can say which build
// made it. Recordings replay exactly only on the build that made them: any
// change to the game's rules or drawing may change what the same keys do.
#pragma once

#include <string>

struct KeyScript;

// `git describe --always --dirty` of the tree the game was built from, or the
// version where it was built without git; generated at build time.
const char* build_identity();

// Says once, on standard error, that `script` (read from `path`) was
// recorded by another build. Silent for a script that names no build.
void note_other_build(const KeyScript& script, const std::string& path, const char* program);
