#include "hosts/common/pause.h"

namespace {

constexpr uint32_t VK_PAUSE = 0x13;
constexpr uint32_t VK_M = 0x4D;
constexpr uint32_t VK_P = 0x50;
constexpr uint32_t VK_ADD = 0x6B;
constexpr uint32_t VK_SUBTRACT = 0x6D;
constexpr uint32_t VK_OEM_PLUS = 0xBB;
constexpr uint32_t VK_OEM_MINUS = 0xBD;
constexpr uint32_t VK_OEM_4 = 0xDB;  // [
constexpr uint32_t VK_OEM_6 = 0xDD;  // ]

bool is_key_down(uint32_t id) {
    return id == WM_KEYDOWN || id == WM_SYSKEYDOWN;
}

bool is_key_up(uint32_t id) {
    return id == WM_KEYUP || id == WM_SYSKEYUP;
}

bool quits(const Message& m) {
    if (m.id == WM_QUIT || m.id == WM_CLOSE || m.id == WM_COMMAND) return true;
    return is_key_down(m.id) && m.wparam == VK_ESCAPE;
}

void end_pause(PauseGate* gate) {
    if (gate->reasons != 0) gate->ended = true;
    gate->reasons = 0;
}

}  // namespace

void toggle_pause(PauseGate* gate) {
    if (is_paused(*gate)) {
        end_pause(gate);
    } else {
        gate->reasons = PAUSE_BY_PLAYER;
    }
}

void pause_for(PauseGate* gate, PauseReason reason, bool on) {
    if (on) {
        gate->reasons |= reason;
        return;
    }
    if ((gate->reasons & reason) == 0) return;
    gate->reasons &= static_cast<uint8_t>(~reason);
    if (gate->reasons == 0) gate->ended = true;
}

bool take_pause_ended(PauseGate* gate) {
    const bool ended = gate->ended;
    gate->ended = false;
    return ended;
}

bool pause_admit(PauseGate* gate, const Message& m) {
    if (quits(m)) {
        end_pause(gate);
        return true;
    }
    const uint32_t key = m.wparam & 0xFF;
    if (is_key_down(m.id)) {
        // A repeat of a key pressed while paused, or any press while paused.
        if (gate->swallowed[key]) return false;
        if (is_paused(*gate)) {
            if (!gate->held[key]) gate->swallowed[key] = true;
            return false;
        }
        gate->held[key] = true;
        return true;
    }
    if (is_key_up(m.id)) {
        if (gate->swallowed[key]) {
            gate->swallowed[key] = false;
            return false;
        }
        gate->held[key] = false;
        return true;
    }
    // Everything else (the menu's mouse work is the host's own) waits for
    // the game only when it runs.
    return !is_paused(*gate);
}

HostKey host_key_for(uint32_t virtual_key) {
    switch (virtual_key) {
        case VK_P:
        case VK_PAUSE:
            return HostKey::Pause;
        case VK_M:
            return HostKey::Mute;
        case VK_SUBTRACT:
        case VK_OEM_MINUS:
        case VK_OEM_4:
            return HostKey::VolumeDown;
        case VK_ADD:
        case VK_OEM_PLUS:
        case VK_OEM_6:
            return HostKey::VolumeUp;
        default:
            return HostKey::None;
    }
}
