// Reads painted sheets back and checks what the game relies on: sizes, depths,
// the transparent colour, painted sprite cells and empty frames.
#pragma once

#include <string>

bool check_sheets(const std::string& dir);
