// Splits a stretch of a sustained note into the power at the note's
// harmonics and the power everywhere else, for the synthesizer's tests.
//
// The stretch is 8,192 samples under a Hann window. A harmonic's power is
// that of the fitted tone under the window, side lobes included, so a clean
// note at any frequency measures clean: counting only the bins near each
// harmonic would blame the window's own side lobes beyond them, about -39 dB
// for a tone half-way between two bins.
#pragma once

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstddef>
#include <vector>

namespace harmonics {

constexpr int kWindow = 8192;
constexpr double kPi = 3.14159265358979323846;

using Complex = std::complex<double>;

struct Analysis {
    double harmonic_power = 0;
    double other_power = 0;
    std::vector<double> amplitude;  // of harmonic h (index 0: the mean)

    // Below about -120 dB the fit's own rounding dominates; that is reported
    // as -120.
    double other_db() const {
        return 10.0 * std::log10(std::max(other_power / harmonic_power, 1e-12));
    }
};

inline void fft(std::vector<Complex>& a) {
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const Complex turn = std::polar(1.0, -2.0 * kPi / static_cast<double>(len));
        for (size_t i = 0; i < n; i += len) {
            Complex w = 1.0;
            for (size_t k = 0; k < len / 2; ++k) {
                const Complex u = a[i + k];
                const Complex v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
                w *= turn;
            }
        }
    }
}

inline double hann(int n) {
    return 0.5 - 0.5 * std::cos(2.0 * kPi * n / kWindow);
}

// The transform of the window at `d` bins from a tone's own frequency.
inline Complex window_at(double d) {
    auto dirichlet = [](double x) -> Complex {
        const double whole = std::round(x);
        if (std::fabs(x - whole) < 1e-12)
            return std::fmod(std::fabs(whole), kWindow) == 0 ? Complex(kWindow) : Complex(0);
        return (1.0 - std::polar(1.0, -2.0 * kPi * x)) /
               (1.0 - std::polar(1.0, -2.0 * kPi * x / kWindow));
    };
    return 0.5 * dirichlet(d) - 0.25 * dirichlet(d - 1) - 0.25 * dirichlet(d + 1);
}

// `samples` (at least kWindow of them) of a note of `cycles_per_sample`.
// Each harmonic's complex amplitude is fitted to the seven bins nearest it,
// and the fitted tone, side lobes and all, is taken out of the spectrum; what
// is left is the other power. Harmonics within four bins of half the rate
// are left in with the rest.
inline Analysis analyse(const std::vector<double>& samples, double cycles_per_sample) {
    constexpr int kFitReach = 3;    // bins either side a harmonic is fitted to
    constexpr int kSideLobes = 64;  // bins either side it is taken out from
    std::vector<Complex> spectrum(kWindow);
    double window_power = 0;
    for (int n = 0; n < kWindow; ++n) {
        const double w = hann(n);
        spectrum[n] = w * samples[n];
        window_power += w * w;
    }
    fft(spectrum);
    std::vector<Complex> rest = spectrum;
    auto at = [](int k) { return ((k % kWindow) + kWindow) % kWindow; };
    Analysis a;
    for (int h = 0;; ++h) {
        const double bin = h * cycles_per_sample * kWindow;
        if (bin > kWindow / 2 - 4) break;
        Complex fit = 0;
        double norm = 0;
        for (int k = static_cast<int>(std::ceil(bin - kFitReach)); k <= bin + kFitReach; ++k) {
            const Complex shape = window_at(k - bin);
            fit += spectrum[at(k)] * std::conj(shape);
            norm += std::norm(shape);
        }
        fit /= norm;
        if (h == 0) {
            // The mean is its own mirror image: one real amplitude.
            fit = fit.real();
            a.amplitude.push_back(std::abs(fit));
            a.harmonic_power += std::norm(fit) * window_power;
        } else {
            // A real tone is two mirrored halves, each of half its amplitude.
            a.amplitude.push_back(2.0 * std::abs(fit));
            a.harmonic_power += 2.0 * std::norm(fit) * window_power;
        }
        const int first = static_cast<int>(std::lround(bin)) - kSideLobes;
        for (int j = 0; j <= 2 * kSideLobes; ++j) {
            const Complex tone = fit * window_at(first + j - bin);
            rest[at(first + j)] -= tone;
            if (h > 0) rest[at(-(first + j))] -= std::conj(tone);
        }
    }
    for (const Complex& r : rest) a.other_power += std::norm(r);
    a.other_power /= kWindow;
    return a;
}

}  // namespace harmonics
