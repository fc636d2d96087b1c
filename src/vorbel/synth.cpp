#include "vorbel/synth.h"

#include <algorithm>

namespace vorbel {
namespace {

// Peak of one voice at full volume and envelope, before its wave's weight;
// eight voices at once stay inside 16 bits.
constexpr int64_t SYNTH_VOICE_FULL = 7000;
// Each wave's weight, of 256. A pulse carries more power than a triangle of
// the same peak; at 150 the two are about as loud. Noise sits a little below.
constexpr int32_t SYNTH_PULSE_WEIGHT = 150;
constexpr int32_t SYNTH_TRIANGLE_WEIGHT = 256;
constexpr int32_t SYNTH_NOISE_WEIGHT = 120;
// The vibrato's swing per cent of its depth, in millionths of the pitch.
constexpr int64_t SYNTH_VIBRATO_PER_CENT = 578;

enum Stage { STAGE_OFF, STAGE_ATTACK, STAGE_DECAY, STAGE_SUSTAIN, STAGE_RELEASE, STAGE_HIT };

// Octave 10 of the MIDI numbering (notes 120 to 131) in hundredths of a
// hertz; lower octaves halve these.
constexpr uint32_t SYNTH_TOP_OCTAVE[12] = {837202,  886984,  939727,  995606,  1054808, 1117530,
                                           1183982, 1254385, 1328975, 1408000, 1491724, 1580426};

// Pulse and triangle waves are made with SYNTH_WAVE_BITS more bits than the rest,
// so the many small edge corrections do not round away.
constexpr int SYNTH_WAVE_BITS = 4;
constexpr int32_t SYNTH_WAVE_PEAK = 32767 << SYNTH_WAVE_BITS;

// A triangle of the phase, -32767..32767 (the drums' tone).
int32_t triangle(uint32_t phase) {
    int32_t t = static_cast<int32_t>(phase >> 16);  // 0..65535
    return t < 32768 ? 2 * t - 32767 : 32767 - 2 * (t - 32768);
}

// The same triangle in SYNTH_WAVE_PEAK units, from the whole phase.
int32_t fine_triangle(uint32_t phase) {
    const int64_t from_bottom = phase < 0x80000000u ? phase : 0x100000000ll - phase;  // 0..2^31
    return static_cast<int32_t>(-SYNTH_WAVE_PEAK + ((from_bottom * 2 * SYNTH_WAVE_PEAK) >> 31));
}

// The wave of a pulse or triangle voice where the phase stands, with no
// band-limiting.
int32_t plain_wave(Wave wave, uint32_t phase, uint32_t duty_phase) {
    if (wave == Wave::Triangle) return fine_triangle(phase);
    return phase < duty_phase ? SYNTH_WAVE_PEAK : -SYNTH_WAVE_PEAK;
}

// The mean of that wave over a period: a pulse that is not half high sits
// off centre. A voice plays its wave less this, so a note's envelope never
// moves a constant offset in and out (a thump) and no voice spends the
// mixer's headroom on a level nobody hears.
int32_t wave_mean(Wave wave, uint32_t duty_phase) {
    if (wave == Wave::Triangle) return 0;
    return static_cast<int32_t>((duty_phase * (2 * int64_t{SYNTH_WAVE_PEAK}) >> 32) -
                                SYNTH_WAVE_PEAK);
}

// Adds the correction for an edge of `size` (a jump of the wave, or of its
// slope per sample) that the phase passed `elapsed` phase units ago, during
// this sample's `step`, to the samples around it.
void add_edge(VoiceState& v, const int32_t (&table)[EDGE_PHASES + 1][EDGE_TAPS], int64_t size,
              uint32_t elapsed, uint32_t step) {
    // How long ago, in 1/65536 of a sample: the top bits pick the row, the
    // rest blend it with the next.
    static_assert(EDGE_PHASES == 1 << EDGE_PHASE_BITS && EDGE_PHASE_BITS < 16);
    constexpr int EDGE_BLEND_BITS = 16 - EDGE_PHASE_BITS;
    const uint32_t ago =
        step ? static_cast<uint32_t>((static_cast<uint64_t>(elapsed) << 16) / step) : 0;
    const int32_t* a = table[ago >> EDGE_BLEND_BITS];
    const int32_t* b = table[(ago >> EDGE_BLEND_BITS) + 1];
    const int32_t blend = static_cast<int32_t>(ago & ((1 << EDGE_BLEND_BITS) - 1));
    const uint32_t first = v.wave_samples - (EDGE_HALF - 1);
    for (int i = 0; i < EDGE_TAPS - 1; ++i) {
        const int64_t c = a[i] + ((b[i] - a[i]) * blend >> EDGE_BLEND_BITS);
        v.pending[(first + i) % EDGE_TAPS] += static_cast<int32_t>((size * c + (1 << 15)) >> 16);
    }
}

// Advances a pulse or triangle voice by one sample of `step` and returns its
// band-limited wave, in SYNTH_WAVE_PEAK units, EDGE_HALF - 1 samples late. Every
// edge the phase passed is placed between the samples where it fell, so the
// wave holds no harmonics above half the rate to fold back as stray tones.
int32_t band_limited_wave(VoiceState& v, Wave wave, uint32_t step) {
    v.phase += step;
    const int32_t plain = plain_wave(wave, v.phase, v.duty_phase);
    // The phase passed a point in this sample when it now stands less than a
    // step beyond it.
    const uint32_t past_zero = v.phase;
    if (wave == Wave::Pulse) {
        const uint32_t past_duty = v.phase - v.duty_phase;
        int32_t expected = v.last_wave;
        if (past_zero < step) {
            add_edge(v, EDGE_STEP_CORRECTION, 2 * SYNTH_WAVE_PEAK, past_zero, step);
            expected += 2 * SYNTH_WAVE_PEAK;
        }
        if (past_duty < step) {
            add_edge(v, EDGE_STEP_CORRECTION, -2 * SYNTH_WAVE_PEAK, past_duty, step);
            expected -= 2 * SYNTH_WAVE_PEAK;
        }
        // A note with another duty can move the wave between edges: the jump
        // then falls on this sample.
        if (plain != expected) add_edge(v, EDGE_STEP_CORRECTION, plain - expected, 0, step);
    } else {
        // The slope turns at the bottom (phase 0) and the top (half way).
        const uint32_t past_top = v.phase - 0x80000000u;
        const int64_t turn = static_cast<int64_t>(step) * (8 * int64_t{SYNTH_WAVE_PEAK}) >> 32;
        if (past_zero < step) add_edge(v, EDGE_RAMP_CORRECTION, turn, past_zero, step);
        if (past_top < step) add_edge(v, EDGE_RAMP_CORRECTION, -turn, past_top, step);
    }
    v.last_wave = plain;
    v.pending[v.wave_samples % EDGE_TAPS] += plain - wave_mean(wave, v.duty_phase);
    const uint32_t leaving = (v.wave_samples - (EDGE_HALF - 1)) % EDGE_TAPS;
    const int32_t out = v.pending[leaving];
    v.pending[leaving] = 0;
    ++v.wave_samples;
    return out;
}

// Fills the samples a pulse or triangle voice owes before its first one with
// the wave where its phase stands, so it starts without a jump.
void prime_wave(VoiceState& v, Wave wave) {
    v.last_wave = plain_wave(wave, v.phase, v.duty_phase);
    for (uint32_t k = 1; k < EDGE_HALF; ++k)
        v.pending[(v.wave_samples - k) % EDGE_TAPS] = v.last_wave - wave_mean(wave, v.duty_phase);
}

int32_t per_sample(int32_t span, uint32_t ms, int rate) {
    if (ms == 0) return span;
    int64_t samples = static_cast<int64_t>(ms) * rate / 1000;
    return static_cast<int32_t>(std::max<int64_t>(1, span / std::max<int64_t>(1, samples)));
}

uint32_t hz_step(uint32_t centi_hz, int rate) {
    return static_cast<uint32_t>((static_cast<uint64_t>(centi_hz) << 32) /
                                 (static_cast<uint64_t>(rate) * 100));
}

// One step of the 15-bit noise register; the short mode repeats after 93
// steps and sounds metallic.
void clock_noise(VoiceState& v) {
    uint16_t feedback = (v.lfsr ^ (v.lfsr >> (v.short_noise ? 6 : 1))) & 1;
    v.lfsr = static_cast<uint16_t>((v.lfsr >> 1) | (feedback << 14));
}

int32_t noise(VoiceState& v) {
    uint32_t before = v.noise_phase;
    v.noise_phase += v.noise_step;
    if (v.noise_step == 0 || v.noise_phase < before) clock_noise(v);
    return (v.lfsr & 1) ? 32767 : -32767;
}

struct DrumShape {
    uint16_t length_ms;
    uint32_t tone_from_centi_hz, tone_to_centi_hz;
    int32_t tone_weight;      // of 256
    int32_t noise_weight;     // of 256
    uint32_t noise_centi_hz;  // 0: every sample
    bool short_noise;
};

const DrumShape& drum_shape(int drum) {
    static const DrumShape SYNTH_SHAPES[] = {
        {0, 0, 0, 0, 0, 0, false},
        {180, 16000, 4200, 300, 40, 0, false},    // kick: a falling thump
        {170, 19000, 16000, 110, 190, 0, false},  // snare: rattle over a short tone
        {45, 0, 0, 0, 120, 0, true},              // closed hat
        {260, 0, 0, 0, 90, 0, true},              // open hat
        {1100, 0, 0, 0, 120, 1400000, false},     // crash
        {240, 22000, 11000, 280, 20, 0, false},   // tom
    };
    return SYNTH_SHAPES[drum >= DRUM_KICK && drum <= DRUM_TOM ? drum : 0];
}

// Moves the envelope of a pulse, triangle or noise voice on by one sample.
// False once the voice is silent: off, or at the end of its release.
bool advance_envelope(VoiceState& v) {
    constexpr int32_t one = TunePlayer::SYNTH_LEVEL_ONE;
    switch (v.stage) {
        case STAGE_OFF:
            return false;
        case STAGE_ATTACK:
            v.level += v.attack_step;
            if (v.level >= one) {
                v.level = one;
                v.stage = STAGE_DECAY;
            }
            break;
        case STAGE_DECAY:
            v.level -= v.decay_step;
            if (v.level <= v.sustain_level) {
                v.level = v.sustain_level;
                v.stage = STAGE_SUSTAIN;
            }
            break;
        case STAGE_SUSTAIN:
            break;
        case STAGE_RELEASE:
            v.level -= v.release_step;
            if (v.level <= 0) {
                v.level = 0;
                v.stage = STAGE_OFF;
                return false;
            }
            break;
    }
    return true;
}

// The note's phase step for this sample, swung by the vibrato once its delay
// has passed.
uint32_t vibrato_step(const VoiceSpec& part, VoiceState& v, int rate) {
    uint32_t step = v.step;
    if (part.vibrato_cents &&
        v.note_samples >= part.vibrato_delay_ms * static_cast<uint32_t>(rate) / 1000) {
        v.vibrato_phase += hz_step(part.vibrato_rate * 10u, rate);
        int64_t swing =
            static_cast<int64_t>(step) * part.vibrato_cents * SYNTH_VIBRATO_PER_CENT / 1000000;
        step += static_cast<uint32_t>(swing * triangle(v.vibrato_phase) >> 15);
    }
    return step;
}

// One sample of a voice's wave, with its weight (of 256) and the shift from
// the wave's peak to 1.
struct WaveSample {
    int32_t wave;
    int32_t weight;
    int shift;
};

WaveSample wave_sample(Wave wave, VoiceState& v, uint32_t step) {
    switch (wave) {
        case Wave::Pulse:
            return {band_limited_wave(v, wave, step), SYNTH_PULSE_WEIGHT, 15 + SYNTH_WAVE_BITS};
        case Wave::Triangle:
            return {band_limited_wave(v, wave, step), SYNTH_TRIANGLE_WEIGHT, 15 + SYNTH_WAVE_BITS};
        case Wave::Noise:
            v.phase += step;
            return {noise(v), SYNTH_NOISE_WEIGHT, 15};  // +-32767, as plain as it always was
        case Wave::Drums:
            break;
    }
    return {0, SYNTH_TRIANGLE_WEIGHT, 15 + SYNTH_WAVE_BITS};
}

}  // namespace

uint32_t note_step(int pitch, int rate) {
    pitch = std::clamp(pitch, 0, 131);
    uint32_t centi_hz = SYNTH_TOP_OCTAVE[pitch % 12] >> (10 - pitch / 12);
    return hz_step(centi_hz, rate);
}

void TunePlayer::start(const Score* score, int rate, bool stereo, uint32_t start_tick,
                       bool play_once) {
    score_ = score;
    rate_ = std::clamp(rate, 4000, 192000);
    stereo_ = stereo;
    play_once_ = play_once || !score->loops;
    tick_phase_ = 0;
    playing_ = false;
    for (auto& v : voices_) v = VoiceState{};
    if (score->length_ticks == 0) return;
    if (start_tick >= score->length_ticks) {
        if (play_once_) return;
        uint32_t span = score->length_ticks - score->loop_tick;
        start_tick = score->loop_tick + (start_tick - score->loop_tick) % span;
    }
    tick_ = start_tick;
    for (int i = 0; i < score->voice_count; ++i) {
        const VoiceSpec& part = score->voices[i];
        VoiceState& v = voices_[i];
        v.lfsr = 1;
        int pan = stereo ? part.pan : 0;
        v.gain_left = (100 - std::max(pan, 0)) * 256 / 100;
        v.gain_right = (100 + std::min(pan, 0)) * 256 / 100;
        const int32_t one = SYNTH_LEVEL_ONE;
        v.sustain_level = part.env.sustain * one / 15;
        v.attack_step = per_sample(one, part.env.attack_ms, rate_);
        v.decay_step = per_sample(one - v.sustain_level, part.env.decay_ms, rate_);
        v.release_step = per_sample(one, part.env.release_ms, rate_);
        // Find the event sounding at start_tick.
        uint32_t at = 0;
        uint32_t e = 0;
        while (e + 1 < part.event_count &&
               at + score->events[part.first_event + e].ticks <= start_tick)
            at += score->events[part.first_event + e++].ticks;
        v.event = e;
        begin_event(i);
        v.ticks_left = at + score->events[part.first_event + e].ticks - start_tick;
        if (part.wave == Wave::Pulse || part.wave == Wave::Triangle) prime_wave(v, part.wave);
    }
    playing_ = true;
}

void TunePlayer::stop() {
    playing_ = false;
    for (auto& v : voices_) v.stage = STAGE_OFF;
}

void TunePlayer::begin_event(int index) {
    const VoiceSpec& part = score_->voices[index];
    VoiceState& v = voices_[index];
    const NoteEvent& ev = score_->events[part.first_event + v.event];
    v.ticks_left = ev.ticks;
    if (ev.pitch == 0) {
        v.gate_left = 0;
        if (v.stage != STAGE_OFF && v.stage != STAGE_HIT) v.stage = STAGE_RELEASE;
        return;
    }
    v.pitch = ev.pitch;
    v.volume = ev.volume;
    v.note_samples = 0;
    v.vibrato_phase = 0;
    v.gate_left = std::max<uint32_t>(1, static_cast<uint32_t>(ev.ticks) * ev.gate / 100);
    if (part.wave == Wave::Drums) {
        const DrumShape& d = drum_shape(ev.pitch);
        v.stage = STAGE_HIT;
        v.hit_length = std::max<uint32_t>(1, static_cast<uint32_t>(d.length_ms) * rate_ / 1000);
        v.short_noise = d.short_noise;
        v.noise_step = d.noise_centi_hz ? hz_step(d.noise_centi_hz, rate_) : 0;
        v.phase = 0;
        return;
    }
    v.step = note_step(ev.pitch, rate_);
    v.duty_phase = static_cast<uint32_t>((static_cast<uint64_t>(ev.duty) << 32) / 100);
    if (part.wave == Wave::Noise) {
        // Pitched noise: the register steps sixteen times per period of the note.
        uint64_t clock = static_cast<uint64_t>(v.step) * 16;
        v.noise_step = clock >= (1ull << 32) ? 0 : static_cast<uint32_t>(clock);
    }
    v.stage = STAGE_ATTACK;
}

void TunePlayer::advance_tick() {
    const Score& s = *score_;
    bool wrapped = false;
    for (int i = 0; i < s.voice_count; ++i) {
        VoiceState& v = voices_[i];
        if (v.finished) continue;
        if (v.gate_left > 0 && --v.gate_left == 0 && v.stage != STAGE_HIT && v.stage != STAGE_OFF)
            v.stage = STAGE_RELEASE;
        if (v.ticks_left > 0 && --v.ticks_left > 0) continue;
        const VoiceSpec& part = s.voices[i];
        if (++v.event >= part.event_count) {
            if (play_once_) {
                v.finished = true;
                v.gate_left = 0;
                if (v.stage != STAGE_OFF && v.stage != STAGE_HIT) v.stage = STAGE_RELEASE;
                continue;
            }
            v.event = part.loop_event;
            wrapped = true;
        }
        begin_event(i);
    }
    ++tick_;
    if (wrapped) tick_ = s.loop_tick;
}

int32_t TunePlayer::drum_sample(VoiceState& v) {
    if (v.note_samples >= v.hit_length) {
        v.stage = STAGE_OFF;
        return 0;
    }
    const DrumShape& d = drum_shape(v.pitch);
    int64_t lin = (static_cast<int64_t>(v.hit_length - v.note_samples) << 16) / v.hit_length;
    int64_t env = lin * lin >> 16;    // falls fast, then lingers
    int64_t sharp = env * lin >> 16;  // for the tone's pitch and body
    ++v.note_samples;
    int64_t out = 0;
    if (d.tone_weight) {
        uint32_t lo = hz_step(d.tone_to_centi_hz, rate_);
        uint32_t hi = hz_step(d.tone_from_centi_hz, rate_);
        v.phase += lo + static_cast<uint32_t>((static_cast<int64_t>(hi - lo) * sharp) >> 16);
        out += triangle(v.phase) * d.tone_weight * (v.pitch == DRUM_SNARE ? sharp : env) >> 24;
    }
    if (d.noise_weight) {
        int64_t shape = v.pitch == DRUM_OPEN_HAT || v.pitch == DRUM_CRASH ? lin : env;
        if (v.pitch == DRUM_KICK)
            shape = v.note_samples < static_cast<uint32_t>(rate_ / 200) ? env : 0;
        out += noise(v) * d.noise_weight * shape >> 24;
    }
    return static_cast<int32_t>(
        out * SYNTH_VOICE_FULL * v.volume / 15 * score_->volume_percent / 100 >> 15);
}

int32_t TunePlayer::voice_sample(int index, VoiceState& v) {
    if (v.stage == STAGE_HIT) return drum_sample(v);
    if (!advance_envelope(v)) return 0;
    const VoiceSpec& part = score_->voices[index];
    const uint32_t step = vibrato_step(part, v, rate_);
    ++v.note_samples;
    const WaveSample w = wave_sample(part.wave, v, step);
    int64_t amp = SYNTH_VOICE_FULL * v.volume * v.level / 15 * score_->volume_percent / 100 >> 16;
    return static_cast<int32_t>(static_cast<int64_t>(w.wave) * w.weight / 256 * amp >> w.shift);
}

void TunePlayer::render_add(int32_t* mix, int frames) {
    if (!playing_) return;
    const Score& s = *score_;
    const uint32_t tick_length = static_cast<uint32_t>(rate_) * 60;
    const uint32_t tick_rate = static_cast<uint32_t>(s.tempo) * TICKS_PER_BEAT;
    for (int f = 0; f < frames; ++f) {
        int32_t left = 0;
        int32_t right = 0;
        for (int i = 0; i < s.voice_count; ++i) {
            VoiceState& v = voices_[i];
            if (v.stage == STAGE_OFF) continue;
            int32_t sample = voice_sample(i, v);
            left += sample * v.gain_left >> 8;
            right += sample * v.gain_right >> 8;
        }
        mix[2 * f] += left;
        mix[2 * f + 1] += right;
        tick_phase_ += tick_rate;
        while (tick_phase_ >= tick_length) {
            tick_phase_ -= tick_length;
            advance_tick();
        }
    }
    if (play_once_) {
        bool sounding = false;
        for (int i = 0; i < s.voice_count; ++i)
            sounding = sounding || !voices_[i].finished || voices_[i].stage != STAGE_OFF;
        playing_ = sounding;
    }
}

}  // namespace vorbel
