#include "platform/tune_library.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/audio_device.h"
#include "platform/file_io.h"
#include "platform/host.h"
#include "platform/resources.h"
#include "platform/tune_render.h"
#include "vorbel/score.h"

namespace {

SoundDevice device;
bool ready = false;
bool lend_device = false;
// The loaded score and the one offline rendering uses: fixed storage, so
// loading a tune allocates nothing.
vorbel::Score loaded_score;
bool tune_loaded = false;
vorbel::Score render_score;
SoundDevice render_device;
char last_error[160];

void set_error(const char* format, const char* name, const char* detail) {
    std::snprintf(last_error, sizeof last_error, format, name, detail);
}

struct AudioLock {
    AudioLock() : held(device.open) {
        if (held) host().lock_audio();
    }
    ~AudioLock() {
        if (held) host().unlock_audio();
    }
    bool held;
};

// Finds and compiles VBTUNE `name` into `score`.
bool load_score(const char* type, const char* name, vorbel::Score* score) {
    ResourceData data;
    if (!type || !name || !find_resource(type, name, &data)) {
        set_error("no %s resource \"%s\"", type ? type : "(null)", name ? name : "(null)");
        return false;
    }
    vorbel::ScoreError error;
    if (!vorbel::parse_score(data.bytes, data.size, score, &error)) {
        set_error("%s: %s", name, error.message);
        return false;
    }
    last_error[0] = '\0';
    return true;
}

}  // namespace

int vorbel_Ready(WindowHandle, int channels, int rate, int bits, float latency, int effects,
                 int flags) {
    if (ready || (channels != 1 && channels != 2) || rate < 8000 || rate > 48000 ||
        (bits != 8 && bits != 16) || !(latency > 0.0f && latency <= 1.0f) ||
        (effects != 0 && effects != 1) || flags != 0)
        return 0;
    ready = true;
    lend_device = effects == 1;
    device.rate = rate;
    device.stereo = channels == 2;
    const int block =
        std::clamp(static_cast<int>(latency * static_cast<float>(rate)), 64, DEVICE_BLOCK_FRAMES);
    char reason[128] = "unknown reason";
    if (!host().open_audio(rate, block, sound_device_callback, &device, reason, sizeof reason)) {
        std::fprintf(stderr, "zarvox: playing without sound: %s\n", reason);
        return 0;
    }
    device.open = true;
    return 1;
}

SoundDevice* vorbel_GetDirectSound() {
    return device.open && lend_device ? &device : nullptr;
}

int vorbel_Tune_Load(int module, const char* type, const char* name) {
    char call[64];
    std::snprintf(call, sizeof call, "load %s", name ? name : "");
    host().note_tune_call(call);
    {
        AudioLock lock;
        device.music.stop();
        tune_loaded = false;
    }
    if (module != 0) {
        set_error("%s: %s", name ? name : "(null)",
                  "only module 0, the program's own, holds tunes");
        return 0;
    }
    // The callback no longer reads the score, so it can be rewritten unlocked.
    if (!load_score(type, name, &loaded_score)) return 0;
    tune_loaded = true;
    return 1;
}

int vorbel_Tune_Play(int start_tick, int play_once) {
    host().note_tune_call("play");
    if (!tune_loaded || start_tick < 0 || (play_once != 0 && play_once != 1)) return 0;
    AudioLock lock;
    device.music.start(&loaded_score, device.rate, device.stereo, static_cast<uint32_t>(start_tick),
                       play_once == 1);
    return 1;
}

int vorbel_Tune_Stop() {
    host().note_tune_call("stop");
    AudioLock lock;
    device.music.stop();
    return 1;
}

void vorbel_Release() {
    if (device.open) host().close_audio();
    device.open = false;
    device.music.stop();
    device.release_all();
    tune_loaded = false;
    lend_device = false;
    ready = false;
}

namespace {

// Plays `render_score` from its start through the synthesizer and mixer and
// writes `seconds` of it to `wav_path` as a 16-bit stereo PCM WAVE at the
// library's output rate; `label` names the score in messages.
bool render_to_wave(const char* label, double seconds, const char* wav_path) {
    if (!(seconds >= 0.0 && seconds <= 3600.0)) {
        set_error("%s: %s", label, "seconds must be between 0 and 3600");
        return false;
    }
    const int rate = ready ? device.rate : VORBEL_DEFAULT_RATE;
    render_device.rate = rate;
    render_device.stereo = ready ? device.stereo : true;
    render_device.output.reset(rate);  // every render starts from the same state
    render_device.music.start(&render_score, rate, render_device.stereo, 0, false);

    // The WAVE appears only once it is whole.
    ReplacedFile file;
    if (!begin_replace(&file, wav_path, true)) {
        set_error("cannot write %s: %s", wav_path, std::strerror(errno));
        return false;
    }
    const uint32_t frames = static_cast<uint32_t>(std::llround(seconds * rate));
    const uint32_t data_bytes = frames * 4;
    uint8_t header[44];
    auto put32 = [&](int at, uint32_t v) {
        for (int i = 0; i < 4; ++i) header[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    auto put16 = [&](int at, uint16_t v) {
        header[at] = static_cast<uint8_t>(v);
        header[at + 1] = static_cast<uint8_t>(v >> 8);
    };
    std::memcpy(header, "RIFF", 4);
    put32(4, 36 + data_bytes);
    std::memcpy(header + 8, "WAVEfmt ", 8);
    put32(16, 16);
    put16(20, 1);
    put16(22, 2);
    put32(24, static_cast<uint32_t>(rate));
    put32(28, static_cast<uint32_t>(rate) * 4);
    put16(32, 4);
    put16(34, 16);
    std::memcpy(header + 36, "data", 4);
    put32(40, data_bytes);
    bool ok = write_replacement(&file, header, sizeof header);

    int16_t block[2 * DEVICE_BLOCK_FRAMES];
    uint8_t bytes[4 * DEVICE_BLOCK_FRAMES];
    for (uint32_t done = 0; ok && done < frames;) {
        const int n = static_cast<int>(std::min<uint32_t>(DEVICE_BLOCK_FRAMES, frames - done));
        render_device.mix(block, n);
        for (int i = 0; i < 2 * n; ++i) {
            bytes[2 * i] = static_cast<uint8_t>(block[i]);
            bytes[2 * i + 1] = static_cast<uint8_t>(static_cast<uint16_t>(block[i]) >> 8);
        }
        ok = write_replacement(&file, bytes, 4 * static_cast<size_t>(n));
        done += static_cast<uint32_t>(n);
    }
    if (!ok) abandon_replace(&file);
    ok = ok && finish_replace(&file, false);
    const int error = errno;
    render_device.music.stop();
    if (!ok) {
        set_error("cannot write %s: %s", wav_path, std::strerror(error));
        return false;
    }
    return true;
}

}  // namespace

int vorbel_render_tune(const char* name, double seconds, const char* wav_path) {
    if (!load_score("VBTUNE", name, &render_score)) return 0;
    return render_to_wave(name, seconds, wav_path) ? 1 : 0;
}

int vorbel_render_score(const uint8_t* text, size_t size, double seconds, const char* wav_path,
                        int* fault_line) {
    vorbel::ScoreError error;
    if (!vorbel::parse_score(text, size, &render_score, &error)) {
        if (fault_line) *fault_line = error.line;
        std::snprintf(last_error, sizeof last_error, "%s", error.message);
        return -1;
    }
    if (fault_line) *fault_line = 0;
    last_error[0] = '\0';
    return render_to_wave("score", seconds, wav_path) ? 1 : 0;
}

const char* vorbel_last_error() {
    return last_error;
}
