// The score parser: notes, lengths and repeats compile as written, and
// malformed scores are refused with a message that points at the fault.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "sound_test_host.h"

namespace {

using vorbel::Score;
using vorbel::ScoreError;

// The parser's message for a score it refuses; "accepted" when it compiles.
std::string refusal(const std::string& text) {
    auto score = std::make_unique<Score>();
    ScoreError error;
    if (vorbel::parse_score(reinterpret_cast<const uint8_t*>(text.data()), text.size(), score.get(),
                            &error))
        return "accepted";
    return error.message;
}

const std::string kHead = "vbtune 1\ntempo 120\nmode loop\nvoice a pulse\nvoice b triangle\n";

TEST(Score, CompilesNotesLengthsAndRepeats) {
    const auto score = compile_score(
        kHead + "pattern up: c d\na: o4 l8 $up e4. r16 [f g]3 ^16 L >c2\nb: c1 c2 L c2\n");
    const Score& s = *score;
    const vorbel::VoiceSpec& a = s.voices[0];
    ASSERT_EQ(a.event_count, 11u);
    const vorbel::NoteEvent* e = &s.events[a.first_event];
    EXPECT_EQ(e[0].pitch, 60);  // middle C
    EXPECT_EQ(e[0].ticks, 24);
    EXPECT_EQ(e[1].pitch, 62);
    EXPECT_EQ(e[2].ticks, 72);  // dotted quarter
    EXPECT_EQ(e[3].pitch, 0);   // rest
    EXPECT_EQ(e[3].ticks, 12);
    EXPECT_EQ(e[4].pitch, 65);
    EXPECT_EQ(e[9].ticks, 24 + 12);  // the tie lengthens the last repeated note
    EXPECT_EQ(e[10].pitch, 72);
    EXPECT_EQ(a.loop_event, 10u);
    EXPECT_EQ(s.loop_tick, 288u);
    EXPECT_EQ(s.length_ticks, 384u);
}

TEST(Score, RefusesMalformedScoresWithAClearMessage) {
    struct Case {
        std::string text;
        const char* message;
    };
    const Case cases[] = {
        {"", "begins with 'vbtune 1'"},
        {"tempo 120\n", "line 1: a score begins with 'vbtune 1'"},
        {"vbtune 2\n", "only 'vbtune 1'"},
        {"vbtune 1\nmode loop\nvoice a pulse\na: c\n", "no tempo"},
        {"vbtune 1\ntempo 120\nvoice a pulse\na: c\n", "neither 'mode loop' nor 'mode once'"},
        {"vbtune 1\ntempo 900\n", "line 2: tempo 900 is outside 30 to 300"},
        {"vbtune 1\ntempo 120\nmode loop\n", "no voices"},
        {kHead + "a: c1\n", "voice 'b' has no notes"},
        {kHead + "a: c1\nb: c2\n", "voice 'b' lasts 96 ticks but voice 'a' 192"},
        {kHead + "a: c2 L c2\nb: c1\n", "voice 'b' lacks a loop point"},
        {kHead + "a: c2 L c2\nb: c4 L c2.\n", "voice 'b' loops at tick 48"},
        {kHead + "a: c1 L\nb: c1 L\n", "at its very end"},
        {"vbtune 1\ntempo 120\nmode once\nvoice a pulse\na: c L c\n", "in a 'mode once' score"},
        {kHead + "a: c5\nb: c1\n", "line 6: length 5 does not divide"},
        {kHead + "a: c32...\nb: c1\n", "too many dots"},
        {kHead + "a: o9 c\n", "octave 9 is outside 0 to 8"},
        {kHead + "a: o8 >c\n", "'>' goes above octave 8"},
        {kHead + "a: z\n", "line 6: unexpected 'z' in voice 'a'"},
        {kHead + "a: c" + std::string(1, '\0') + "\n", "unexpected byte 0x00"},
        {kHead + "c: c\n", "undeclared voice 'c'"},
        {kHead + "a: $nope\n", "no pattern named 'nope'"},
        {kHead + "pattern p: $p\na: $p\n", "patterns nest deeper"},
        {kHead + "a: [c d\n", "'[' without ']'"},
        {kHead + "a: c d]\n", "']' without '['"},
        {kHead + "a: [[[[[[[[[c]]]]]]]]]\n", "repeats nest deeper"},
        {kHead + "a: [[[c]99]99]99\n", "too many notes"},
        {kHead + "a: ^4 c\n", "'^' has no note to tie onto"},
        {kHead + "a: c L ^4\n", "'^' has no note to tie onto"},
        {kHead + "a: [c L]\n", "cannot be inside a repeat"},
        {"vbtune 1\ntempo 120\nmode loop\nvoice a pulse\nvoice a pulse\n", "voice 'a' twice"},
        {"vbtune 1\nvoice a kazoo\n", "needs a kind"},
        {"vbtune 1\nvoice a pulse duty=0\n", "duty 0 is outside 1 to 99"},
        {"vbtune 1\nvoice a pulse loud=3\n", "unknown voice setting 'loud'"},
        {"vbtune 1\nvoice a pulse env=1,2,3\n", "env needs A,D,S,R"},
        {"vbtune 1\nvoice a pulse vol=1234567\n", "vol needs a number"},
        {"vbtune 1\nfanfare\n", "unknown statement 'fanfare'"},
        {"vbtune 1\ntempo 120 fast\n", "unexpected text after 'tempo'"},
    };
    for (const Case& c : cases)
        EXPECT_NE(refusal(c.text).find(c.message), std::string::npos)
            << "score:\n"
            << c.text << "\ngave: " << refusal(c.text) << "\nwanted: " << c.message;
}

TEST(Score, SurvivesEveryTruncationOfAShippedTune) {
    const std::vector<uint8_t> boss = shipped("VBTUNE", "VBTUNE_BOSS");
    int accepted = 0;
    for (auto end = boss.begin(); end != boss.end(); ++end)
        accepted += refusal(std::string(boss.begin(), end)) == "accepted";
    // Cut anywhere but in a trailing comment, voices come out unequal.
    EXPECT_LT(accepted, 200);
}

}  // namespace
