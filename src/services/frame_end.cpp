#include "services/frame_end.h"

#include "services/keys.h"
#include "services/message_pump.h"
#include "services/present.h"

bool frame_may_go_on() {
    if (KeyState & KEY_QUIT) return false;
    return pump_messages();
}

bool finish_frame() {
    present_frame();
    return frame_may_go_on();
}
