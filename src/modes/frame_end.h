// The end of every frame of every mode: present, then the quit check, then
// the pump. Returns false when the mode must return 0.
#pragma once

#include "platform/messages.h"
#include "shell/keys.h"
#include "shell/present.h"
#include "shell/shell.h"

inline bool finish_frame(WindowHandle window) {
    present_frame(window);
    if (KeyState & KEY_QUIT) return false;
    return pump_messages() != 0;
}
