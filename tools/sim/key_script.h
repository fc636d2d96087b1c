// The runner's key script: one message per line, "<N> down|up|press <KEY>",
// "<N> close", "<N> menu", "<N> quit"; '#' starts a comment.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/headless_host.h"

// Parses a whole script. On failure returns false and describes the first
// bad line in `error` ("line 3: unknown key 'Q'").
bool parse_key_script(const char* text, size_t length, std::vector<ScriptedMessage>* out,
                      std::string* error);

// The virtual-key code of a key name ("LEFT", "SPACE", "0x51"); -1 if unknown.
int key_code_from_name(const std::string& name);
// The name a key script uses for a virtual-key code.
std::string key_name_from_code(uint32_t code);
