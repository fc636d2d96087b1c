#include "modes/boss_battle.h"
#include "sim/trace_modes.h"

int boss_trace_phase() {
    return boss::phase;
}

void boss_trace_objects(JsonOut& out) {
    out.named_object("player", boss::player);
    out.named_object("shot", boss::shot);
    out.named_object("boss", boss::boss);
    out.named_object("result_picture", boss::result_picture);
    out.named_object("end_wait", boss::end_wait);
    out.named_pool("boss_bullets", boss::boss_bullets, boss::BULLET_COUNT);
    out.named_pool("laser_bombs", boss::laser_bombs, boss::BOMB_COUNT);
    out.named_pool("shot_icons", boss::shot_icons, boss::ICON_COUNT);
    out.field("segments", boss::LiveSegments());
    int rocks = 0;
    for (const GameObject& rock : boss::rocks) rocks += rock.visible != 0;
    out.field("rocks", rocks);
}
