// What the player's parts share: the keys to hold, the look-ahead fork and
// the planners of the two battles.
#pragma once

#include <cstddef>
#include <cstdint>

namespace autoplay {

// Keys the player holds for the next frame, as KeyState bits (KEY_LEFT,
// KEY_RIGHT, KEY_SPACE, KEY_QUIT for Escape).
using Keys = uint32_t;

// A look-ahead child's work at each present from the one it was forked in:
// returns the keys to hold next; calls finish_lookahead() when it is done.
using ChildStep = Keys (*)(int frame);

// The report a child sends and the parent receives (each its own copy).
constexpr size_t LOOKAHEAD_BYTES = 1 << 20;
extern unsigned char lookahead_data[LOOKAHEAD_BYTES];

// Forks at the present `frame`. The child goes on playing with `step` from
// this very present; the parent waits for its report and returns the number
// of bytes in lookahead_data, or -1 when no child could be had. In the child
// it returns 0 at once and in_lookahead() becomes true.
long look_ahead(ChildStep step);
bool in_lookahead();
// Child side: appends to the report; sends it and exits.
void report(const void* data, size_t size);
[[noreturn]] void finish_lookahead();
// The keys the child's step wants at this present.
Keys child_keys(int frame);

// The battles' planners: the keys for the next frame.
Keys stage_keys(int frame, Keys held);
Keys boss_keys(int frame, Keys held);

// A key held for one frame, then let go, so every press is a fresh key-down.
inline Keys tap(Keys held, Keys key) {
    return (held & key) ? 0 : key;
}

}  // namespace autoplay
