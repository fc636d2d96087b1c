#include "services/present.h"

#include "platform/host.h"
#include "services/message_pump.h"

uint32_t last_frame_tick = 0;

namespace {
// The first present after start-up goes out at once and starts the cadence
// from then, whatever the host's clock read at start.
bool schedule_restart = true;
}  // namespace

void restart_frame_schedule() {
    schedule_restart = true;
}

bool frame_must_wait(uint32_t last_due, uint32_t now) {
    // Differences of unsigned ticks stay right across the 49-day wrap.
    return now - last_due < FRAME_PERIOD_MS;
}

uint32_t next_frame_due(uint32_t last_due, uint32_t now) {
    // Five periods behind: drop the backlog and restart the cadence now.
    if (now - last_due >= 5 * FRAME_PERIOD_MS) return now;
    return last_due + FRAME_PERIOD_MS;
}

void present_frame() {
    const Host& h = host();
    h.frame_started();
    for (;;) {
        if (!pump_messages()) {
            h.frame_finished();
            return;
        }
        const uint32_t now = h.ticks_ms();
        if (schedule_restart) {
            schedule_restart = false;
            last_frame_tick = now;
            break;
        }
        if (!frame_must_wait(last_frame_tick, now)) {
            last_frame_tick = next_frame_due(last_frame_tick, now);
            break;
        }
        // One wait to the due time, cut short by any message; the loop then
        // pumps and looks at the clock again, as it would after a 1 ms step.
        if (h.wait_until)
            h.wait_until(last_frame_tick + FRAME_PERIOD_MS);
        else
            h.sleep_ms(1);
    }
    h.show_frame(back_surface_pixels(), SCREEN_WIDTH, SCREEN_HEIGHT, back_surface_pitch());
    h.frame_finished();
}

void fill_rect(const Rect& rect, uint32_t colour) {
    fill_back_surface(rect, colour);
}
