// The pulse and triangle voices hold no stray tones: on a sustained note the
// power away from the note's harmonics stays 50 dB or more below the music,
// at every rate the library accepts, while the waves keep their shape; and a
// rendered tune is the same, byte for byte, everywhere.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/tune_render.h"
#include "sound_test_host.h"
#include "support/harmonics.h"
#include "support/sim_process.h"
#include "vorbel/synth.h"

namespace {

using vorbel::Wave;

constexpr int kA2 = 45;
constexpr int kC7 = 96;
constexpr int kRates[] = {8000, 11025, 22050, 32000, 44100, 48000};

struct Voice {
    Wave wave;
    int duty;  // percent, for a pulse
};

std::string describe(const Voice& voice, int pitch, int rate) {
    return (voice.wave == Wave::Pulse ? "pulse " + std::to_string(voice.duty) + "%" : "triangle") +
           ", note " + std::to_string(pitch) + ", " + std::to_string(rate) + " Hz";
}

// One voice holding one note at full volume with no vibrato; the samples of
// its sustain, after the attack has long settled.
std::vector<double> sustain(const Voice& voice, int pitch, int rate) {
    // The note is written as the C of its octave raised pitch % 12 semitones.
    const auto score = compile_score(
        "vbtune 1\ntempo 60\nmode once\nvoice a " +
        std::string(voice.wave == Wave::Pulse ? "pulse" : "triangle") +
        " vol=15 gate=100 env=0,0,15,0 duty=" + std::to_string(voice.duty) + "\na: o" +
        std::to_string(pitch / 12 - 1) + " c" + std::string(pitch % 12, '+') + "1\n");
    constexpr int kSettle = 2048;
    const int frames = kSettle + harmonics::kWindow;
    std::vector<int32_t> mix(2 * static_cast<size_t>(frames), 0);
    vorbel::TunePlayer player;
    player.start(score.get(), rate, false, 0, true);
    player.render_add(mix.data(), frames);
    std::vector<double> out(harmonics::kWindow);
    for (int i = 0; i < harmonics::kWindow; ++i) out[i] = mix[2 * (kSettle + i)];
    return out;
}

double cycles_per_sample(int pitch, int rate) {
    return vorbel::note_step(pitch, rate) / 4294967296.0;
}

double db(double ratio) {
    return 20.0 * std::log10(ratio);
}

TEST(BandLimit, NoNoteHasStrayTonesWithin50dBOfItsHarmonics) {
    const Voice voices[] = {{Wave::Pulse, 50}, {Wave::Pulse, 25}, {Wave::Pulse, 12},
                            {Wave::Pulse, 3},  {Wave::Pulse, 81}, {Wave::Triangle, 50}};
    for (int rate : kRates) {
        // Every note at the game's own rate; every third at the others.
        const int stride = rate == 22050 ? 1 : 3;
        for (const Voice& voice : voices) {
            double worst = -1000;
            int worst_pitch = 0;
            for (int pitch = kA2; pitch <= kC7; pitch += stride) {
                const auto a =
                    harmonics::analyse(sustain(voice, pitch, rate), cycles_per_sample(pitch, rate));
                if (a.other_db() > worst) {
                    worst = a.other_db();
                    worst_pitch = pitch;
                }
            }
            EXPECT_LE(worst, -50.0) << describe(voice, worst_pitch, rate);
        }
    }
}

TEST(BandLimit, WavesKeepTheirShape) {
    // A half-duty pulse has odd harmonics falling as 1/n; a triangle, odd
    // harmonics falling as 1/n^2. Both hold wherever the fifth harmonic is
    // below a third of the rate, clear of the roll-off at the top.
    for (int rate : {11025, 22050, 48000}) {
        for (int pitch = kA2; pitch <= kC7; pitch += 2) {
            const double f = cycles_per_sample(pitch, rate);
            if (5 * f > 1.0 / 3) break;
            const auto pulse = harmonics::analyse(sustain({Wave::Pulse, 50}, pitch, rate), f);
            const auto triangle = harmonics::analyse(sustain({Wave::Triangle, 50}, pitch, rate), f);
            const std::string where = describe({Wave::Pulse, 50}, pitch, rate);
            EXPECT_NEAR(db(pulse.amplitude[3] / pulse.amplitude[1]), db(1.0 / 3), 1.0) << where;
            EXPECT_NEAR(db(pulse.amplitude[5] / pulse.amplitude[1]), db(1.0 / 5), 1.0) << where;
            EXPECT_LT(pulse.amplitude[2], pulse.amplitude[1] * 1e-3) << where;
            EXPECT_NEAR(db(triangle.amplitude[3] / triangle.amplitude[1]), db(1.0 / 9), 1.0)
                << where;
        }
    }
}

TEST(BandLimit, ARenderedTuneIsTheSameEverywhere) {
    // Integer arithmetic and fixed tables: these bytes may change only when
    // the synthesizer's sound or the mixer's output stage is changed on
    // purpose.
    const std::string path = make_scratch_dir("band_limit") + "/boss.wav";
    ASSERT_EQ(vorbel_render_tune("VBTUNE_BOSS", 4.0, path.c_str()), 1) << vorbel_last_error();
    const std::string bytes = read_file_bytes(path);
    ASSERT_EQ(bytes.size(), 44u + 4u * 4 * 22050);
    EXPECT_EQ(fnv1a(std::vector<uint8_t>(bytes.begin(), bytes.end())), 0xd976cbd6u);
    // A tune that is not there, or a file that cannot be written, is refused.
    EXPECT_EQ(vorbel_render_tune("VBTUNE_NOWHERE", 1.0, path.c_str()), 0);
    EXPECT_EQ(vorbel_render_tune("VBTUNE_END2", 1.0, "/nonexistent/dir/x.wav"), 0);
}

}  // namespace
