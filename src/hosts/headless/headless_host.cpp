#include "hosts/headless/headless_host.h"

#include <algorithm>
#include <cstring>

#include "platform/message_queue.h"
#include "platform/tune_render.h"

namespace {

constexpr int QUEUE_CAPACITY = 4096;
constexpr int AUDIO_BLOCK_FRAMES = 512;

HeadlessConfig config;
uint32_t clock_ms = 1000;
int frame = 0;
ScriptFeed feed;
MessageQueue<QUEUE_CAPACITY> queue;

// The game's audio device, as the virtual clock pulls it.
struct AudioPull {
    AudioCallback callback = nullptr;  // while the device is open
    void* user = nullptr;
    int rate = VORBEL_DEFAULT_RATE;
    int block = AUDIO_BLOCK_FRAMES;
    uint64_t carry = 0;  // rate * ms not yet a whole frame, in 1/1000 frames
};
AudioPull audio;

// Hands the observer what the device plays in `ms` milliseconds.
void play_audio(uint32_t ms) {
    const HeadlessObserver& o = config.observer;
    if (!o.audio) return;
    audio.carry += static_cast<uint64_t>(audio.rate) * ms;
    uint64_t frames = audio.carry / 1000;
    audio.carry %= 1000;
    static int16_t samples[2 * AUDIO_BLOCK_FRAMES];
    while (frames > 0) {
        const int n = static_cast<int>(std::min<uint64_t>(frames, audio.block));
        if (audio.callback)
            audio.callback(samples, n, audio.user);
        else
            std::memset(samples, 0, sizeof(int16_t) * 2 * n);
        o.audio(samples, n, audio.rate, o.user);
        frames -= static_cast<uint64_t>(n);
    }
}

void push(const Message& m) {
    queue.push(m);
}

uint32_t ticks() {
    return clock_ms;
}
void sleep_ms(uint32_t ms) {
    clock_ms += ms;
    play_audio(ms);
}
// Messages come only at the ends of a present, never inside its wait, so
// the clock goes to the due time at once, where the 1 ms steps end; the
// audio device is pulled a millisecond at a time as the steps pulled it.
void wait_until(uint32_t due_ms) {
    while (static_cast<int32_t>(due_ms - clock_ms) > 0) sleep_ms(1);
}
int local_ms() {
    return feed_local_ms(&feed, frame + 1);
}
bool create_window(const char*, int, int) {
    return true;
}

bool take_message(Message* out) {
    return queue.pop(out);
}

void post_message(const Message& m) {
    push(m);
}

void frame_started() {
    ++frame;
    const HeadlessObserver& o = config.observer;
    if (o.frame_started) o.frame_started(frame, o.user);
    feed_messages(&feed, frame, false, push);
}

void show_frame(const uint32_t* pixels, int, int, int pitch) {
    const HeadlessObserver& o = config.observer;
    if (o.frame_shown) o.frame_shown(frame, clock_ms, pixels, pitch, o.user);
}

void frame_finished() {
    const HeadlessObserver& o = config.observer;
    if (o.frame_finished) o.frame_finished(frame, clock_ms, o.user);
    feed_messages(&feed, frame, true, push);
    if (frame == config.quit_after_frame) push(Message{WM_QUIT, 0, 0});
}

void message_box(const char* text, const char*) {
    const HeadlessObserver& o = config.observer;
    if (o.message_box) o.message_box(text, o.user);
}

bool open_audio(int rate, int frames, AudioCallback callback, void* user, char* reason,
                int reason_size) {
    if (config.audio_available) {
        audio.callback = callback;
        audio.user = user;
        audio.rate = rate;
        audio.block = std::clamp(frames, 1, AUDIO_BLOCK_FRAMES);
        return true;
    }
    if (reason && reason_size > 0) std::strncpy(reason, "no audio device", reason_size - 1);
    return false;
}

void close_audio() {
    audio.callback = nullptr;
    audio.user = nullptr;
}

void no_op() {}

void note_sound(int slot) {
    const HeadlessObserver& o = config.observer;
    if (o.sound) o.sound(slot, o.user);
}

void note_tune_call(const char* call) {
    const HeadlessObserver& o = config.observer;
    if (o.tune_call) o.tune_call(call, o.user);
}

const Host headless = {
    .ticks_ms = ticks,
    .sleep_ms = sleep_ms,
    .local_milliseconds = local_ms,
    .create_window = create_window,
    .take_message = take_message,
    .post_message = post_message,
    .frame_started = frame_started,
    .show_frame = show_frame,
    .frame_finished = frame_finished,
    .message_box = message_box,
    .open_audio = open_audio,
    .lock_audio = no_op,
    .unlock_audio = no_op,
    .close_audio = close_audio,
    .note_sound = note_sound,
    .note_tune_call = note_tune_call,
    .wait_until = wait_until,
};

}  // namespace

void install_headless_host(const HeadlessConfig& c) {
    config = c;
    clock_ms = 1000;
    frame = 0;
    feed = start_script_feed(c.script, c.script_length, c.times, c.time_count, c.ms_of_second);
    queue.clear();
    audio = AudioPull{};
    install_host(&headless);
}

int headless_frame() {
    return frame;
}

uint32_t headless_clock() {
    return clock_ms;
}

void headless_stop_audio_observer() {
    config.observer.audio = nullptr;
}

int headless_audio_rate() {
    return audio.rate;
}
