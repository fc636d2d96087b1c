// The busiest frames of the battles and a whole game, timed in the real mode
// loops. The runner's own player records one whole game once (in a child
// process, so its look-ahead costs nothing here); the game is then replayed
// in-process from those keys, and the clock read as each present begins
// gives the time of the frame before it: the rest of the previous present,
// the frame's work and its drawing.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "copying_floor.h"
#include "hosts/headless/headless_host.h"
#include "modes/boss_battle.h"
#include "modes/ship_and_hud.h"
#include "modes/stage_battle.h"
#include "modes/title_state.h"
#include "objects/game_object.h"
#include "objects/random.h"
#include "replay/key_script.h"
#include "services/game_state.h"
#include "services/keys.h"
#include "services/message_pump.h"
#include "shell/shell.h"
#include "sim/sim.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int RECORDED_MS_OF_SECOND = 0;

// The recorded game: its keys and its length in presents, in a scratch
// directory that also takes the replays' "PlayData.dat".
struct Recording {
    std::string dir;
    std::vector<ScriptedMessage> keys;
    int frames = 0;
    ~Recording() {
        if (!dir.empty()) std::filesystem::remove_all(dir);
    }
};
Recording recording;

bool record_game() {
    if (!recording.keys.empty()) return true;
    char dir[] = "/tmp/zarvox-bench-XXXXXX";
    if (!::mkdtemp(dir) || ::chdir(dir) != 0) return false;
    recording.dir = dir;
    const pid_t pid = ::fork();
    if (pid < 0) return false;
    if (pid == 0) {
        std::freopen("/dev/null", "w", stderr);
        SimOptions options;
        options.autoplay = true;
        options.autoplay_script = "keys.txt";
        options.ms_of_second = RECORDED_MS_OF_SECOND;
        ::_exit(run_sim(options));
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return false;
    std::ifstream in("keys.txt");
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    KeyScript script;
    std::string error;
    if (!parse_key_script(text.data(), text.size(), &script, &error) || script.messages.empty())
        return false;
    recording.keys = std::move(script.messages);
    // The game ends in the frame of its last key, the player's Escape.
    recording.frames = recording.keys.back().frame;
    return true;
}

// Whether the frame just worked and drawn is one to time.
using FramePick = bool (*)();

struct Replay {
    FramePick pick = nullptr;
    std::vector<double> seconds;  // the picked frames' times
    Clock::time_point last;
};
Replay replay;

void on_frame_started(int frame, void*) {
    const Clock::time_point now = Clock::now();
    if (frame > 1 && replay.pick && replay.pick())
        replay.seconds.push_back(std::chrono::duration<double>(now - replay.last).count());
    replay.last = Clock::now();
}

// Plays the recorded game again from a fresh start; returns its presents.
int replay_game(FramePick pick) {
    std::filesystem::remove("PlayData.dat");
    set_random_seed(1);
    title_phase = TITLE_INTRO;
    KeyState = 0;
    first_mode = MODE_TITLE;
    mode_started_hook = nullptr;
    reset_message_loop();
    replay.pick = pick;
    replay.seconds.clear();
    replay.seconds.reserve(4096);
    HeadlessConfig config;
    config.script = recording.keys.data();
    config.script_length = static_cast<int>(recording.keys.size());
    config.ms_of_second = RECORDED_MS_OF_SECOND;
    config.observer.frame_started = on_frame_started;
    install_headless_host(config);
    game_main();
    return headless_frame();
}

// One picked frame per iteration, replaying the game whenever they run out.
void time_frames(benchmark::State& state, FramePick pick) {
    if (!record_game()) {
        state.SkipWithError("the game could not be recorded");
        return;
    }
    std::vector<double> pool;
    size_t next = 0;
    for (auto _ : state) {
        if (next == pool.size()) {
            if (replay_game(pick) != recording.frames) {
                state.SkipWithError("the replay went another way");
                return;
            }
            pool = replay.seconds;
            next = 0;
            if (pool.empty()) {
                state.SkipWithError("no frame of the kind in the recorded game");
                return;
            }
        }
        state.SetIterationTime(pool[next++]);
    }
}

// Stage 3 with its fifteen enemies and a shot in flight.
bool stage3_shot_in_flight() {
    return current_mode == MODE_STAGE_BATTLE && stage_number == 3 &&
           stage::phase == stage::PHASE_PLAY && stage::shot.state == SHOT_FLYING;
}

// The boss fight with all the rocks out and a laser beam standing.
bool boss_fight_with_beam() {
    return current_mode == MODE_BOSS_BATTLE && boss::phase == boss::BossFight &&
           boss::rocks_released == boss::ROCK_COUNT && boss::LiveSegments() > 0;
}

void BM_Stage3InPlay(benchmark::State& state) {
    time_frames(state, stage3_shot_in_flight);
}
BENCHMARK(BM_Stage3InPlay)
    ->UseManualTime()
    ->Iterations(500)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

void BM_BossBattleBeamAndAllRocks(benchmark::State& state) {
    time_frames(state, boss_fight_with_beam);
}
BENCHMARK(BM_BossBattleBeamAndAllRocks)
    ->UseManualTime()
    ->Iterations(150)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

// The whole recorded game, start-up to shut-down, in frames per second.
void BM_WholeGameReplayed(benchmark::State& state) {
    if (!record_game()) {
        state.SkipWithError("the game could not be recorded");
        return;
    }
    int frames = 0;
    for (auto _ : state) {
        frames = replay_game(nullptr);
        if (frames != recording.frames) {
            state.SkipWithError("the replay went another way");
            return;
        }
    }
    state.counters["frames"] = frames;
    state.counters["frames_per_second"] =
        benchmark::Counter(frames, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_WholeGameReplayed)
    ->UseRealTime()
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

BENCHMARK(BM_CopyingFloorFourScreens)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
