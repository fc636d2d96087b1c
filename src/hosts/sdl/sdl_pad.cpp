// The game controllers: every controller present at start-up and every one
// plugged in later is opened, and closed again when it goes away.
#include <SDL.h>

#include "hosts/sdl/sdl_host.h"

namespace {

struct Pad {
    SDL_GameController* controller;
    SDL_JoystickID id;
    int8_t stick;  // the left stick's direction: -1, 0, 1
};

Pad pads[MAX_PADS] = {};

// The controller buttons that stand for keys, as the pads' inputs.
int button_input(int button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            return PAD_DPAD_LEFT;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            return PAD_DPAD_RIGHT;
        case SDL_CONTROLLER_BUTTON_A:
            return PAD_SOUTH;
        case SDL_CONTROLLER_BUTTON_B:
            return PAD_EAST;
        case SDL_CONTROLLER_BUTTON_BACK:
            return PAD_BACK;
        default:
            return -1;
    }
}

int slot_of(SDL_JoystickID id) {
    for (int slot = 0; slot < MAX_PADS; ++slot) {
        if (pads[slot].controller && pads[slot].id == id) return slot;
    }
    return -1;
}

void open_pad(int device_index) {
    if (!SDL_IsGameController(device_index)) return;
    // Controllers present at start-up are announced again by an added event.
    if (slot_of(SDL_JoystickGetDeviceInstanceID(device_index)) >= 0) return;
    for (Pad& pad : pads) {
        if (pad.controller) continue;
        pad.controller = SDL_GameControllerOpen(device_index);
        if (!pad.controller) return;
        pad.id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad.controller));
        pad.stick = 0;
        return;
    }
    // More pads than slots: the extra ones are not opened.
}

}  // namespace

KeyMessages pad_button(HeldKeys* held, int slot, int button, bool pressed) {
    return pad_input(held, slot, button_input(button), pressed);
}

bool sdl_pad_start_pressed(const SDL_Event& e) {
    return e.type == SDL_CONTROLLERBUTTONDOWN && e.cbutton.button == SDL_CONTROLLER_BUTTON_START &&
           slot_of(e.cbutton.which) >= 0;
}

void sdl_open_pads() {
    // Without controller support the game simply has the keyboard.
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return;
    for (int i = 0; i < SDL_NumJoysticks(); ++i) open_pad(i);
}

bool sdl_translate_pad_event(const SDL_Event& e, HeldKeys* held, KeyMessages* out) {
    *out = {};
    switch (e.type) {
        case SDL_CONTROLLERDEVICEADDED:
            open_pad(e.cdevice.which);
            return true;
        case SDL_CONTROLLERDEVICEREMOVED: {
            const int slot = slot_of(e.cdevice.which);
            if (slot < 0) return true;
            *out = release_pad(held, slot);
            SDL_GameControllerClose(pads[slot].controller);
            pads[slot] = {};
            return true;
        }
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: {
            const int slot = slot_of(e.cbutton.which);
            if (slot >= 0)
                *out = pad_button(held, slot, e.cbutton.button, e.type == SDL_CONTROLLERBUTTONDOWN);
            return true;
        }
        case SDL_CONTROLLERAXISMOTION: {
            const int slot = slot_of(e.caxis.which);
            if (slot >= 0 && e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX)
                *out = pad_stick_x(held, slot, &pads[slot].stick, e.caxis.value);
            return true;
        }
        default:
            return false;
    }
}

void sdl_close_pads() {
    for (Pad& pad : pads) {
        if (pad.controller) SDL_GameControllerClose(pad.controller);
        pad = {};
    }
}
