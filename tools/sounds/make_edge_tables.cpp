// Writes src/vorbel/edge_tables.cpp: the corrections that turn a sampled
// pulse or triangle into a band-limited one.
//
// A sharp edge sampled as it is carries harmonics above half the sample rate,
// and they fold back as tones that belong to no note. The band-limited wave is
// the ideal wave passed through a low-pass filter (a Kaiser-windowed sinc that
// stops before half the rate) and then sampled. Around each jump of the
// wave, that differs from the plain samples by the filtered step minus the
// ideal step; around each corner (a jump of the slope), by the filtered ramp
// minus the ideal ramp. The tables hold both differences for the 2 * kHalf
// samples around an edge, at kPhases + 1 positions of the edge between two
// samples, in units of 1 / 65536.
//
// Usage: make_edge_tables OUT.cpp. The tables are computed once here, in
// floating point, and committed, so the synthesizer itself stays in integers
// and sounds the same on every machine.
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int kHalf = 16;         // samples each side of an edge the filter reaches
constexpr int kPhases = 64;       // positions of an edge between two samples
constexpr int kFine = 64;         // integration points per table position
constexpr double kCutoff = 0.42;  // of the sample rate: the filter's middle
constexpr double kBeta = 8.0;     // Kaiser shape: about 80 dB in the stopband
constexpr double kPi = 3.14159265358979323846;

double bessel_i0(double x) {
    double sum = 1.0, term = 1.0;
    for (int k = 1; k < 60; ++k) {
        term *= (x / (2.0 * k)) * (x / (2.0 * k));
        sum += term;
    }
    return sum;
}

// The filter's impulse response at `t` samples from its centre.
double filter(double t) {
    if (std::fabs(t) >= kHalf) return 0.0;
    const double x = 2.0 * kPi * kCutoff * t;
    const double sinc = t == 0.0 ? 1.0 : std::sin(x) / x;
    const double r = t / kHalf;
    return 2.0 * kCutoff * sinc * bessel_i0(kBeta * std::sqrt(1.0 - r * r)) / bessel_i0(kBeta);
}

long to_fixed(double v) {
    return std::lround(v * 65536.0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_edge_tables OUT.cpp\n");
        return 2;
    }
    // The filtered step and ramp on a fine grid from -kHalf to kHalf, by
    // trapezoids; the step is scaled to end exactly at 1.
    const int points = 2 * kHalf * kPhases * kFine;
    const double dt = 1.0 / (kPhases * kFine);
    std::vector<double> step(points + 1), ramp(points + 1);
    step[0] = 0.0;
    for (int i = 1; i <= points; ++i) {
        const double t = -kHalf + i * dt;
        step[i] = step[i - 1] + 0.5 * dt * (filter(t - dt) + filter(t));
    }
    const double total = step[points];
    for (double& s : step) s /= total;
    ramp[0] = 0.0;
    for (int i = 1; i <= points; ++i) ramp[i] = ramp[i - 1] + 0.5 * dt * (step[i - 1] + step[i]);

    std::FILE* out = std::fopen(argv[1], "w");
    if (!out) {
        std::fprintf(stderr, "make_edge_tables: cannot write %s\n", argv[1]);
        return 1;
    }
    std::fprintf(
        out,
        "// Made by tools/sounds/make_edge_tables; do not edit by hand.\n"
        "#include \"vorbel/edge_tables.h\"\n\nnamespace vorbel {\n\n// clang-format off\n");
    const char* names[2] = {"EDGE_STEP_CORRECTION", "EDGE_RAMP_CORRECTION"};
    for (int table = 0; table < 2; ++table) {
        std::fprintf(out, "%sconst int32_t %s[EDGE_PHASES + 1][EDGE_TAPS] = {\n", table ? "\n" : "",
                     names[table]);
        for (int p = 0; p <= kPhases; ++p) {
            std::fprintf(out, "    {");
            for (int i = 0; i < 2 * kHalf; ++i) {
                // Tap i lands on sample n - (kHalf - 1) + i, where n is the
                // first sample after the edge and the edge lies p / kPhases of
                // a sample before n.
                const double tau = i - (kHalf - 1) + static_cast<double>(p) / kPhases;
                double v = 0.0;
                if (i < 2 * kHalf - 1) {
                    const int at = static_cast<int>(std::lround((tau + kHalf) / dt));
                    const bool after = i >= kHalf - 1;  // the ideal edge has passed
                    v = table == 0 ? step[at] - (after ? 1.0 : 0.0)
                                   : ramp[at] - (after ? tau : 0.0);
                }
                const char* gap = i == 0 ? "" : i % 8 == 0 ? ",\n     " : ", ";
                std::fprintf(out, "%s%ld", gap, to_fixed(v));
            }
            std::fprintf(out, "},\n");
        }
        std::fprintf(out, "};\n");
    }
    std::fprintf(out, "// clang-format on\n\n}  // namespace vorbel\n");
    return std::fclose(out) == 0 ? 0 : 1;
}
