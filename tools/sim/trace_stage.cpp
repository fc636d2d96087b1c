#include "modes/stage_battle.h"
#include "sim/trace_modes.h"

int stage_trace_phase() {
    return stage::phase;
}

void stage_trace_objects(JsonOut& out) {
    out.named_object("player", stage::player);
    out.named_object("shot", stage::shot);
    out.named_object("banner", stage::banner);
    out.named_object("prompt", stage::prompt);
    out.named_object("prize_caption", stage::prize_caption);
    out.named_pool("enemies", stage::enemies, stage::ENEMY_SLOTS);
    out.named_pool("shot_icons", stage::shot_icons, stage::SHOTS_PER_STAGE);
}
