// How fast the device mixes the busiest tune with all three effects sounding.
// The "x_realtime" counter is seconds of audio made per second of CPU.
#include <benchmark/benchmark.h>

#include <memory>

#include "platform/audio_device.h"
#include "platform/host.h"
#include "platform/resource_list.h"
#include "platform/resources.h"
#include "platform/sound.h"
#include "vorbel/score.h"

namespace {

void install_quiet_host() {
    static const Host h = [] {
        Host x{};
        x.lock_audio = [] {};
        x.unlock_audio = [] {};
        x.note_sound = [](int) {};
        x.note_tune_call = [](const char*) {};
        return x;
    }();
    install_host(&h);
}

void mix_tune_and_effects(benchmark::State& state, const char* tune, bool effects) {
    install_quiet_host();
    auto device = std::make_unique<SoundDevice>();
    auto score = std::make_unique<vorbel::Score>();
    ResourceData data;
    if (!find_resource("VBTUNE", tune, &data) ||
        !vorbel::parse_score(data.bytes, data.size, score.get(), nullptr)) {
        state.SkipWithError("the tune does not load");
        return;
    }
    set_sound_device(device.get());
    if (effects) {
        for (const NamedSlot& effect : SOUND_EFFECTS)
            DirectSound_Voice_Load_Resource(effect.name, effect.slot);
    }
    device->music.start(score.get(), device->rate, true, 0, false);
    int16_t out[2 * DEVICE_BLOCK_FRAMES];
    int64_t blocks = 0;
    for (auto _ : state) {
        // Keep every effect sounding: the shortest lasts about five blocks.
        if (effects && blocks % 4 == 0) {
            play_sound(SOUND_SHOT);
            play_sound(SOUND_BOM);
            play_sound(SOUND_LASER);
        }
        device->mix(out, DEVICE_BLOCK_FRAMES);
        benchmark::DoNotOptimize(out);
        ++blocks;
    }
    release_sounds();
    set_sound_device(nullptr);
    state.counters["x_realtime"] =
        benchmark::Counter(static_cast<double>(blocks) * DEVICE_BLOCK_FRAMES / device->rate,
                           benchmark::Counter::kIsRate);
}

void BM_BossTuneWithEffects(benchmark::State& state) {
    mix_tune_and_effects(state, "VBTUNE_BOSS", true);
}
void BM_BattleTuneWithEffects(benchmark::State& state) {
    mix_tune_and_effects(state, "VBTUNE_BATTLE", true);
}
void BM_EndingTuneAlone(benchmark::State& state) {
    mix_tune_and_effects(state, "VBTUNE_ENDING", false);
}

}  // namespace

BENCHMARK(BM_BossTuneWithEffects);
BENCHMARK(BM_BattleTuneWithEffects);
BENCHMARK(BM_EndingTuneAlone);
