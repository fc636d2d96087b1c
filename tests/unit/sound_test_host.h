// A host for the sound and tune-library tests: no window, an audio device
// that opens (or refuses to) on demand and is never pulled, and a record of
// what the sound code told the host. With it, what the sound suites share:
// a device fixture for the effects, a WAVE builder, the shipped resources
// and the measures of what the player hears.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/audio_device.h"
#include "platform/host.h"
#include "platform/resources.h"
#include "platform/sound.h"
#include "support/measure.h"  // fnv1a pins bytes; rms and mean measure what is heard
#include "vorbel/score.h"

struct SoundTestHost {
    bool audio_available = true;
    bool audio_open = false;
    int open_rate = 0;
    int open_frames = 0;
    int lock_depth = 0;
    int max_lock_depth = 0;
    std::vector<int> sounds;
    std::vector<std::string> tune_calls;
};

inline SoundTestHost& sound_test_host() {
    static SoundTestHost state;
    return state;
}

// Only the audio and the trace's observation points: the sound code calls
// nothing else of the host.
inline void install_sound_test_host() {
    static const Host h = [] {
        Host x{};
        x.open_audio = [](int rate, int frames, AudioCallback, void*, char* reason, int size) {
            SoundTestHost& s = sound_test_host();
            if (!s.audio_available) {
                std::snprintf(reason, static_cast<size_t>(size), "no device in this test");
                return false;
            }
            s.audio_open = true;
            s.open_rate = rate;
            s.open_frames = frames;
            return true;
        };
        x.lock_audio = [] {
            SoundTestHost& s = sound_test_host();
            if (++s.lock_depth > s.max_lock_depth) s.max_lock_depth = s.lock_depth;
        };
        x.unlock_audio = [] { --sound_test_host().lock_depth; };
        x.close_audio = [] { sound_test_host().audio_open = false; };
        x.note_sound = [](int slot) { sound_test_host().sounds.push_back(slot); };
        x.note_tune_call = [](const char* call) { sound_test_host().tune_calls.push_back(call); };
        return x;
    }();
    sound_test_host() = SoundTestHost{};
    install_host(&h);
}

// RIFF, WAVE, a 16-byte fmt chunk, then the given chunks (no pad bytes).
inline std::vector<uint8_t> wave_file(
    uint16_t tag, uint16_t channels, uint16_t bits, uint32_t rate,
    const std::vector<std::pair<const char*, std::vector<uint8_t>>>& chunks) {
    const char head[] = "RIFF\0\0\0\0WAVEfmt \x10\0\0\0";
    std::vector<uint8_t> b(head, head + 20);
    auto put = [&b](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    put(tag, 2);
    put(channels, 2);
    put(rate, 4);
    put(rate * channels * bits / 8, 4);
    put(channels * bits / 8, 2);
    put(bits, 2);
    for (const auto& [id, body] : chunks) {
        b.insert(b.end(), id, id + 4);
        put(static_cast<uint32_t>(body.size()), 4);
        b.insert(b.end(), body.begin(), body.end());
    }
    for (int i = 0; i < 4; ++i) b[4 + i] = static_cast<uint8_t>((b.size() - 8) >> (8 * i));
    return b;
}

// A shipped resource's bytes.
inline std::vector<uint8_t> shipped(const char* type, const char* name) {
    ResourceData data;
    EXPECT_TRUE(find_resource(type, name, &data)) << name;
    return std::vector<uint8_t>(data.bytes, data.bytes + data.size);
}

// A score compiled from its text; a refusal fails the test with the reason.
inline std::unique_ptr<vorbel::Score> compile_score(const std::vector<uint8_t>& text) {
    auto score = std::make_unique<vorbel::Score>();
    vorbel::ScoreError error;
    EXPECT_TRUE(vorbel::parse_score(text.data(), text.size(), score.get(), &error))
        << error.message;
    return score;
}

inline std::unique_ptr<vorbel::Score> compile_score(const std::string& text) {
    return compile_score(std::vector<uint8_t>(text.begin(), text.end()));
}

const char* const kLoopingTunes[] = {"VBTUNE_TITLE", "VBTUNE_BATTLE", "VBTUNE_BOSS",
                                     "VBTUNE_ENDING"};
const char* const kPlayOnceTunes[] = {"VBTUNE_END1", "VBTUNE_END2"};

// The effects' slots on an open device of their own, as the game drives them.
class SoundDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        install_sound_test_host();
        device_.open = true;
        set_sound_device(&device_);
    }
    void TearDown() override {
        release_sounds();
        set_sound_device(nullptr);
        use_embedded_resources();
    }
    // The voices' sum as the mixer adds it, before the output stage.
    std::vector<int32_t> sums(int frames) {
        std::vector<int32_t> out(2 * static_cast<size_t>(frames));
        device_.add_voices(out.data(), frames);
        return out;
    }
    // What the card is given: the sum through the output stage.
    std::vector<int16_t> mix(int frames) {
        std::vector<int16_t> out(2 * static_cast<size_t>(frames));
        device_.mix(out.data(), frames);
        return out;
    }
    SoundDevice device_;
};
