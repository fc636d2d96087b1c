#include "modes/frame_end.h"
#include "modes/modes.h"

// Placeholder until the mode is built: black frames until the quit request.
int RunStageBattle(WindowHandle window) {
    for (;;) {
        fill_rect(ScreenRect, 0);
        if (!finish_frame(window)) return 0;
    }
}
