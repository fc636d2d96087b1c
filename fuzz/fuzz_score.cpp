// libFuzzer target: the score parser over arbitrary text, and a short render
// of whatever it accepts, so the player never meets a score it cannot play.
#include <cstdint>
#include <memory>
#include <vector>

#include "vorbel/score.h"
#include "vorbel/synth.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static auto score = std::make_unique<vorbel::Score>();
    std::vector<uint8_t> text(data, data + size);
    vorbel::ScoreError error;
    if (!vorbel::parse_score(text.data(), text.size(), score.get(), &error)) return 0;
    vorbel::TunePlayer player;
    player.start(score.get(), 8000, true, static_cast<uint32_t>(size % 977), size % 2 == 0);
    int32_t mix[2 * 256] = {};
    for (int i = 0; i < 8; ++i) player.render_add(mix, 256);
    return 0;
}
