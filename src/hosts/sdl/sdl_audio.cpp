// The sound card: one stereo 16-bit output stream fed by the game's callback
// on SDL's audio thread.
#include <SDL.h>

#include <algorithm>
#include <cstdio>

#include "hosts/sdl/sdl_host.h"

namespace {

constexpr int LARGEST_BLOCK = 512;

SDL_AudioDeviceID device = 0;
AudioCallback game_callback = nullptr;
void* game_user = nullptr;
int block_frames = 0;

void write_reason(char* reason, int reason_size, const char* what, const char* why) {
    if (reason && reason_size > 0) std::snprintf(reason, reason_size, "%s: %s", what, why);
}

// SDL asks for a whole buffer; the game is asked in blocks no larger than it
// agreed to fill.
void SDLCALL feed(void*, Uint8* stream, int length) {
    int16_t* out = reinterpret_cast<int16_t*>(stream);
    int frames = length / (2 * static_cast<int>(sizeof(int16_t)));
    while (frames > 0) {
        const int n = std::min(frames, block_frames);
        game_callback(out, n, game_user);
        out += 2 * n;
        frames -= n;
    }
}

}  // namespace

bool sdl_open_audio(int rate, int frames, AudioCallback callback, void* user, char* reason,
                    int reason_size) {
    sdl_close_audio();
    if (rate <= 0 || frames <= 0 || !callback) {
        write_reason(reason, reason_size, "cannot open the sound device", "bad stream format");
        return false;
    }
    if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        write_reason(reason, reason_size, "no sound device", SDL_GetError());
        return false;
    }
    // SDL wants a power of two; take the largest that the game's block holds.
    int samples = 1;
    while (samples * 2 <= std::min(frames, LARGEST_BLOCK)) samples *= 2;

    game_callback = callback;
    game_user = user;
    block_frames = samples;
    SDL_AudioSpec want = {};
    want.freq = rate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = static_cast<Uint16>(samples);
    want.callback = feed;
    // No changes allowed: SDL converts to whatever the card really takes.
    device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (device == 0) {
        write_reason(reason, reason_size, "cannot open the sound device", SDL_GetError());
        return false;
    }
    SDL_PauseAudioDevice(device, 0);
    return true;
}

void sdl_lock_audio() {
    if (device) SDL_LockAudioDevice(device);
}

void sdl_unlock_audio() {
    if (device) SDL_UnlockAudioDevice(device);
}

void sdl_close_audio() {
    if (device) SDL_CloseAudioDevice(device);
    device = 0;
}
