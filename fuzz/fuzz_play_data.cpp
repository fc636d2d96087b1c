// libFuzzer target: play-data files of arbitrary contents and length, read
// by the game's loader and converted for showing as the best score.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "platform/play_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An empty buffer cannot back a stream; one spare byte stands for it.
    std::vector<uint8_t> bytes(data, data + size);
    bytes.push_back(0);
    std::FILE* stream = fmemopen(bytes.data(), size == 0 ? 1 : size, "rb");
    if (!stream) return 0;
    if (size == 0) std::fgetc(stream);
    read_play_data(stream);
    std::fclose(stream);
    const int shown = best_score_for_display();
    if (shown < -1 || shown > 1000) __builtin_trap();
    return 0;
}
