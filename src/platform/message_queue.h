// The window's message queue: a fixed ring of messages, first in, first out.
// A message posted to a full queue is dropped, as a full system queue would,
// except that the last few places are kept for the messages that end the
// game: a flood of keys never pushes out a quit, a close or "Salir".
#pragma once

#include "platform/messages.h"

// The quit message, the close request and the "Salir" command (which posts
// a close of its own when it is handled).
inline bool ends_the_game(const Message& m) {
    return m.id == WM_QUIT || m.id == WM_CLOSE ||
           (m.id == WM_COMMAND && (m.wparam & 0xFFFF) == MENU_COMMAND_SALIR);
}

template <int Capacity>
struct MessageQueue {
    // One place for each kind of ending message, and one for the close that
    // "Salir" posts while its command waits.
    static constexpr int RESERVED = 4;
    static_assert(Capacity > RESERVED, "room for ordinary messages");

    Message items[Capacity];
    int head = 0;
    int size = 0;

    bool empty() const { return size == 0; }
    void clear() { head = size = 0; }
    void push(const Message& m) {
        if (size >= Capacity - RESERVED) {
            // In the kept places only an ending message of a kind not
            // already waiting: one of each does all that many would.
            if (size == Capacity || !ends_the_game(m) || waiting(m)) return;
        }
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

private:
    bool waiting(const Message& m) const {
        for (int i = 0; i < size; ++i) {
            const Message& w = items[(head + i) % Capacity];
            if (w.id == m.id && w.wparam == m.wparam) return true;
        }
        return false;
    }
};
