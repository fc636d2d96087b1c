// Frame pacing: one frame every 20 ms, presented into the window.
#pragma once

#include <cstdint>

#include "platform/display.h"

constexpr uint32_t FRAME_PERIOD_MS = 20;

// When the last presented frame was due, in the tick time base.
extern uint32_t last_frame_tick;

void present_frame();
// The next present shows at once and the 20 ms cadence restarts from it.
void restart_frame_schedule();
void fill_rect(const Rect& rect, uint32_t colour);

// The schedule step of present_frame: given the due time of the last frame
// and now (already at least one period later), the due time of this frame.
uint32_t next_frame_due(uint32_t last_due, uint32_t now);
// True while the frame due after last_due must still wait at time now.
bool frame_must_wait(uint32_t last_due, uint32_t now);
