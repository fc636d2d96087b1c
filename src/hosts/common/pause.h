// Pausing, as every interactive host does it. The host owns one PauseGate:
// its message intake passes each message from the player through
// pause_admit, and its sleep holds the game while the gate is paused. The
// game itself never learns of a pause: no frame advances while it lasts,
// and the messages it gets are those it would have got had the player
// pressed nothing while the game stood still.
//
// While paused, only quitting reaches the game (the close button, "Salir",
// Escape, the quit message), and quitting ends the pause so the game can
// wind down at once. Keys let go while paused reach the game, so nothing
// stays held; keys pressed while paused never do, nor do their repeats or
// their release, even after the pause. When a pause ends the host restarts
// the frame schedule, as after any long frame: no burst of frames to catch
// up on the time spent paused.
#pragma once

#include <cstdint>

#include "platform/messages.h"

// What paused the game; a pause lasts while any reason holds.
enum PauseReason : uint8_t {
    PAUSE_BY_PLAYER = 1,  // P, the Pause key, a controller's Start, the page's button
    PAUSE_BY_FOCUS = 2,   // the window lost the focus, the page was hidden
};

struct PauseGate {
    uint8_t reasons = 0;
    bool ended = false;  // a pause ended since the host last asked
    // Keys the game was given the press of and not yet the release.
    bool held[256] = {};
    // Keys pressed while paused: the game hears nothing of them until the
    // player lets go.
    bool swallowed[256] = {};
};

inline bool is_paused(const PauseGate& gate) {
    return gate.reasons != 0;
}

// The player's pause control: pauses, or ends a pause whatever its reasons.
void toggle_pause(PauseGate* gate);
// A reason starts or stops holding (the focus lost or regained).
void pause_for(PauseGate* gate, PauseReason reason, bool on);
// True once after each pause ended: the host then restarts the schedule.
bool take_pause_ended(PauseGate* gate);

// Whether a message from the player goes on to the game. A message that
// quits ends the pause.
bool pause_admit(PauseGate* gate, const Message& message);

// The keys the hosts keep for themselves, never the game's.
enum class HostKey { None, Pause, Mute, VolumeDown, VolumeUp };
// Virtual-key codes: P, Pause, M, minus, plus, [ and ] (with the keypad's
// minus and plus).
HostKey host_key_for(uint32_t virtual_key);
