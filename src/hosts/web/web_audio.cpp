// The audio half of the browser's host. The page plays through an audio
// worklet; when its queue runs low it asks for more, and the game's mixer
// fills it here on the page's one thread, between two of the game's sleeps,
// so the mixer never runs in the middle of a change and needs no lock.
#include <algorithm>
#include <cstring>

#include "hosts/web/web_host.h"
#include "hosts/web/web_page.h"

namespace {

constexpr int MAX_BLOCK_FRAMES = 2048;

AudioCallback callback = nullptr;
void* callback_user = nullptr;
int block_frames = 0;
int16_t block[MAX_BLOCK_FRAMES * 2];

void give_reason(char* reason, int reason_size, const char* text) {
    if (!reason || reason_size <= 0) return;
    std::strncpy(reason, text, reason_size - 1);
    reason[reason_size - 1] = '\0';
}

}  // namespace

bool web_open_audio(int rate, int frames, AudioCallback cb, void* user, char* reason,
                    int reason_size) {
    if (frames <= 0 || frames > MAX_BLOCK_FRAMES) {
        give_reason(reason, reason_size, "unsupported block size");
        return false;
    }
    if (!web_audio_open(rate, reason, reason_size)) return false;
    callback = cb;
    callback_user = user;
    block_frames = frames;
    return true;
}

void web_close_audio() {
    if (!callback) return;
    web_audio_close();
    callback = nullptr;
}

void web_pull_audio(int frames) {
    while (frames > 0 && callback) {
        const int n = std::min(frames, block_frames);
        callback(block, n, callback_user);
        web_audio_write(block, n);
        frames -= n;
    }
}
