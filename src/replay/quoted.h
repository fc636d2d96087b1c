// Quoting what the user gave in a one-line message: at most the first 60
// characters, with control characters escaped, so a bad line can neither
// flood the terminal nor drive it.
#pragma once

#include <cstdio>
#include <string>

inline std::string quoted(const std::string& text) {
    constexpr size_t SHOWN = 60;
    std::string out = "'";
    for (size_t i = 0; i < text.size() && i < SHOWN; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    if (text.size() > SHOWN) out += "...";
    return out + "'";
}
