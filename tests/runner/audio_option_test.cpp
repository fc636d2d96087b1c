// zarvox-sim --audio: the WAVE of everything an autoplayed game played, as
// the player hears it. It lasts as long as the run's virtual time, never
// touches full scale, carries no offset, and asking for it changes nothing
// else about the run. (Its failures are in runner_failures_test.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "support/measure.h"
#include "support/sim_process.h"

namespace {

constexpr int kFrames = 2000;  // the title and well into the stage battle

uint32_t le(const std::string& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(b[at + i]);
    return v;
}

SimResult autoplay(const std::string& name, bool trace, bool audio) {
    std::vector<std::string> args = {"--autoplay", "--frames", std::to_string(kFrames)};
    if (audio) args.insert(args.end(), {"--audio", "game.wav"});
    const SimResult r = run_sim_process({.args = args, .trace = trace}, make_scratch_dir(name));
    EXPECT_EQ(r.status, 0) << r.stderr_text;
    return r;
}

TEST(AudioOption, AnAutoplayedGameIsHeardWholeAndCleanAndChangesNothing) {
    const SimResult plain = autoplay("audio_plain", true, false);
    const SimResult heard = autoplay("audio_heard", true, true);
    // Without a trace the run counts its allocations (where the build can
    // count them): none, audio and all.
    const SimResult quiet = autoplay("audio_quiet", false, true);
    ASSERT_EQ(heard.trace.size(), static_cast<size_t>(kFrames));
    EXPECT_EQ(read_file_bytes(plain.dir + "/trace.jsonl"),
              read_file_bytes(heard.dir + "/trace.jsonl"))
        << "the trace is the same";
    if (quiet.end["allocs"].kind != Json::Kind::Null) {
        EXPECT_EQ(quiet.end["allocs"].as_int(), 0);
    }

    // Virtual time from 1000 ms to the last present, 22.05 frames a ms.
    const int64_t ms = heard.trace.back()["ms"].as_int() - 1000;
    const uint32_t frames = static_cast<uint32_t>(ms * 22050 / 1000);
    const std::string wave = read_file_bytes(heard.dir + "/game.wav");
    EXPECT_EQ(read_file_bytes(quiet.dir + "/game.wav"), wave);
    ASSERT_EQ(wave.size(), 44u + 4 * frames);
    EXPECT_EQ(wave.substr(0, 4), "RIFF");
    EXPECT_EQ(wave.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(le(wave, 20, 2), 1u) << "PCM";
    EXPECT_EQ(le(wave, 22, 2), 2u) << "stereo";
    EXPECT_EQ(le(wave, 24, 4), 22050u);
    EXPECT_EQ(le(wave, 34, 2), 16u);
    EXPECT_EQ(wave.substr(36, 4), "data");
    EXPECT_EQ(le(wave, 40, 4), 4 * frames);
    EXPECT_EQ(le(wave, 4, 4), 36 + 4 * frames);

    std::vector<int> samples;
    for (size_t at = 44; at < wave.size(); at += 2)
        samples.push_back(static_cast<int16_t>(le(wave, at, 2)));
    const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
    EXPECT_LT(std::max(-*low, *high), 32767) << "no sample at full scale";
    EXPECT_LT(std::abs(mean(samples)), 32768 * 0.001) << "mean within -60 dBFS of zero";
    EXPECT_GT(rms(samples), 32768 * 0.02) << "the game was heard";
}

}  // namespace
