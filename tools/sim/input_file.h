// Reading the runner's inputs: the key script and score files.
#pragma once

#include <string>

// A readable regular file of at most 64 MiB, so neither a folder, a device
// that never ends nor a pipe nobody writes can stall the run. False with the
// reason in `why`.
bool read_input(const std::string& path, std::string* out, std::string* why);
