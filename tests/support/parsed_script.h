// A key script a test reads: one that does not parse fails the test, with
// the parser's reason.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "replay/key_script.h"

inline KeyScript parsed_script(const std::string& text) {
    KeyScript script;
    std::string error;
    EXPECT_TRUE(parse_key_script(text.data(), text.size(), &script, &error)) << error;
    return script;
}
