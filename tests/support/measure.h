// Measures the tests take of bytes and samples: a digest of bytes and their
// text as lowercase hex (the golden replays pin both), and the mean and RMS
// of samples (what the player hears).
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

// FNV-1a over any sequence of bytes (a string or a vector of uint8_t).
template <typename Bytes>
uint32_t fnv1a(const Bytes& bytes) {
    uint32_t h = 2166136261u;
    for (unsigned char c : bytes) h = (h ^ c) * 16777619u;
    return h;
}

inline std::string to_hex(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) out += {"0123456789abcdef"[c >> 4], "0123456789abcdef"[c & 15]};
    return out;
}

inline std::string from_hex(const std::string& hex) {
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

template <typename T>
double rms(const std::vector<T>& x) {
    double power = 0;
    for (T s : x) power += static_cast<double>(s) * s;
    return std::sqrt(power / static_cast<double>(x.size()));
}

template <typename T>
double mean(const std::vector<T>& x) {
    double sum = 0;
    for (T s : x) sum += s;
    return sum / static_cast<double>(x.size());
}
