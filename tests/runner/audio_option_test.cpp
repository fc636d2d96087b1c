// zarvox-sim --audio: the WAVE of everything an autoplayed game played, as
// the player hears it. It lasts as long as the run's virtual time, never
// touches full scale, carries no offset, and asking for it changes nothing
// else about the run.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "support/sim_process.h"

namespace {

constexpr int kFrames = 2000;  // the title and well into the stage battle

uint32_t u32(const std::string& b, size_t at) {
    return static_cast<uint32_t>(static_cast<uint8_t>(b[at])) |
           static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(b[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}
uint16_t u16(const std::string& b, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1])
                                                                   << 8);
}

SimResult autoplay(const std::string& name, bool trace, bool audio) {
    SimRun run;
    run.trace = trace;
    run.args = {"--autoplay", "--frames", std::to_string(kFrames)};
    if (audio) run.args.insert(run.args.end(), {"--audio", "game.wav"});
    return run_sim_process(run, make_scratch_dir(name));
}

TEST(AudioOption, AnAutoplayedGameIsHeardWholeAndClean) {
    const SimResult plain = autoplay("audio_plain", true, false);
    const SimResult heard = autoplay("audio_heard", true, true);
    ASSERT_EQ(plain.status, 0) << plain.stderr_text;
    ASSERT_EQ(heard.status, 0) << heard.stderr_text;
    ASSERT_EQ(frames_of(plain), kFrames);
    ASSERT_EQ(frames_of(heard), kFrames);
    EXPECT_EQ(read_file_bytes(plain.dir + "/trace.jsonl"),
              read_file_bytes(heard.dir + "/trace.jsonl"))
        << "the trace is the same";

    const std::string wave = read_file_bytes(heard.dir + "/game.wav");
    ASSERT_GE(wave.size(), 44u);
    EXPECT_EQ(wave.substr(0, 4), "RIFF");
    EXPECT_EQ(wave.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(u16(wave, 20), 1) << "PCM";
    EXPECT_EQ(u16(wave, 22), 2) << "stereo";
    EXPECT_EQ(u32(wave, 24), 22050u);
    EXPECT_EQ(u16(wave, 34), 16);
    EXPECT_EQ(wave.substr(36, 4), "data");
    // Virtual time from 1000 ms to the last present, 22.05 frames a ms.
    const int64_t ms = at(heard, kFrames)["ms"].as_int() - 1000;
    const uint32_t frames = static_cast<uint32_t>(ms * 22050 / 1000);
    EXPECT_EQ(u32(wave, 40), 4 * frames);
    EXPECT_EQ(u32(wave, 4), 36 + 4 * frames);
    ASSERT_EQ(wave.size(), 44u + 4 * frames);

    double sum = 0, power = 0;
    int loudest = 0;
    for (size_t at = 44; at < wave.size(); at += 2) {
        const int s = static_cast<int16_t>(u16(wave, at));
        sum += s;
        power += static_cast<double>(s) * s;
        loudest = std::max(loudest, std::abs(s));
    }
    const double count = static_cast<double>(wave.size() - 44) / 2;
    EXPECT_LT(loudest, 32767) << "no sample at full scale";
    EXPECT_LT(std::abs(sum / count), 32768 * 0.001) << "mean within -60 dBFS of zero";
    EXPECT_GT(std::sqrt(power / count), 32768 * 0.02) << "the game was heard";
}

TEST(AudioOption, WritesNothingAndAllocatesNothingItShouldNot) {
    // Without a trace the run still counts its allocations (where the
    // build can count them): none.
    const SimResult quiet = autoplay("audio_allocs", false, true);
    ASSERT_EQ(quiet.status, 0) << quiet.stderr_text;
    if (quiet.end["allocs"].kind != Json::Kind::Null) {
        EXPECT_EQ(quiet.end["allocs"].as_int(), 0);
    }

    const std::string dir = make_scratch_dir("audio_fails");
    SimRun run;
    run.trace = false;
    run.args = {"--frames", "30", "--audio", "no/such/folder/game.wav"};
    SimResult r = run_sim_process(run, dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.stderr_text.find("no/such/folder/game.wav"), std::string::npos) << r.stderr_text;

    // A trace that cannot be written leaves no WAVE behind either.
    run.args = {"--frames", "30", "--audio", "game.wav", "--trace", "no/such/t.jsonl"};
    r = run_sim_process(run, dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(read_file_bytes(dir + "/game.wav").empty());

    run.args = {"--audio", "a.wav", "--audio", "b.wav"};
    EXPECT_EQ(run_sim_process(run, dir).status, 2) << "given twice";
}

}  // namespace
