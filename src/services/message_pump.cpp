#include "services/message_pump.h"

#include "platform/host.h"
#include "services/keys.h"

WindowHandle main_window = nullptr;

namespace {

bool quit_taken = false;

}  // namespace

int pump_messages() {
    // Once the quit message has been taken the loop stays ended, so a quit
    // taken inside a frame's wait still ends the mode at its frame end.
    if (quit_taken) return 0;
    Message m;
    while (host().take_message(&m)) {
        if (m.id == WM_QUIT) {
            quit_taken = true;
            return 0;
        }
        window_proc(main_window, m.id, m.wparam, m.lparam);
    }
    return 1;
}

void reset_message_loop() {
    quit_taken = false;
}
