#include "vorbel/score.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace vorbel {
namespace {

constexpr int SCORE_MAX_SPANS = 1024;
constexpr int SCORE_MAX_PATTERNS = 32;
constexpr int SCORE_MAX_BRACKETS = 8;
constexpr int SCORE_MAX_PATTERN_DEPTH = 4;
// Patterns spliced into patterns could make a tiny score take very long to
// compile; past this many characters of note text it is refused.
constexpr size_t SCORE_MAX_WORK = 1u << 20;
constexpr uint32_t SCORE_MAX_TICKS = 1u << 24;

// A stretch of note text that belongs to a voice or a pattern.
struct Span {
    const char* text;
    size_t size;
    int line;
    int owner;
    bool pattern;
};

struct Parser {
    Score* score;
    ScoreError* error;
    Span spans[SCORE_MAX_SPANS];
    int span_count = 0;
    char patterns[SCORE_MAX_PATTERNS][SCORE_NAME_SIZE];
    int pattern_count = 0;
    bool have_header = false;
    bool have_tempo = false;
    bool have_mode = false;
    size_t work = 0;
    int voice_line[SCORE_MAX_VOICES] = {};  // where each voice is declared

    // The voice being compiled.
    VoiceSpec* voice = nullptr;
    int octave = 4;
    int length = TICKS_PER_BEAT;
    int volume = 15;
    int gate = 100;
    int duty = 50;
    uint32_t ticks = 0;
    bool loop_marked = false;
    uint32_t loop_tick = 0;
    bool first_loop_marked = false;
    uint32_t bracket_event[SCORE_MAX_BRACKETS];
    uint32_t bracket_tick[SCORE_MAX_BRACKETS];
    int bracket_depth = 0;
};

bool fail(Parser& ps, int line, const char* format, ...) {
    ps.error->line = line;
    char text[sizeof ps.error->message - 24];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (line > 0)
        std::snprintf(ps.error->message, sizeof ps.error->message, "line %d: %s", line, text);
    else
        std::snprintf(ps.error->message, sizeof ps.error->message, "%s", text);
    return false;
}

bool is_space(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}
bool is_digit(char c) {
    return c >= '0' && c <= '9';
}
bool is_name_char(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || is_digit(c) || c == '_';
}

// A cursor over one line (or one span) of text.
struct Cursor {
    const char* p;
    const char* end;
    int line;

