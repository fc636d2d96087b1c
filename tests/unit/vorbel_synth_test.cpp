// The tune player: loops that come back to their loop point, play-once tunes
// that fall silent, pan and pitch.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "sound_test_host.h"
#include "vorbel/synth.h"

namespace {

using vorbel::Score;
using vorbel::TunePlayer;

constexpr int kRate = 22050;

std::vector<int32_t> render(TunePlayer& p, int frames) {
    std::vector<int32_t> mix(2 * static_cast<size_t>(frames), 0);
    for (int at = 0; at < frames; at += 512)
        p.render_add(mix.data() + 2 * at, std::min(512, frames - at));
    return mix;
}

// Samples after which the player has stepped `ticks` ticks.
int frames_for_ticks(const Score& s, uint32_t ticks) {
    uint64_t per = static_cast<uint64_t>(kRate) * 60;
    return static_cast<int>((ticks * per + s.tempo * vorbel::TICKS_PER_BEAT - 1) /
                            (s.tempo * vorbel::TICKS_PER_BEAT));
}

int64_t energy(const std::vector<int32_t>& mix, size_t from, size_t to, size_t step = 1) {
    int64_t e = 0;
    for (size_t i = from; i < to; i += step) e += static_cast<int64_t>(mix[i]) * mix[i];
    return e;
}

TEST(Synth, LoopingTunesComeBackToTheirLoopPoint) {
    // A quarter of intro, then two quarters that repeat.
    auto score = compile_score(
        "vbtune 1\ntempo 120\nmode loop\nvoice a pulse\nvoice b drums\n"
        "a: c4 L d4 e4\nb: k4 L s4 h4\n");
    TunePlayer p;
    p.start(score.get(), kRate, true, 0, false);
    render(p, frames_for_ticks(*score, 144));
    EXPECT_EQ(p.tick(), 48u);
    render(p, frames_for_ticks(*score, 96));
    EXPECT_EQ(p.tick(), 48u);
    EXPECT_TRUE(p.playing());
    // Started past its end, it starts as far into its loop.
    p.start(score.get(), kRate, true, 144 + 5, false);
    EXPECT_EQ(p.tick(), 48u + 5);

    for (const char* name : kLoopingTunes) {
        auto s = compile_score(shipped("VBTUNE", name));
        // A tune plays at least 20 seconds before it repeats itself.
        EXPECT_GE(frames_for_ticks(*s, s->length_ticks - s->loop_tick), 20 * kRate) << name;
        TunePlayer t;
        t.start(s.get(), kRate, true, 0, false);
        render(t, frames_for_ticks(*s, s->length_ticks));
        EXPECT_EQ(t.tick(), s->loop_tick) << name;
        std::vector<int32_t> after = render(t, kRate);
        EXPECT_GT(energy(after, 0, after.size()), 0) << name << " still sounds after its loop";
        t.stop();
        after = render(t, 1000);
        EXPECT_EQ(energy(after, 0, after.size()), 0) << name << " stops at once";
    }
}

TEST(Synth, PlayOnceTunesFallSilent) {
    for (const char* name : kPlayOnceTunes) {
        auto s = compile_score(shipped("VBTUNE", name));
        TunePlayer p;
        p.start(s.get(), kRate, true, 0, false);
        std::vector<int32_t> out = render(p, kRate * 10);
        EXPECT_FALSE(p.playing()) << name;
        EXPECT_GT(energy(out, 0, kRate), 0) << name;
        EXPECT_EQ(energy(out, out.size() - 2 * kRate, out.size()), 0) << name;
    }
    // Asked to, a looping tune plays through once and stops too.
    auto loop =
        compile_score("vbtune 1\ntempo 240\nmode loop\nvoice a triangle env=0,0,15,10\na: c4 d4\n");
    TunePlayer p;
    p.start(loop.get(), kRate, true, 0, true);
    std::vector<int32_t> out = render(p, kRate);
    EXPECT_FALSE(p.playing());
    EXPECT_EQ(energy(out, out.size() / 2, out.size()), 0);
}

TEST(Synth, StartsAtAGivenTickAndMixesMonoToTheCentre) {
    auto s = compile_score(shipped("VBTUNE", "VBTUNE_BATTLE"));
    TunePlayer p;
    p.start(s.get(), kRate, false, 480, false);
    EXPECT_EQ(p.tick(), 480u);
    std::vector<int32_t> out = render(p, kRate);
    for (size_t i = 0; i < out.size(); i += 2) ASSERT_EQ(out[i], out[i + 1]) << i;
    EXPECT_GT(energy(out, 0, out.size()), 0);
}

// A positive pan leans a voice right, a negative one left.
TEST(Synth, PanLeansTheVoiceToItsSide) {
    for (int pan : {60, -60}) {
        auto s = compile_score("vbtune 1\ntempo 120\nmode once\nvoice a pulse pan=" +
                               std::to_string(pan) + "\na: c4 d4\n");
        TunePlayer p;
        p.start(s.get(), kRate, true, 0, false);
        std::vector<int32_t> out = render(p, kRate / 2);
        const int64_t left = energy(out, 0, out.size(), 2);
        const int64_t right = energy(out, 1, out.size(), 2);
        ASSERT_GT(left + right, 0) << pan;
        EXPECT_GT(pan > 0 ? right : left, 4 * (pan > 0 ? left : right)) << pan;
    }
}

TEST(Synth, NotePitchesFollowTheScale) {
    // A4 is 440 Hz: one period every 50.1 samples at 22050 Hz.
    uint64_t step = vorbel::note_step(69, kRate);
    EXPECT_NEAR(static_cast<double>(step) * kRate / 4294967296.0, 440.0, 0.01);
    EXPECT_EQ(vorbel::note_step(57, kRate), step / 2);
}

}  // namespace
