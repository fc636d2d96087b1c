// Writes the game's three sound effects as 8-bit mono 22050 Hz PCM WAVEs:
//   shot.wav  a short bright zap (18-byte fmt chunk, a fact chunk, data)
//   bom.wav   a noisy burst      (18-byte fmt chunk, a fact chunk, data)
//   laser.wav a buzzing beam     (16-byte fmt chunk, data)
// Usage: make_sounds OUTDIR
// The sounds are made from fixed formulas and a fixed noise register, so
// every run writes the same bytes.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

// A 16-bit noise register; the same sequence on every run.
struct Noise {
    uint16_t state = 0xACE1;
    double next() {
        uint16_t bit = ((state >> 0) ^ (state >> 2) ^ (state >> 3) ^ (state >> 5)) & 1;
        state = static_cast<uint16_t>((state >> 1) | (bit << 15));
        return (state & 0xFF) / 127.5 - 1.0;
    }
};

std::vector<uint8_t> to_bytes(const std::vector<double>& wave) {
    std::vector<uint8_t> out;
    out.reserve(wave.size());
    for (double s : wave) {
        long v = std::lround(128.0 + 127.0 * std::fmax(-1.0, std::fmin(1.0, s)));
        out.push_back(static_cast<uint8_t>(v));
    }
    return out;
}

// Scales a sound so that its RMS over its whole length is `rms`: the effects
// then stand as loud as the music (about 0.1 of full scale) rather than
// above it.
std::vector<double> rms_normalized(std::vector<double> wave, double rms) {
    double power = 0;
    for (double s : wave) power += s * s;
    const double now = std::sqrt(power / static_cast<double>(wave.size()));
    if (now > 0)
        for (double& s : wave) s *= rms / now;
    return wave;
}

// Scales a sound so that its loudest sample reaches `peak`.
std::vector<double> normalized(std::vector<double> wave, double peak) {
    double top = 0;
    for (double s : wave) top = std::fmax(top, std::fabs(s));
    if (top > 0)
        for (double& s : wave) s *= peak / top;
    return wave;
}

void put16(std::vector<uint8_t>& b, uint16_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void put_id(std::vector<uint8_t>& b, const char* id) {
    b.insert(b.end(), id, id + 4);
}

// The RIFF file: fmt (16 or 18 bytes), an optional fact chunk, then data.
std::vector<uint8_t> wave_file(const std::vector<uint8_t>& samples, bool long_format) {
    std::vector<uint8_t> body;
    put_id(body, "WAVE");
    put_id(body, "fmt ");
    put32(body, long_format ? 18 : 16);
    put16(body, 1);      // PCM
    put16(body, 1);      // mono
    put32(body, kRate);  // samples per second
    put32(body, kRate);  // bytes per second
    put16(body, 1);      // block align
    put16(body, 8);      // bits per sample
    if (long_format) {
        put16(body, 0);  // no extra format bytes
        put_id(body, "fact");
        put32(body, 4);
        put32(body, static_cast<uint32_t>(samples.size()));
    }
    put_id(body, "data");
    put32(body, static_cast<uint32_t>(samples.size()));
    body.insert(body.end(), samples.begin(), samples.end());
    std::vector<uint8_t> file;
    put_id(file, "RIFF");
    put32(file, static_cast<uint32_t>(body.size()));
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

// A bright zap: a pulse sweeping down from high, with a hiss at the start.
std::vector<double> make_shot() {
    const int n = kRate * 13 / 100;
    std::vector<double> w(n);
    Noise noise;
    double phase = 0;
    for (int i = 0; i < n; ++i) {
        double t = static_cast<double>(i) / n;
        double freq = 600 + 1500 * std::pow(1 - t, 3);
        phase += freq / kRate;
        // High for 30% of the period, centred so the zap carries no offset.
        double pulse = (std::fmod(phase, 1.0) < 0.3 ? 1.0 : -1.0) + 0.4;
        double env = std::pow(1 - t, 1.6) * std::fmin(1.0, i / 40.0);
        double hiss = noise.next() * std::exp(-t * 30);
        w[i] = 0.62 * env * (0.8 * pulse + 0.35 * hiss);
    }
    return w;
}

// A burst: low-passed noise that darkens as it fades, over a falling thump.
std::vector<double> make_bom() {
    const int n = kRate * 60 / 100;
    std::vector<double> w(n);
    Noise noise;
    double low = 0;
    double phase = 0;
    for (int i = 0; i < n; ++i) {
        double t = static_cast<double>(i) / n;
        double cutoff = 0.45 * std::exp(-t * 3.5) + 0.03;
        low += cutoff * (noise.next() - low);
        phase += (90 * std::exp(-t * 4) + 35) / kRate;
        double thump = std::sin(2 * kPi * phase) * std::exp(-t * 7);
        double env = std::exp(-t * 4.5) * std::fmin(1.0, i / 30.0);
        w[i] = 0.8 * (1.8 * low * env + 0.5 * thump);
    }
    return w;
}

// A beam: two detuned saws chopped by a fast buzz, steady, then fading.
std::vector<double> make_laser() {
    const int n = kRate * 70 / 100;
    std::vector<double> w(n);
    double a = 0, b = 0, buzz = 0;
    for (int i = 0; i < n; ++i) {
        double t = static_cast<double>(i) / n;
        double wobble = 1 + 0.03 * std::sin(2 * kPi * 7 * i / kRate);
        a += 220 * wobble / kRate;
        b += 331 * wobble / kRate;
        buzz += 55.0 / kRate;
        double saw = (2 * std::fmod(a, 1.0) - 1) * 0.6 + (2 * std::fmod(b, 1.0) - 1) * 0.4;
        double gate = std::fmod(buzz, 1.0) < 0.6 ? 1.0 : 0.35;
        double env = std::fmin(1.0, i / 200.0) * (t < 0.7 ? 1.0 : (1 - t) / 0.3);
        w[i] = 0.68 * saw * gate * env;
    }
    return w;
}

bool write_file(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sounds OUTDIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    const bool ok =
        write_file(dir + "/shot.wav",
                   wave_file(to_bytes(rms_normalized(make_shot(), 0.11)), true)) &&
        write_file(dir + "/bom.wav", wave_file(to_bytes(normalized(make_bom(), 0.85)), true)) &&
        write_file(dir + "/laser.wav",
                   wave_file(to_bytes(rms_normalized(make_laser(), 0.11)), false));
    if (!ok) {
        std::fprintf(stderr, "make_sounds: cannot write into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
