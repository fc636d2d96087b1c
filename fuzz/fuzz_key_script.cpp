// libFuzzer target: the key-script parser over arbitrary text, recordings'
// time lines and play records included. A script it accepts must have
// frames that never decrease, known messages and times within a second.
#include <cstdint>
#include <string>
#include <vector>

#include "replay/key_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    KeyScript script;
    std::string error;
    if (parse_key_script(reinterpret_cast<const char*>(data), size, &script, &error)) {
        int last = 0;
        for (const ScriptedTime& t : script.times) {
            if (t.frame < last || t.ms < 0 || t.ms > 999) __builtin_trap();
            last = t.frame;
        }
        if (!script.play_data.empty() && script.play_data.size() != 72) __builtin_trap();
        last = 0;
        for (const ScriptedMessage& m : script.messages) {
            if (m.frame < last) __builtin_trap();
            last = m.frame;
            const uint32_t id = m.message.id;
            if (id != WM_KEYDOWN && id != WM_KEYUP && id != WM_CLOSE && id != WM_COMMAND &&
                id != WM_QUIT)
                __builtin_trap();
        }
    } else if (error.empty()) {
        __builtin_trap();
    }
    return 0;
}
