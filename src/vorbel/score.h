// The tune library's score: a small text format compiled into fixed tables.
//
// A score is plain text, one statement a line; '#' starts a comment.
//
//   vbtune 1                       first statement: format and version
//   tempo 140                      quarter notes per minute (30 to 300)
//   mode loop                      "loop" (back to the loop point) or "once"
//   volume 80                      master volume in percent (1 to 100)
//   voice lead pulse duty=25 vol=11 env=5,120,8,80 pan=-30 vib=15,55,200 gate=90
//   voice bass triangle vol=14
//   voice kit drums vol=12
//   pattern riff: o5 l8 c e g >c<   a pattern, spliced in where "$riff" stands
//   lead: $riff $riff f4 a4 | g2   notes for a voice; lines for one voice append
//
// Voice kinds: pulse (duty in percent), triangle, noise (pitched noise) and
// drums. Voice settings: duty=1..99, vol=0..15, env=ATTACK_MS,DECAY_MS,
// SUSTAIN(0..15),RELEASE_MS, pan=-100..100, vib=CENTS,RATE_TENTHS_HZ,DELAY_MS,
// gate=1..100 (percent of a note that sounds before its release), o=0..8.
//
// Notes: c d e f g a b with '+' or '#' (sharp) or '-' (flat), an optional
// length (1 whole, 2, 3, 4, 6, 8, 12, 16, 24, 32, 48: any divisor of a whole
// note of 192 ticks) and dots; r is a rest; ^LEN ties more length onto the
// note before. o N sets the octave (o4 c is middle C), > and < step it;
// l N sets the default length, v N the volume (0..15), q N the gate, @N the
// pulse duty. [ ... ]N repeats a passage N times (2 by default). L marks the
// loop point: every voice must mark it at the same tick, or none does and
// the tune loops from its start. '|' is a bar line, for the eye only.
// In a drums voice the hits are k (kick), s (snare), h (closed hat),
// o (open hat), x (crash) and t (tom), each with an optional length.
// Every voice must come out the same number of ticks long.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vorbel {

constexpr int TICKS_PER_BEAT = 48;
constexpr int TICKS_PER_WHOLE = 4 * TICKS_PER_BEAT;
constexpr int SCORE_MAX_VOICES = 8;
constexpr int SCORE_MAX_EVENTS = 8192;
constexpr int SCORE_NAME_SIZE = 16;

enum class Wave : uint8_t { Pulse, Triangle, Noise, Drums };

enum Drum : uint8_t { DRUM_KICK = 1, DRUM_SNARE, DRUM_HAT, DRUM_OPEN_HAT, DRUM_CRASH, DRUM_TOM };

struct Envelope {
    uint16_t attack_ms;
    uint16_t decay_ms;
    uint8_t sustain;  // 0..15 of the note's volume
    uint16_t release_ms;
};

// One note, rest or drum hit of one voice.
struct NoteEvent {
    uint16_t ticks;  // how long until the voice's next event
    uint8_t pitch;   // 0: rest; a MIDI note number (60 = middle C); or a Drum
    uint8_t volume;  // 0..15
    uint8_t gate;    // percent of `ticks` before the release
    uint8_t duty;    // pulse duty in percent
};

struct VoiceSpec {
    char name[SCORE_NAME_SIZE];
    Wave wave;
    uint8_t volume;
    uint8_t duty;
    uint8_t gate;
    Envelope env;
    int8_t pan;  // -100 (left) .. 100 (right)
    uint16_t vibrato_cents;
    uint16_t vibrato_rate;  // tenths of a hertz
    uint16_t vibrato_delay_ms;
    uint32_t first_event;
    uint32_t event_count;
    uint32_t loop_event;  // index within the voice's events
};

struct Score {
    int tempo;
    bool loops;
    int volume_percent;
    uint32_t length_ticks;  // of every voice
    uint32_t loop_tick;
    int voice_count;
    VoiceSpec voices[SCORE_MAX_VOICES];
    uint32_t event_count;
    NoteEvent events[SCORE_MAX_EVENTS];
};

struct ScoreError {
    int line;  // 1-based: a fault of a whole voice is told at its last line of
               // notes, something missing from the whole score at its last line
    char message[128];
};

// Compiles `size` bytes of score text into `out`. False, with `error` filled
// in, when the text is not a valid score; `out` is then unspecified.
bool parse_score(const uint8_t* text, size_t size, Score* out, ScoreError* error);

}  // namespace vorbel