    void skip_spaces() {
        while (p < end && is_space(*p)) ++p;
    }
    bool at_end() {
        skip_spaces();
        return p >= end;
    }
    // Reads a name into `out`; false when none starts here or it is too long.
    bool name(char (&out)[SCORE_NAME_SIZE]) {
        skip_spaces();
        size_t n = 0;
        while (p < end && is_name_char(*p)) {
            if (n + 1 >= SCORE_NAME_SIZE) return false;
            out[n++] = *p++;
        }
        out[n] = '\0';
        return n > 0;
    }
    bool word(const char* expected) {
        skip_spaces();
        size_t n = std::strlen(expected);
        if (static_cast<size_t>(end - p) < n || std::memcmp(p, expected, n) != 0) return false;
        if (p + n < end && is_name_char(p[n])) return false;
        p += n;
        return true;
    }
};

// Reads an optionally signed decimal number of at most six digits.
bool read_number(Cursor& c, int* value) {
    bool negative = false;
    if (c.p < c.end && *c.p == '-') {
        negative = true;
        ++c.p;
    }
    if (c.p >= c.end || !is_digit(*c.p)) return false;
    int v = 0;
    int digits = 0;
    while (c.p < c.end && is_digit(*c.p)) {
        if (++digits > 6) return false;
        v = v * 10 + (*c.p++ - '0');
    }
    *value = negative ? -v : v;
    return true;
}

bool read_ranged(Parser& ps, Cursor& c, const char* what, int low, int high, int* value) {
    if (!read_number(c, value)) return fail(ps, c.line, "%s needs a number", what);
    if (*value < low || *value > high)
        return fail(ps, c.line, "%s %d is outside %d to %d", what, *value, low, high);
    return true;
}

// A note length: a divisor of the whole note and dots; `fallback` when no
// number is written and `required` is false.
bool read_length(Parser& ps, Cursor& c, int fallback, bool required, int* ticks) {
    int t = fallback;
    if (c.p < c.end && is_digit(*c.p)) {
        int n = 0;
        if (!read_number(c, &n) || n < 1 || n > TICKS_PER_WHOLE || TICKS_PER_WHOLE % n != 0)
            return fail(ps, c.line, "length %d does not divide a whole note", n);
        t = TICKS_PER_WHOLE / n;
    } else if (required) {
        return fail(ps, c.line, "a length is missing");
    }
    // Each dot adds half of what the last one added; lengths stay whole ticks.
    int add = t;
    while (c.p < c.end && *c.p == '.') {
        ++c.p;
        if (add % 2 != 0) return fail(ps, c.line, "too many dots for this length");
        add /= 2;
        t += add;
    }
    *ticks = t;
    return true;
}

bool add_ticks(Parser& ps, int line, uint32_t ticks) {
    ps.ticks += ticks;
    if (ps.ticks > SCORE_MAX_TICKS) return fail(ps, line, "voice '%s' is too long", ps.voice->name);
    return true;
}

bool emit(Parser& ps, int line, int ticks, int pitch) {
    Score& s = *ps.score;
    if (s.event_count >= static_cast<uint32_t>(SCORE_MAX_EVENTS))
        return fail(ps, line, "too many notes (at most %d)", SCORE_MAX_EVENTS);
    NoteEvent& e = s.events[s.event_count++];
    e.ticks = static_cast<uint16_t>(ticks);
    e.pitch = static_cast<uint8_t>(pitch);
    e.volume = static_cast<uint8_t>(ps.volume);
    e.gate = static_cast<uint8_t>(ps.gate);
    e.duty = static_cast<uint8_t>(ps.duty);
    return add_ticks(ps, line, static_cast<uint32_t>(ticks));
}

int find_pattern(const Parser& ps, const char* name) {
    for (int i = 0; i < ps.pattern_count; ++i)
        if (std::strcmp(ps.patterns[i], name) == 0) return i;
    return -1;
}

int find_voice(const Parser& ps, const char* name) {
    for (int i = 0; i < ps.score->voice_count; ++i)
        if (std::strcmp(ps.score->voices[i].name, name) == 0) return i;
    return -1;
}

bool compile_span(Parser& ps, const Span& span, int depth);

bool compile_pattern(Parser& ps, Cursor& c, int depth) {
    char name[SCORE_NAME_SIZE];
    if (!c.name(name)) return fail(ps, c.line, "'$' needs a pattern name");
    int index = find_pattern(ps, name);
    if (index < 0) return fail(ps, c.line, "no pattern named '%s'", name);
    if (depth + 1 > SCORE_MAX_PATTERN_DEPTH)
        return fail(ps, c.line, "patterns nest deeper than %d", SCORE_MAX_PATTERN_DEPTH);
    for (int i = 0; i < ps.span_count; ++i) {
        const Span& s = ps.spans[i];
        if (s.pattern && s.owner == index && !compile_span(ps, s, depth + 1)) return false;
    }
    return true;
}

bool close_repeat(Parser& ps, Cursor& c) {
    if (ps.bracket_depth == 0) return fail(ps, c.line, "']' without '['");
    int times = 2;
    if (c.p < c.end && is_digit(*c.p) && !read_ranged(ps, c, "repeat count", 1, 99, &times))
        return false;
    --ps.bracket_depth;
    Score& s = *ps.score;
    uint32_t first = ps.bracket_event[ps.bracket_depth];
    uint32_t count = s.event_count - first;
    uint32_t span_ticks = ps.ticks - ps.bracket_tick[ps.bracket_depth];
    for (int r = 1; r < times; ++r) {
        if (count > static_cast<uint32_t>(SCORE_MAX_EVENTS) - s.event_count)
            return fail(ps, c.line, "too many notes (at most %d)", SCORE_MAX_EVENTS);
        std::memmove(&s.events[s.event_count], &s.events[first], count * sizeof(NoteEvent));
        s.event_count += count;
        if (!add_ticks(ps, c.line, span_ticks)) return false;
    }
    return true;
}

bool tie(Parser& ps, Cursor& c) {
    int extra = 0;
    if (!read_length(ps, c, ps.length, false, &extra)) return false;
    Score& s = *ps.score;
    // Only a note of this voice, after the loop point and inside the current
    // repeat, can be lengthened: anything else would change another passage.
    uint32_t floor = ps.voice->first_event;
    if (ps.loop_marked) floor = ps.voice->first_event + ps.voice->loop_event;
    if (ps.bracket_depth > 0 && ps.bracket_event[ps.bracket_depth - 1] > floor)
        floor = ps.bracket_event[ps.bracket_depth - 1];
    if (s.event_count <= floor) return fail(ps, c.line, "'^' has no note to tie onto");
    NoteEvent& e = s.events[s.event_count - 1];
    if (e.ticks + extra > 0xFFFF) return fail(ps, c.line, "a tied note is too long");
    e.ticks = static_cast<uint16_t>(e.ticks + extra);
    return add_ticks(ps, c.line, static_cast<uint32_t>(extra));
}

int drum_for(char ch) {
    switch (ch) {
        case 'k':
            return DRUM_KICK;
        case 's':
            return DRUM_SNARE;
        case 'h':
            return DRUM_HAT;
        case 'o':
            return DRUM_OPEN_HAT;
        case 'x':
            return DRUM_CRASH;
        case 't':
            return DRUM_TOM;
        default:
            return 0;
    }
}

bool compile_span(Parser& ps, const Span& span, int depth) {
    Cursor c{span.text, span.text + span.size, span.line};
    const bool drums = ps.voice->wave == Wave::Drums;
    while (!c.at_end()) {
        if (++ps.work > SCORE_MAX_WORK) return fail(ps, c.line, "the score expands too far");
        char ch = *c.p++;
        int value = 0;
        if (drums && drum_for(ch)) {
            if (!read_length(ps, c, ps.length, false, &value) ||
                !emit(ps, c.line, value, drum_for(ch)))
                return false;
            continue;
        }
        if (!drums && ch >= 'a' && ch <= 'g') {
            static const int SCORE_SEMITONE[7] = {9, 11, 0, 2, 4, 5, 7};
            int pitch = 12 * (ps.octave + 1) + SCORE_SEMITONE[ch - 'a'];
            while (c.p < c.end && (*c.p == '+' || *c.p == '#' || *c.p == '-'))
                pitch += *c.p++ == '-' ? -1 : 1;
            if (pitch < 12 || pitch > 119)
                return fail(ps, c.line, "note '%c' is outside octaves 0 to 8", ch);
            if (!read_length(ps, c, ps.length, false, &value) || !emit(ps, c.line, value, pitch))
                return false;
            continue;
        }
        switch (ch) {
            case '|':
                break;
            case 'r':
                if (!read_length(ps, c, ps.length, false, &value) || !emit(ps, c.line, value, 0))
                    return false;
                break;
            case '^':
                if (!tie(ps, c)) return false;
                break;
            case 'o':
                if (!read_ranged(ps, c, "octave", 0, 8, &ps.octave)) return false;
                break;
            case '>':
                if (++ps.octave > 8) return fail(ps, c.line, "'>' goes above octave 8");
                break;
            case '<':
                if (--ps.octave < 0) return fail(ps, c.line, "'<' goes below octave 0");
                break;
            case 'l':
                if (!read_length(ps, c, 0, true, &ps.length)) return false;
                break;
            case 'v':
                if (!read_ranged(ps, c, "volume", 0, 15, &ps.volume)) return false;
                break;
            case 'q':
                if (!read_ranged(ps, c, "gate", 1, 100, &ps.gate)) return false;
                break;
            case '@':
                if (!read_ranged(ps, c, "duty", 1, 99, &ps.duty)) return false;
                break;
            case 'L':
                if (depth > 0 || ps.bracket_depth > 0)
                    return fail(ps, c.line, "the loop point cannot be inside a repeat or pattern");
                if (ps.loop_marked) return fail(ps, c.line, "a second loop point");
                ps.loop_marked = true;
                ps.loop_tick = ps.ticks;
                ps.voice->loop_event = ps.score->event_count - ps.voice->first_event;
                break;
            case '[':
                if (ps.bracket_depth >= SCORE_MAX_BRACKETS)
                    return fail(ps, c.line, "repeats nest deeper than %d", SCORE_MAX_BRACKETS);
                ps.bracket_event[ps.bracket_depth] = ps.score->event_count;
                ps.bracket_tick[ps.bracket_depth] = ps.ticks;
                ++ps.bracket_depth;
                break;
            case ']':
                if (!close_repeat(ps, c)) return false;
                break;
            case '$':
                if (!compile_pattern(ps, c, depth)) return false;
                break;
            default:
                if (ch > ' ' && ch < 127)
                    return fail(ps, c.line, "unexpected '%c' in voice '%s'", ch, ps.voice->name);
                return fail(ps, c.line, "unexpected byte 0x%02x", static_cast<unsigned char>(ch));
        }
    }
    return true;
}

bool add_span(Parser& ps, Cursor& c, int owner, bool pattern) {
    if (ps.span_count >= SCORE_MAX_SPANS) return fail(ps, c.line, "too many lines of notes");
    c.skip_spaces();
    ps.spans[ps.span_count++] = Span{c.p, static_cast<size_t>(c.end - c.p), c.line, owner, pattern};
    return true;
}

bool read_envelope(Parser& ps, Cursor& c, Envelope* env) {
    int a, d, s, r;
    if (!read_ranged(ps, c, "attack", 0, 5000, &a)) return false;
    if (c.p >= c.end || *c.p++ != ',') return fail(ps, c.line, "env needs A,D,S,R");
    if (!read_ranged(ps, c, "decay", 0, 5000, &d)) return false;
    if (c.p >= c.end || *c.p++ != ',') return fail(ps, c.line, "env needs A,D,S,R");
    if (!read_ranged(ps, c, "sustain", 0, 15, &s)) return false;
    if (c.p >= c.end || *c.p++ != ',') return fail(ps, c.line, "env needs A,D,S,R");
    if (!read_ranged(ps, c, "release", 0, 5000, &r)) return false;
    *env = Envelope{static_cast<uint16_t>(a), static_cast<uint16_t>(d), static_cast<uint8_t>(s),
                    static_cast<uint16_t>(r)};
    return true;
}

bool read_vibrato(Parser& ps, Cursor& c, VoiceSpec* v) {
    int depth, rate, delay;
    if (!read_ranged(ps, c, "vibrato depth", 0, 1200, &depth)) return false;
    if (c.p >= c.end || *c.p++ != ',') return fail(ps, c.line, "vib needs CENTS,RATE,DELAY");
    if (!read_ranged(ps, c, "vibrato rate", 0, 500, &rate)) return false;
    if (c.p >= c.end || *c.p++ != ',') return fail(ps, c.line, "vib needs CENTS,RATE,DELAY");
    if (!read_ranged(ps, c, "vibrato delay", 0, 10000, &delay)) return false;
    v->vibrato_cents = static_cast<uint16_t>(depth);
    v->vibrato_rate = static_cast<uint16_t>(rate);
    v->vibrato_delay_ms = static_cast<uint16_t>(delay);
    return true;
}

// voice NAME KIND key=value...
bool declare_voice(Parser& ps, Cursor& c) {
    Score& s = *ps.score;
    if (s.voice_count >= SCORE_MAX_VOICES)
        return fail(ps, c.line, "more than %d voices", SCORE_MAX_VOICES);
    VoiceSpec v{};
    if (!c.name(v.name)) return fail(ps, c.line, "a voice needs a name of at most 15 letters");
    if (find_voice(ps, v.name) >= 0) return fail(ps, c.line, "voice '%s' twice", v.name);
    ps.voice_line[s.voice_count] = c.line;
    if (c.word("pulse"))
        v.wave = Wave::Pulse;
    else if (c.word("triangle"))
        v.wave = Wave::Triangle;
    else if (c.word("noise"))
        v.wave = Wave::Noise;
    else if (c.word("drums"))
        v.wave = Wave::Drums;
    else
        return fail(ps, c.line, "voice '%s' needs a kind: pulse, triangle, noise or drums", v.name);
    v.volume = 12;
    v.duty = 50;
    v.gate = 90;
    v.env = Envelope{2, 0, 15, 30};
    v.loop_event = 0;
    int octave = 4;
    while (!c.at_end()) {
        char key[SCORE_NAME_SIZE];
        if (!c.name(key) || c.p >= c.end || *c.p++ != '=')
            return fail(ps, c.line, "voice settings are written key=value");
        int value = 0;
        if (std::strcmp(key, "duty") == 0) {
            if (!read_ranged(ps, c, "duty", 1, 99, &value)) return false;
            v.duty = static_cast<uint8_t>(value);
        } else if (std::strcmp(key, "vol") == 0) {
            if (!read_ranged(ps, c, "vol", 0, 15, &value)) return false;
            v.volume = static_cast<uint8_t>(value);
        } else if (std::strcmp(key, "gate") == 0) {
            if (!read_ranged(ps, c, "gate", 1, 100, &value)) return false;
            v.gate = static_cast<uint8_t>(value);
        } else if (std::strcmp(key, "pan") == 0) {
            if (!read_ranged(ps, c, "pan", -100, 100, &value)) return false;
            v.pan = static_cast<int8_t>(value);
        } else if (std::strcmp(key, "o") == 0) {
            if (!read_ranged(ps, c, "octave", 0, 8, &octave)) return false;
        } else if (std::strcmp(key, "env") == 0) {
            if (!read_envelope(ps, c, &v.env)) return false;
        } else if (std::strcmp(key, "vib") == 0) {
            if (!read_vibrato(ps, c, &v)) return false;
        } else {
            return fail(ps, c.line, "unknown voice setting '%s'", key);
        }
        if (c.p < c.end && !is_space(*c.p))
            return fail(ps, c.line, "unexpected text after '%s'", key);
    }
    // The default octave rides in the spare loop_event word until compiling.
    v.loop_event = static_cast<uint32_t>(octave);
    s.voices[s.voice_count++] = v;
    return true;
}

bool read_statement(Parser& ps, Cursor& c) {
    Score& s = *ps.score;
    char word[SCORE_NAME_SIZE];
    const char* start = c.p;
    if (!c.name(word)) return fail(ps, c.line, "a statement must begin with a word");
    c.skip_spaces();
    const bool is_notes = c.p < c.end && *c.p == ':';
    if (!ps.have_header) {
        int version = 0;
        c.p = start;
        if (!c.word("vbtune")) return fail(ps, c.line, "a score begins with 'vbtune 1'");
        c.skip_spaces();
        if (!read_number(c, &version) || version != 1 || !c.at_end())
            return fail(ps, c.line, "only 'vbtune 1' scores are understood");
        ps.have_header = true;
        return true;
    }
    if (is_notes) {
        ++c.p;
        int voice = find_voice(ps, word);
        if (voice < 0) return fail(ps, c.line, "notes for undeclared voice '%s'", word);
        return add_span(ps, c, voice, false);
    }
    if (std::strcmp(word, "tempo") == 0) {
        if (ps.have_tempo) return fail(ps, c.line, "a second tempo");
        if (!read_ranged(ps, c, "tempo", 30, 300, &s.tempo)) return false;
        ps.have_tempo = true;
    } else if (std::strcmp(word, "mode") == 0) {
        if (ps.have_mode) return fail(ps, c.line, "a second mode");
        if (c.word("loop"))
            s.loops = true;
        else if (c.word("once"))
            s.loops = false;
        else
            return fail(ps, c.line, "mode is 'loop' or 'once'");
        ps.have_mode = true;
    } else if (std::strcmp(word, "volume") == 0) {
        if (!read_ranged(ps, c, "volume", 1, 100, &s.volume_percent)) return false;
    } else if (std::strcmp(word, "voice") == 0) {
        return declare_voice(ps, c);
    } else if (std::strcmp(word, "pattern") == 0) {
        char name[SCORE_NAME_SIZE];
        if (!c.name(name)) return fail(ps, c.line, "a pattern needs a name of at most 15 letters");
        c.skip_spaces();
        if (c.p >= c.end || *c.p++ != ':') return fail(ps, c.line, "write 'pattern NAME: notes'");
        int index = find_pattern(ps, name);
        if (index < 0) {
            if (ps.pattern_count >= SCORE_MAX_PATTERNS)
                return fail(ps, c.line, "more than %d patterns", SCORE_MAX_PATTERNS);
            index = ps.pattern_count++;
            std::memcpy(ps.patterns[index], name, sizeof name);
        }
        return add_span(ps, c, index, true);
    } else {
        return fail(ps, c.line, "unknown statement '%s'", word);
    }
    if (!c.at_end()) return fail(ps, c.line, "unexpected text after '%s'", word);
    return true;
}

bool compile_voice(Parser& ps, int index) {
    Score& s = *ps.score;
    VoiceSpec& v = s.voices[index];
    ps.voice = &v;
    ps.octave = static_cast<int>(v.loop_event);
    ps.length = TICKS_PER_BEAT;
    ps.volume = v.volume;
    ps.gate = v.gate;
    ps.duty = v.duty;
    ps.ticks = 0;
    ps.loop_marked = false;
    ps.loop_tick = 0;
    ps.bracket_depth = 0;
    v.first_event = s.event_count;
    v.loop_event = 0;
    // Faults of the voice as a whole are told at its last line of notes, or
    // at its declaration when it has none.
    int last_line = ps.voice_line[index];
    for (int i = 0; i < ps.span_count; ++i) {
        const Span& span = ps.spans[i];
        if (span.pattern || span.owner != index) continue;
        last_line = span.line;
        if (!compile_span(ps, span, 0)) return false;
    }
    if (ps.bracket_depth > 0) return fail(ps, last_line, "'[' without ']' in voice '%s'", v.name);
    v.event_count = s.event_count - v.first_event;
    if (ps.ticks == 0) return fail(ps, last_line, "voice '%s' has no notes", v.name);
    if (index == 0) {
        s.length_ticks = ps.ticks;
        s.loop_tick = ps.loop_tick;
    }
    if (ps.ticks != s.length_ticks)
        return fail(ps, last_line, "voice '%s' lasts %u ticks but voice '%s' %u", v.name, ps.ticks,
                    s.voices[0].name, s.length_ticks);
    if (!s.loops && ps.loop_marked)
        return fail(ps, last_line, "voice '%s' marks a loop point in a 'mode once' score", v.name);
    if (index == 0) ps.first_loop_marked = ps.loop_marked;
    if (ps.loop_marked != ps.first_loop_marked)
        return fail(ps, last_line, "voice '%s' %s a loop point but voice '%s' %s", v.name,
                    ps.loop_marked ? "marks" : "lacks", s.voices[0].name,
                    ps.loop_marked ? "does not" : "does");
    if (ps.loop_tick != s.loop_tick)
        return fail(ps, last_line, "voice '%s' loops at tick %u but voice '%s' at %u", v.name,
                    ps.loop_tick, s.voices[0].name, s.loop_tick);
    if (ps.loop_marked && ps.loop_tick >= ps.ticks)
        return fail(ps, last_line, "voice '%s' marks its loop point at its very end", v.name);
    return true;
}

}  // namespace

