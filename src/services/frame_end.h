// The end of every frame of every mode: present, then the quit check, then
// the pump.
#pragma once

#include "platform/messages.h"

// The checks after a frame is presented: false when the mode must return 0
// (a quit request is held, or the message loop has ended).
bool frame_may_go_on();

// present_frame, then frame_may_go_on.
bool finish_frame();
