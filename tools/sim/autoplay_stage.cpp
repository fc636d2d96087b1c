// The stage battle's player. Shots pierce, and the k-th enemy one shot
// touches is worth 1 + k/2, so the player waits for the enemies to line up.
// Moving the ship draws no random numbers, so until the next hit the enemies
// go exactly as they would with the ship at rest: one look-ahead child plays
// the stage on untouched and reports where every enemy is tested in each
// frame; the player then picks the fire frame and ship place whose shot
// meets the most of them.
#include "modes/ship_and_hud.h"
#include "modes/stage_battle.h"
#include "services/game_state.h"
#include "services/keys.h"
#include "shell/shell.h"
#include "sim/autoplay_internal.h"

namespace autoplay {

namespace {

using namespace stage;

constexpr int HORIZON = 800;                    // frames looked ahead for one shot
constexpr int SHOT_FRAMES = 24;                 // frames in which a flying shot is tested
constexpr int SHIP_STEP_PX = SHIP_SPEED / 512;  // a held arrow moves the ship 3 pixels a frame
constexpr int SHIP_RIGHT_PX = FIELD_RIGHT_LIMIT / 512;
constexpr Fixed9 SHOT_START_Y = 0x23000 - 8;  // just above the ship's row
constexpr Fixed9 SHOT_STEP = 6144;            // 12 pixels a frame
// The shot's hitbox (3..13 across, 0..16 down) against an enemy's (2..18).
constexpr Fixed9 SHOT_LEFT = px(3), SHOT_RIGHT = px(13), SHOT_HEIGHT = px(16);
constexpr Fixed9 ENEMY_NEAR = px(2), ENEMY_FAR = px(18);

// Where an enemy is tested in one frame: its place before that frame's move.
struct EnemyAt {
    int32_t x, y, alive;
};
struct StageFrame {
    EnemyAt enemy[ENEMY_SLOTS];
};
static_assert(HORIZON * sizeof(StageFrame) <= LOOKAHEAD_BYTES);

struct Plan {
    bool active;
    int fire;    // the frame whose work sees Space
    int target;  // the ship's x in pixels when it fires
};

Plan plan = {};
int fork_frame = 0;

Keys still_step(int frame) {
    if (frame > fork_frame) {
        StageFrame f;
        for (int i = 0; i < ENEMY_SLOTS; ++i) {
            const GameObject& e = enemies[i];
            f.enemy[i] = {e.x - e.vx, e.y - e.vy, e.state == 0};
        }
        report(&f, sizeof f);
    }
    if (frame >= fork_frame + HORIZON || current_mode != MODE_STAGE_BATTLE || phase != PHASE_PLAY)
        finish_lookahead();
    return 0;
}

int floor_div(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}
int ceil_div(int a, int b) {
    return -floor_div(-a, b);
}

// Frames of holding an arrow that bring the ship from x to `to` (-1: never).
int moves_to(int x, int to) {
    if (to == 0) return (x + SHIP_STEP_PX - 1) / SHIP_STEP_PX;
    if (to == SHIP_RIGHT_PX) return (SHIP_RIGHT_PX - x + SHIP_STEP_PX - 1) / SHIP_STEP_PX;
    const int d = to > x ? to - x : x - to;
    return d % SHIP_STEP_PX == 0 ? d / SHIP_STEP_PX : -1;
}

// For each ship x, how many living enemies a shot fired at the frame of
// record `first` would touch.
void count_hits(const StageFrame* rec, int first, int (&count)[SHIP_RIGHT_PX + 1]) {
    for (int& c : count) c = 0;
    for (int e = 0; e < ENEMY_SLOTS; ++e) {
        bool touched[SHIP_RIGHT_PX + 1] = {};
        bool any = false;
        for (int k = 0; k < SHOT_FRAMES; ++k) {
            const EnemyAt& a = rec[first + k].enemy[e];
            if (!a.alive) continue;
            const Fixed9 sy = SHOT_START_Y - SHOT_STEP * k;
            if (sy > a.y + ENEMY_FAR || sy + SHOT_HEIGHT < a.y + ENEMY_NEAR) continue;
            int lo = ceil_div(a.x + ENEMY_NEAR - SHOT_RIGHT, 512);
            int hi = floor_div(a.x + ENEMY_FAR - SHOT_LEFT, 512);
            if (lo < 0) lo = 0;
            if (hi > SHIP_RIGHT_PX) hi = SHIP_RIGHT_PX;
            for (int x = lo; x <= hi; ++x) touched[x] = true;
            any = any || lo <= hi;
        }
        if (!any) continue;
        for (int x = 0; x <= SHIP_RIGHT_PX; ++x) count[x] += touched[x];
    }
}

void make_plan(int frame) {
    const int x0 = player.x / 512;
    const bool resting = player.vx == 0;
    fork_frame = frame;
    const long got = look_ahead(still_step);
    if (in_lookahead()) return;
    // Without a look-ahead, fire from where the ship is.
    plan = {true, frame + 1, x0};
    if (got <= 0) return;

    const StageFrame* rec = reinterpret_cast<const StageFrame*>(lookahead_data);
    const int frames = static_cast<int>(got / static_cast<long>(sizeof(StageFrame)));
    int best_hits = 0;
    int count[SHIP_RIGHT_PX + 1];
    // Record i is frame + 1 + i.
    for (int first = 0; first + SHOT_FRAMES <= frames; ++first) {
        count_hits(rec, first, count);
        const int fire = frame + 1 + first;
        for (int x = 0; x <= SHIP_RIGHT_PX; ++x) {
            if (count[x] <= best_hits) continue;
            const int m = moves_to(x0, x);
            if (m < 0) continue;
            // The ship moves, stands still for a frame, then fires; at rest
            // already it may fire at once.
            const bool in_time = m == 0 && resting ? first >= 0 : first >= m + 1;
            if (!in_time) continue;
            best_hits = count[x];
            plan = {true, fire, x};
        }
    }
}

Keys play_keys(int frame) {
    if (plan.active && frame >= plan.fire) plan.active = false;  // its fire frame has run
    if (player.state != 0) return 0;                             // a shot is out
    if (!plan.active) {
        make_plan(frame);
        if (in_lookahead()) return 0;
    }
    if (frame + 1 == plan.fire) return KEY_SPACE;
    const int x = player.x / 512;
    if (x < plan.target) return KEY_RIGHT;
    if (x > plan.target) return KEY_LEFT;
    return 0;
}

}  // namespace

Keys stage_keys(int frame, Keys held) {
    switch (phase) {
        case PHASE_PLAY:
            return play_keys(frame);
        case PHASE_GAME_OVER:
        case PHASE_PRIZE_REVEAL:
        case PHASE_CLEARED:
            // Stages 1 and 2 move on by themselves; the other screens wait for Space.
            if (phase == PHASE_CLEARED && stage_number != 3) return 0;
            return prompt.flag == 1 ? tap(held, KEY_SPACE) : 0;
        default:
            plan.active = false;
            return 0;
    }
}

}  // namespace autoplay