bool parse_score(const uint8_t* text, size_t size, Score* out, ScoreError* error) {
    static ScoreError ignored;
    Parser ps;
    ps.score = out;
    ps.error = error ? error : &ignored;
    ps.error->line = 0;
    ps.error->message[0] = '\0';
    out->tempo = 120;
    out->loops = true;
    out->volume_percent = 100;
    out->length_ticks = 0;
    out->loop_tick = 0;
    out->voice_count = 0;
    out->event_count = 0;

    const char* p = reinterpret_cast<const char*>(text);
    const char* end = p + size;
    int line = 0;
    while (p < end) {
        ++line;
        const char* eol =
            static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        if (!eol) eol = end;
        const char* stop =
            static_cast<const char*>(std::memchr(p, '#', static_cast<size_t>(eol - p)));
        Cursor c{p, stop ? stop : eol, line};
        if (!c.at_end() && !read_statement(ps, c)) return false;
        p = eol < end ? eol + 1 : end;
    }
    // What is missing from the whole score is told at its last line.
    line = std::max(line, 1);
    if (!ps.have_header) return fail(ps, line, "a score begins with 'vbtune 1'");
    if (!ps.have_tempo) return fail(ps, line, "the score has no tempo");
    if (!ps.have_mode) return fail(ps, line, "the score says neither 'mode loop' nor 'mode once'");
    if (out->voice_count == 0) return fail(ps, line, "the score has no voices");
    for (int i = 0; i < out->voice_count; ++i)
        if (!compile_voice(ps, i)) return false;
    return true;
}

}  // namespace vorbel
