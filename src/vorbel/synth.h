// The tune player: turns a compiled score into stereo samples. All integer
// arithmetic, so the same score at the same rate gives the same samples on
// every run and every machine.
#pragma once

#include <cstdint>

#include "vorbel/edge_tables.h"
#include "vorbel/score.h"

namespace vorbel {

struct VoiceState {
    uint32_t event;       // index within the voice's events
    uint32_t ticks_left;  // of the current event
    uint32_t gate_left;   // ticks until the release; 0 once released
    bool finished;        // a play-once voice past its last event

    uint8_t pitch;
    int32_t volume;  // 0..15 of the current note
    uint32_t phase;
    uint32_t step;        // phase step of the note, before vibrato
    uint32_t duty_phase;  // pulse: phase below which the wave is high

    // Pulse and triangle: the band-limited wave, EDGE_HALF - 1 samples behind
    // the phase, for the samples from the one leaving next onwards (a ring).
    int32_t pending[EDGE_TAPS];
    uint32_t wave_samples;  // samples made, to place them in `pending`
    int32_t last_wave;      // plain wave at the previous sample

    int stage;      // envelope: 0 off, 1 attack, 2 decay, 3 sustain, 4 release
    int32_t level;  // envelope, 0..SYNTH_LEVEL_ONE
    int32_t attack_step, decay_step, release_step, sustain_level;

    uint32_t note_samples;  // since the note or hit began
    uint32_t vibrato_phase;

    // Noise and drums.
    uint16_t lfsr;
    uint32_t noise_phase;
    uint32_t noise_step;
    bool short_noise;
    uint32_t hit_length;  // samples of the drum hit
    int32_t gain_left, gain_right;
};

class TunePlayer {
public:
    static constexpr int32_t SYNTH_LEVEL_ONE = 1 << 16;

    // Starts `score` (which must outlive the playing) from `start_tick`;
    // `play_once` stops a looping score at its end instead of looping.
    void start(const Score* score, int rate, bool stereo, uint32_t start_tick, bool play_once);
    void stop();
    bool playing() const { return playing_; }
    // Adds `frames` stereo frames to `mix` (interleaved left, right).
    void render_add(int32_t* mix, int frames);
    // The score's tick now playing, counted from its start.
    uint32_t tick() const { return tick_; }

private:
    void advance_tick();
    void begin_event(int index);
    // The next sample of voice `index`: a drum hit, or the note's wave under
    // its envelope.
    int32_t voice_sample(int index, VoiceState& v);
    int32_t drum_sample(VoiceState& v);

    const Score* score_ = nullptr;
    int rate_ = 22050;
    bool stereo_ = true;
    bool playing_ = false;
    bool play_once_ = false;
    uint32_t tick_ = 0;
    uint32_t tick_phase_ = 0;
    VoiceState voices_[SCORE_MAX_VOICES] = {};
};

// The phase step, per sample at `rate`, of MIDI note `pitch`.
uint32_t note_step(int pitch, int rate);

}  // namespace vorbel
