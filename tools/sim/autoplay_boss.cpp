// The boss battle's player. Nothing the ship does changes the boss or its
// attacks until its shot strikes, so one look-ahead child, whose ship cannot
// be struck, plays the battle on and reports for every frame where the boss
// is tested and which ship places a bullet or a beam would strike. The
// player then searches the ship's moves frame by frame for the earliest shot
// that meets the boss with the ship untouched until then; once the boss is
// struck the ship can no longer be hit.
#include "modes/boss_battle.h"
#include "modes/ship_and_hud.h"
#include "services/game_state.h"
#include "services/keys.h"
#include "shell/shell.h"
#include "sim/autoplay_internal.h"

namespace autoplay {

namespace {

using namespace boss;

constexpr int HORIZON = 600;
constexpr int SHOT_FRAMES = 18;  // frames in which a flying shot is tested
constexpr int STEP_PX = SHIP_SPEED / 512;
constexpr int RIGHT_PX = FIELD_RIGHT_LIMIT / 512;
constexpr int PLACES = RIGHT_PX + 1;
constexpr int WORDS = (PLACES + 31) / 32;
constexpr Fixed9 SHOT_STEP = 0x2000;  // 16 pixels a frame up
// Without a shot in reach the ship only dodges, this many frames of the
// safest course before looking again.
constexpr int DODGE_FRAMES = 40;

struct BossFrame {
    int32_t x, y;            // where the boss is tested
    int32_t open;            // it can be struck
    uint32_t danger[WORDS];  // ship places (pixels) a bullet or a beam strikes
};
static_assert(HORIZON * sizeof(BossFrame) <= LOOKAHEAD_BYTES);

bool dangerous(const BossFrame& f, int x) {
    return (f.danger[x / 32] >> (x % 32)) & 1u;
}

int fork_frame = 0;

void mark_danger(const GameObject& hazard, GameObject& probe, BossFrame& f) {
    GameObject h = hazard;
    h.x -= h.vx;  // tested where it was before the frame's move
    h.y -= h.vy;
    const int lo = (h.x + (h.hitbox_a.left << 9) - (probe.hitbox_b.right << 9)) / 512 - 1;
    const int hi = (h.x + (h.hitbox_a.right << 9) - (probe.hitbox_b.left << 9)) / 512 + 1;
    for (int x = lo < 0 ? 0 : lo; x <= hi && x <= RIGHT_PX; ++x) {
        probe.x = px(x);
        if (objects_apart(h, probe) == 0) f.danger[x / 32] |= 1u << (x % 32);
    }
}

Keys still_step(int frame) {
    // The child's ship cannot be struck, so the attacks play out as they
    // would around a ship that dodges them.
    if (frame == fork_frame) player.no_hit = 1;
    if (frame > fork_frame) {
        BossFrame f = {};
        f.x = boss::boss.x - boss::boss.vx;
        f.y = boss::boss.y - boss::boss.vy;
        f.open = boss::boss.state == Roaming && boss::boss.no_hit == 0;
        GameObject probe = player;
        probe.no_hit = 0;
        for (const GameObject& bullet : boss_bullets)
            if (bullet.flag == 1) mark_danger(bullet, probe, f);
        for (const GameObject& piece : laser_segments)
            if (piece.flag == 1) mark_danger(piece, probe, f);
        report(&f, sizeof f);
    }
    if (frame >= fork_frame + HORIZON || current_mode != MODE_BOSS_BATTLE || phase != BossFight)
        finish_lookahead();
    return 0;
}

// The ship's course: a place and the speed it kept (-1, 0, 1 as 0, 1, 2).
struct Step {
    int16_t from_x;  // -1: not reachable
    int8_t from_v;
    int8_t intent;  // -1 left, 0 none, 1 right
};
Step reach[HORIZON + 1][PLACES][3];

struct Move {
    int test_x, x, v;
};

// One frame of steering and the side bounds: `vx` is -1, 0 or 1.
Move steer(int x, int vx) {
    const int next = x + STEP_PX * vx;
    if (next < 0) return {0, 0, 0};
    if (next > RIGHT_PX) return {RIGHT_PX, RIGHT_PX, 0};
    return {x, next, vx};
}

// The frames of the course, as keys, from the plan's first frame on.
Keys course[HORIZON + SHOT_FRAMES + 2];
int course_first = 0;  // the frame whose work sees course[0]
int course_length = 0;

Keys intent_keys(int intent) {
    return intent < 0 ? KEY_LEFT : intent > 0 ? KEY_RIGHT : 0;
}

// Writes the course into layer `layer`'s state (x, v) from layer 0.
void trace_back(int layer, int x, int v) {
    for (int i = layer; i > 0; --i) {
        const Step& s = reach[i][x][v];
        course[i - 1] = intent_keys(s.intent);
        x = s.from_x;
        v = s.from_v;
    }
}

// The frame in which a shot from x, fired in the frame of record `first`,
// first touches the boss: its offset, or -1.
int shot_meets_boss(const BossFrame* rec, int frames, int first, int x) {
    GameObject s = shot;
    s.x = px(x);
    GameObject b = boss::boss;
    b.no_hit = 0;
    for (int k = 0; k < SHOT_FRAMES && first + k < frames; ++k) {
        const BossFrame& f = rec[first + k];
        if (!f.open) continue;
        s.y = player.y - 8 - SHOT_STEP * k;
        b.x = f.x;
        b.y = f.y;
        if (objects_apart(s, b) == 0) return k;
    }
    return -1;
}

// Keys for records first .. first + count - 1 that keep the ship from x
// untouched; false when there are none.
bool dodge_tail(const BossFrame* rec, int first, int count, int x, Keys* out) {
    static int16_t from[SHOT_FRAMES + 1][PLACES];
    static int8_t how[SHOT_FRAMES + 1][PLACES];
    for (int i = 0; i <= count; ++i)
        for (int p = 0; p < PLACES; ++p) from[i][p] = -1;
    from[0][x] = static_cast<int16_t>(x);
    for (int i = 0; i < count; ++i)
        for (int p = 0; p < PLACES; ++p) {
            if (from[i][p] < 0) continue;
            for (int intent = -1; intent <= 1; ++intent) {
                const Move m = steer(p, intent);
                if (dangerous(rec[first + i], m.test_x) || from[i + 1][m.x] >= 0) continue;
                from[i + 1][m.x] = static_cast<int16_t>(p);
                how[i + 1][m.x] = static_cast<int8_t>(intent);
            }
        }
    for (int p = 0; p < PLACES; ++p) {
        if (from[count][p] < 0) continue;
        for (int i = count, q = p; i > 0; q = from[i][q], --i) out[i - 1] = intent_keys(how[i][q]);
        return true;
    }
    return false;
}

// Plans from the present `frame`: the course to the earliest shot that
// meets the boss, or the longest dodge when none is in reach.
void make_plan(int frame) {
    const bool may_fire = player.state == Ready && player.stock > 0;
    fork_frame = frame;
    const long got = look_ahead(still_step);
    if (in_lookahead()) return;
    course_first = frame + 1;
    course_length = 0;
    if (got <= 0) return;
    const BossFrame* rec = reinterpret_cast<const BossFrame*>(lookahead_data);
    const int frames = static_cast<int>(got / static_cast<long>(sizeof(BossFrame)));

    for (auto& layer : reach)
        for (auto& place : layer)
            for (Step& s : place) s.from_x = -1;
    const int x0 = player.x / 512;
    const int v0 = player.vx < 0 ? 0 : player.vx > 0 ? 2 : 1;
    reach[0][x0][v0] = {static_cast<int16_t>(x0), static_cast<int8_t>(v0), 0};
    int deepest = 0, deep_x = x0, deep_v = v0;

    for (int i = 1; i <= frames; ++i) {
        const BossFrame& f = rec[i - 1];
        // Fire in this frame (record i - 1) from any place reached before it.
        if (may_fire) {
            for (int x = 0; x < PLACES; ++x)
                for (int v = 0; v < 3; ++v) {
                    if (reach[i - 1][x][v].from_x < 0) continue;
                    for (int intent = -1; intent <= 1; ++intent) {
                        // Space alone keeps the speed the ship had.
                        const Move m = steer(x, intent != 0 ? intent : v - 1);
                        if (dangerous(f, m.test_x)) continue;
                        const int k = shot_meets_boss(rec, frames, i - 1, m.x);
                        if (k < 0) continue;
                        // Untouched until the frame the shot strikes.
                        Keys* tail = course + i;
                        if (k > 0 && !dodge_tail(rec, i, k - 1, m.x, tail)) continue;
                        trace_back(i - 1, x, v);
                        course[i - 1] = intent_keys(intent) | KEY_SPACE;
                        // Up to and including the frame the shot strikes.
                        course[i + k - 1] = 0;
                        course_length = i + k;
                        return;
                    }
                }
        }
        // Layer i: every place the ship can be after this frame untouched.
        bool any = false;
        for (int x = 0; x < PLACES; ++x)
            for (int v = 0; v < 3; ++v) {
                if (reach[i - 1][x][v].from_x < 0) continue;
                for (int intent = -1; intent <= 1; ++intent) {
                    const Move m = steer(x, intent);
                    if (dangerous(f, m.test_x)) continue;
                    Step& s = reach[i][m.x][m.v + 1];
                    if (s.from_x >= 0) continue;
                    s = {static_cast<int16_t>(x), static_cast<int8_t>(v),
                         static_cast<int8_t>(intent)};
                    if (!any) deep_x = m.x, deep_v = m.v + 1;
                    any = true;
                }
            }
        if (!any) break;
        deepest = i;
    }
    // No shot in reach: dodge along the course that lasts longest.
    trace_back(deepest, deep_x, deep_v);
    course_length = deepest < DODGE_FRAMES ? deepest : DODGE_FRAMES;
}

Keys fight_keys(int frame) {
    if (player.state == Frozen || boss::boss.state != Roaming)
        return 0;  // struck: it cannot be hit now
    const int at = frame + 1 - course_first;
    if (at < 0 || at >= course_length) {
        make_plan(frame);
        if (in_lookahead()) return 0;
        if (course_length == 0) return 0;
        return course[0];
    }
    return course[at];
}

}  // namespace

Keys boss_keys(int frame, Keys held) {
    switch (phase) {
        case BossFight:
            return fight_keys(frame);
        case BossLost:
            return end_wait.flag == 1 ? tap(held, KEY_SPACE) : 0;
        default:
            course_length = 0;
            return 0;
    }
}

}  // namespace autoplay
