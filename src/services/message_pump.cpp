#include "services/message_pump.h"

#include "platform/host.h"
#include "services/keys.h"

namespace {

bool quit_taken = false;

}  // namespace

bool pump_messages() {
    // Once the quit message has been taken the loop stays ended, so a quit
    // taken inside a frame's wait still ends the mode at its frame end.
    if (quit_taken) return false;
    Message m;
    while (host().take_message(&m)) {
        if (m.id == WM_QUIT) {
            quit_taken = true;
            return false;
        }
        window_proc(m.id, m.wparam, m.lparam);
    }
    return true;
}

void reset_message_loop() {
    quit_taken = false;
}
