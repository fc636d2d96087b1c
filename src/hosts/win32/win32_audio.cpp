// The sound card through waveOut: a few short buffers kept queued by a
// thread of our own, which wakes on the device's event as each one is
// played and refills it from the game's callback. The window's thread plays
// no part, so dragging the window or holding its menu open leaves no gap.
// About 40 ms are queued (four 10 ms buffers). No device: open_audio says
// why and the game plays silently.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "hosts/win32/win32_parts.h"
// After windows.h, which it needs.
#include <mmsystem.h>

namespace {

constexpr int BUFFERS = 4;
constexpr int BUFFER_MS = 10;

HWAVEOUT device = nullptr;
HANDLE played = nullptr;  // set by the device as a buffer is done
HANDLE thread = nullptr;
volatile LONG stopping = 0;
CRITICAL_SECTION lock;
bool lock_made = false;
WAVEHDR headers[BUFFERS];
std::vector<int16_t> samples;  // every buffer's samples, one after another
int buffer_frames = 0;
int block_frames = 0;
AudioCallback game_callback = nullptr;
void* game_user = nullptr;

void write_reason(char* reason, int reason_size, const char* what, MMRESULT error) {
    if (!reason || reason_size <= 0) return;
    wchar_t text[MAXERRORLENGTH] = L"";
    char narrow[MAXERRORLENGTH * 3] = "";
    if (waveOutGetErrorTextW(error, text, MAXERRORLENGTH) == MMSYSERR_NOERROR)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    std::snprintf(reason, reason_size, "%s: %s", what, narrow[0] ? narrow : "waveOut error");
}

// The game is asked in blocks no larger than it agreed to fill.
void fill(WAVEHDR& header) {
    int16_t* out = reinterpret_cast<int16_t*>(header.lpData);
    int frames = buffer_frames;
    EnterCriticalSection(&lock);
    while (frames > 0) {
        const int n = std::min(frames, block_frames);
        game_callback(out, n, game_user);
        out += 2 * n;
        frames -= n;
    }
    LeaveCriticalSection(&lock);
}

DWORD WINAPI feed(void*) {
    for (WAVEHDR& header : headers) {
        fill(header);
        waveOutWrite(device, &header, sizeof header);
    }
    while (!InterlockedCompareExchange(&stopping, 0, 0)) {
        WaitForSingleObject(played, 100);
        for (WAVEHDR& header : headers) {
            if (!(header.dwFlags & WHDR_DONE) || InterlockedCompareExchange(&stopping, 0, 0))
                continue;
            header.dwFlags &= ~static_cast<DWORD>(WHDR_DONE);
            fill(header);
            waveOutWrite(device, &header, sizeof header);
        }
    }
    return 0;
}

}  // namespace

bool win32_open_audio(int rate, int frames, AudioCallback callback, void* user, char* reason,
                      int reason_size) {
    win32_close_audio();
    if (rate <= 0 || frames <= 0 || !callback) {
        write_reason(reason, reason_size, "cannot open the sound device", MMSYSERR_INVALPARAM);
        return false;
    }
    if (!lock_made) InitializeCriticalSection(&lock);
    lock_made = true;
    game_callback = callback;
    game_user = user;
    block_frames = frames;
    buffer_frames = std::max(1, rate * BUFFER_MS / 1000);

    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = static_cast<DWORD>(rate);
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = format.nSamplesPerSec * 4;
    played = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    const MMRESULT opened = waveOutOpen(&device, WAVE_MAPPER, &format,
                                        reinterpret_cast<DWORD_PTR>(played), 0, CALLBACK_EVENT);
    if (opened != MMSYSERR_NOERROR) {
        device = nullptr;
        CloseHandle(played);
        played = nullptr;
        write_reason(reason, reason_size, "no sound device", opened);
        return false;
    }
    samples.assign(static_cast<size_t>(BUFFERS) * buffer_frames * 2, 0);
    for (int i = 0; i < BUFFERS; ++i) {
        WAVEHDR& header = headers[i];
        header = WAVEHDR{};
        header.lpData =
            reinterpret_cast<LPSTR>(&samples[static_cast<size_t>(i) * buffer_frames * 2]);
        header.dwBufferLength = static_cast<DWORD>(buffer_frames * 4);
        waveOutPrepareHeader(device, &header, sizeof header);
    }
    InterlockedExchange(&stopping, 0);
    thread = CreateThread(nullptr, 0, feed, nullptr, 0, nullptr);
    if (!thread) {
        win32_close_audio();
        write_reason(reason, reason_size, "cannot start the sound thread", MMSYSERR_ERROR);
        return false;
    }
    SetThreadPriority(thread, THREAD_PRIORITY_TIME_CRITICAL);
    return true;
}

void win32_lock_audio() {
    if (device) EnterCriticalSection(&lock);
}

void win32_unlock_audio() {
    if (device) LeaveCriticalSection(&lock);
}

void win32_close_audio() {
    if (!device) return;
    InterlockedExchange(&stopping, 1);
    if (thread) {
        SetEvent(played);
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        thread = nullptr;
    }
    waveOutReset(device);
    for (WAVEHDR& header : headers)
        if (header.dwFlags & WHDR_PREPARED) waveOutUnprepareHeader(device, &header, sizeof header);
    waveOutClose(device);
    device = nullptr;
    CloseHandle(played);
    played = nullptr;
}
