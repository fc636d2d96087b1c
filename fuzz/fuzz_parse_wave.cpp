// libFuzzer target: parse_wave over arbitrary bytes, bounded by their size.
// The input is copied to a buffer of exactly its size so that any read past
// the end is caught by the address sanitizer.
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/sound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    WaveFormat format;
    const uint8_t* samples = nullptr;
    uint32_t count = 0;
    if (parse_wave(bytes.data(), bytes.size(), &format, &samples, &count)) {
        // What it delivers must lie inside the input.
        if (samples < bytes.data() || samples + count > bytes.data() + bytes.size())
            __builtin_trap();
        volatile uint8_t sink = 0;
        for (uint32_t i = 0; i < count; ++i) sink = sink ^ samples[i];
    }
    return 0;
}
