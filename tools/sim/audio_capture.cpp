#include "sim/audio_capture.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/file_io.h"
#include "platform/tune_render.h"

namespace {

constexpr size_t HEADER_BYTES = 44;
// The most sample bytes a WAVE's 32-bit sizes can count.
constexpr uint64_t MOST_DATA_BYTES = 0xFFFFFFFFull - 36 - 3;

// Fixed storage: the run allocates nothing once the first mode begins.
struct Capture {
    bool open = false;
    ReplacedFile file;
    int error = 0;  // errno of the first failure
    int rate = 0;   // of the frames given; 0 before any
    uint64_t data_bytes = 0;
    uint8_t pending[64 * 1024];
    size_t pending_bytes = 0;
};
Capture capture;

void header(uint8_t* out, int rate, uint32_t data_bytes) {
    auto put32 = [&](int at, uint32_t v) {
        for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    auto put16 = [&](int at, uint16_t v) {
        out[at] = static_cast<uint8_t>(v);
        out[at + 1] = static_cast<uint8_t>(v >> 8);
    };
    std::memcpy(out, "RIFF", 4);
    put32(4, data_bytes == 0xFFFFFFFFu ? data_bytes : 36 + data_bytes);
    std::memcpy(out + 8, "WAVEfmt ", 8);
    put32(16, 16);
    put16(20, 1);  // PCM
    put16(22, 2);  // stereo
    put32(24, static_cast<uint32_t>(rate));
    put32(28, static_cast<uint32_t>(rate) * 4);
    put16(32, 4);
    put16(34, 16);
    std::memcpy(out + 36, "data", 4);
    put32(40, data_bytes);
}

void flush() {
    if (capture.pending_bytes == 0) return;
    if (capture.error == 0 &&
        !write_replacement(&capture.file, capture.pending, capture.pending_bytes))
        capture.error = errno ? errno : EIO;
    capture.pending_bytes = 0;
}

bool cannot_write(const std::string& path, int error) {
    std::fprintf(stderr, "zarvox-sim: cannot write %s: %s\n", path.c_str(), std::strerror(error));
    return false;
}

}  // namespace

bool open_audio_capture(const std::string& path) {
    if (!begin_replace(&capture.file, path.c_str(), true)) return cannot_write(path, errno);
    capture.open = true;
    capture.error = 0;
    capture.rate = 0;
    capture.data_bytes = 0;
    capture.pending_bytes = 0;
    // Sizes at their largest until the end writes the true ones.
    header(capture.pending, VORBEL_DEFAULT_RATE, 0xFFFFFFFFu);
    capture.pending_bytes = HEADER_BYTES;
    return true;
}

void capture_audio(const int16_t* samples, int frames, int rate, void*) {
    if (!capture.open || capture.error != 0) return;
    if (capture.rate == 0) capture.rate = rate;
    const uint64_t bytes = 4 * static_cast<uint64_t>(frames);
    if (capture.data_bytes + bytes > MOST_DATA_BYTES) {
        capture.error = EFBIG;  // longer than a WAVE can say
        return;
    }
    capture.data_bytes += bytes;
    for (int i = 0; i < 2 * frames; ++i) {
        if (capture.pending_bytes + 2 > sizeof capture.pending) flush();
        const uint16_t v = static_cast<uint16_t>(samples[i]);
        capture.pending[capture.pending_bytes++] = static_cast<uint8_t>(v);
        capture.pending[capture.pending_bytes++] = static_cast<uint8_t>(v >> 8);
    }
}

bool close_audio_capture(const std::string& path) {
    if (!capture.open) return true;
    capture.open = false;
    flush();
    if (capture.error == 0 && !capture.file.direct) {
        uint8_t head[HEADER_BYTES];
        header(head, capture.rate ? capture.rate : VORBEL_DEFAULT_RATE,
               static_cast<uint32_t>(capture.data_bytes));
        if (::pwrite(capture.file.fd, head, sizeof head, 0) != static_cast<ssize_t>(sizeof head))
            capture.error = errno ? errno : EIO;
    }
    if (capture.error != 0) {
        abandon_replace(&capture.file);
        return cannot_write(path, capture.error);
    }
    if (!finish_replace(&capture.file, false)) return cannot_write(path, errno);
    return true;
}

void abandon_audio_capture() {
    if (!capture.open) return;
    capture.open = false;
    abandon_replace(&capture.file);
}
