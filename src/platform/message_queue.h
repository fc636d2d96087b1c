// The window's message queue: a fixed ring of messages, first in, first out.
// A message posted to a full queue is dropped, as a full system queue would.
#pragma once

#include "platform/messages.h"

template <int Capacity>
struct MessageQueue {
    Message items[Capacity];
    int head = 0;
    int size = 0;

    bool empty() const { return size == 0; }
    void clear() { head = size = 0; }
    void push(const Message& m) {
        if (size == Capacity) return;
        items[(head + size) % Capacity] = m;
        ++size;
    }
    bool pop(Message* out) {
        if (size == 0) return false;
        *out = items[head];
        head = (head + 1) % Capacity;
        --size;
        return true;
    }
};
