// The window's message queue: a fixed ring of messages, first in, first out.
// A message posted to a full queue is dropped, as a full system queue would,
// except that the last few places are kept for the messages that end the
// game: a flood of keys never pushes out a quit, a close or "Salir"; and a
// key's message is folded in rather than dropped, so after any flood the
// keys held are the keys held down: a release is never lost.
#pragma once

#include "platform/messages.h"

// The quit message, the close request and the "Salir" command (which posts
// a close of its own when it is handled).
inline bool ends_the_game(const Message& m) {
    return m.id == WM_QUIT || m.id == WM_CLOSE ||
           (m.id == WM_COMMAND && (m.wparam & 0xFFFF) == MENU_COMMAND_SALIR);
}

inline bool is_key_message(const Message& m) {
    return m.id == WM_KEYDOWN || m.id == WM_KEYUP || m.id == WM_SYSKEYDOWN || m.id == WM_SYSKEYUP;
}

inline bool is_key_release(const Message& m) {
    return m.id == WM_KEYUP || m.id == WM_SYSKEYUP;
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
            if (is_key_message(m)) {
                fold_key(m);
                return;
            }
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
    Message& at(int i) { return items[(head + i) % Capacity]; }

    void remove_at(int i) {
        for (int j = i + 1; j < size; ++j) at(j - 1) = at(j);
        --size;
    }

    // The place of the last waiting message of `key`, or -1.
    int last_of_key(uint32_t key) {
        for (int i = size - 1; i >= 0; --i)
            if (is_key_message(at(i)) && at(i).wparam == key) return i;
        return -1;
    }

    // The place of a key message that a later one of the same key makes
    // moot, or -1.
    int moot_key_message() {
        bool later[256] = {};
        for (int i = size - 1; i >= 0; --i) {
            if (!is_key_message(at(i)) || at(i).wparam >= 256) continue;
            if (later[at(i).wparam]) return i;
            later[at(i).wparam] = true;
        }
        return -1;
    }

    // A key's message on a full queue. What a key's messages leave behind
    // is its last one, so the key's last waiting message gives way to the
    // new one; a key with nothing waiting takes the place of a message of
    // another key that a later one of that key makes moot. Only when no
    // such place exists is a press or repeat dropped, or, for a release, the
    // newest waiting press.
    void fold_key(const Message& m) {
        int place = last_of_key(m.wparam);
        if (place < 0) place = moot_key_message();
        if (place < 0 && is_key_release(m)) {
            for (int i = size - 1; i >= 0 && place < 0; --i)
                if (is_key_message(at(i)) && !is_key_release(at(i))) place = i;
        }
        if (place < 0) return;
        remove_at(place);
        at(size) = m;
        ++size;
    }

    bool waiting(const Message& m) const {
        for (int i = 0; i < size; ++i) {
            const Message& w = items[(head + i) % Capacity];
            if (w.id == m.id && w.wparam == m.wparam) return true;
        }
        return false;
    }
};
