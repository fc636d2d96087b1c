#include "replay/replay_host.h"

#include "platform/host.h"
#include "platform/message_queue.h"

namespace {

constexpr int QUEUE_CAPACITY = 4096;

const Host* inner = nullptr;
Host replaying = {};
ScriptFeed feed;
int presents = 0;
// The script's messages and what the game posts to itself, in one queue as
// the runner keeps them, so they reach the game in the same order.
MessageQueue<QUEUE_CAPACITY> queue;

void push(const Message& m) {
    queue.push(m);
}

bool take_message(Message* out) {
    if (queue.pop(out)) return true;
    while (inner->take_message(out))
        if (watcher_message_passes(*out)) return true;
    return false;
}

int local_milliseconds() {
    return feed_local_ms(&feed, presents + 1);
}

void frame_started() {
    ++presents;
    feed_messages(&feed, presents, false, push);
    inner->frame_started();
}

void frame_finished() {
    inner->frame_finished();
    feed_messages(&feed, presents, true, push);
}

}  // namespace

bool watcher_message_passes(const Message& m) {
    switch (m.id) {
        case WM_KEYDOWN:
            return m.wparam == VK_ESCAPE;
        case WM_CLOSE:
        case WM_COMMAND:
        case WM_QUIT:
            return true;
        default:
            return false;
    }
}

void install_replay(const ScriptFeed& f) {
    inner = &host();
    feed = f;
    feed.next_message = feed.next_time = 0;
    presents = 0;
    queue.clear();
    replaying = *inner;
    replaying.take_message = take_message;
    replaying.post_message = push;
    replaying.local_milliseconds = local_milliseconds;
    replaying.frame_started = frame_started;
    replaying.frame_finished = frame_finished;
    install_host(&replaying);
}
