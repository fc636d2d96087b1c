// The copying floor every frame benchmark is read against: four full-screen
// memcpys, measured in the same run as the frames beside it.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/display.h"

inline void BM_CopyingFloorFourScreens(benchmark::State& state) {
    const size_t bytes = SCREEN_WIDTH * SCREEN_HEIGHT * 4;
    std::vector<uint8_t> a(bytes, 1), b(bytes, 2);
    for (auto _ : state) {
        for (int i = 0; i < 4; ++i) {
            std::memcpy(i % 2 ? a.data() : b.data(), i % 2 ? b.data() : a.data(), bytes);
            benchmark::ClobberMemory();
        }
    }
}
