// Game controllers through XInput, read at every pump and mapped with the
// shared pad map: the D-pad and the left stick steer, A and B are Space,
// Back is Escape, and Start pauses. XInput is loaded when first needed (xinput1_4, or the
// xinput9_1_0 every Windows since Vista has), so a machine without it only
// has no controllers. Asking an empty slot is slow, so empty slots are
// asked again once a second: a pad plugged in later is found then.
#include <initializer_list>

#include "hosts/win32/win32_parts.h"
// After windows.h, which it needs.
#include <xinput.h>

namespace {

constexpr int XINPUT_SLOTS = 4;
constexpr DWORD EMPTY_SLOT_RETRY_MS = 1000;

using GetState = DWORD(WINAPI*)(DWORD, XINPUT_STATE*);
GetState get_state = nullptr;
bool loaded = false;

struct Pad {
    bool connected = false;
    DWORD last_try = 0;  // when an empty slot was last asked
    WORD buttons = 0;
    int8_t stick = 0;
};
Pad pads[XINPUT_SLOTS];

void load_xinput() {
    loaded = true;
    for (const wchar_t* name : {L"xinput1_4.dll", L"xinput1_3.dll", L"xinput9_1_0.dll"}) {
        const HMODULE module = LoadLibraryW(name);
        if (!module) continue;
        get_state = system_function<GetState>(module, "XInputGetState");
        if (get_state) return;
    }
}

struct ButtonInput {
    WORD button;
    int input;
};
constexpr ButtonInput BUTTONS[] = {
    {XINPUT_GAMEPAD_DPAD_LEFT, PAD_DPAD_LEFT},
    {XINPUT_GAMEPAD_DPAD_RIGHT, PAD_DPAD_RIGHT},
    {XINPUT_GAMEPAD_A, PAD_SOUTH},
    {XINPUT_GAMEPAD_B, PAD_EAST},
    {XINPUT_GAMEPAD_BACK, PAD_BACK},
};

void send(const KeyMessages& messages, void (*push)(const Message&)) {
    for (int i = 0; i < messages.count; ++i) push(messages.list[i]);
}

}  // namespace

void win32_poll_pads(HeldKeys* held, void (*push)(const Message&), void (*start_pressed)()) {
    if (!loaded) load_xinput();
    if (!get_state) return;
    const DWORD now = GetTickCount();
    for (int slot = 0; slot < XINPUT_SLOTS; ++slot) {
        Pad& pad = pads[slot];
        if (!pad.connected && now - pad.last_try < EMPTY_SLOT_RETRY_MS && pad.last_try != 0)
            continue;
        XINPUT_STATE state = {};
        if (get_state(static_cast<DWORD>(slot), &state) != ERROR_SUCCESS) {
            if (pad.connected) send(release_pad(held, slot), push);
            pad = Pad{};
            pad.last_try = now ? now : 1;
            continue;
        }
        pad.connected = true;
        const WORD changed = pad.buttons ^ state.Gamepad.wButtons;
        for (const ButtonInput& b : BUTTONS)
            if (changed & b.button)
                send(pad_input(held, slot, b.input, (state.Gamepad.wButtons & b.button) != 0),
                     push);
        if ((changed & XINPUT_GAMEPAD_START) && (state.Gamepad.wButtons & XINPUT_GAMEPAD_START))
            start_pressed();
        pad.buttons = state.Gamepad.wButtons;
        send(pad_stick_x(held, slot, &pad.stick, state.Gamepad.sThumbLX), push);
    }
}

void win32_forget_pads(HeldKeys* held, void (*push)(const Message&)) {
    for (int slot = 0; slot < XINPUT_SLOTS; ++slot) {
        if (pads[slot].connected) send(release_pad(held, slot), push);
        pads[slot] = Pad{};
    }
}
