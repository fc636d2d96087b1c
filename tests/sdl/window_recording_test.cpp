// A game played in the real window, under a virtual X display with real key
// events, is recorded and replays exactly: in the runner and in the window.
// The steps wait on the game's own count of presents (its hash file), never
// on the wall clock, so a slow machine only makes them slower.
#include <gtest/gtest.h>
#include <poll.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "sdl/game_process.h"

namespace {

// One virtual X display for the whole suite. Xvfb picks a free number
// itself and writes it to the pipe once it takes connections.
pid_t xvfb_pid = -1;
std::string display;

void start_display() {
    int fds[2];
    if (pipe(fds) != 0) return;
    const std::string fd = std::to_string(fds[1]);
    xvfb_pid = fork();
    if (xvfb_pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "640x800x24", "-nolisten",
               "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    pollfd ready = {fds[0], POLLIN, 0};
    char number[16] = "";
    if (poll(&ready, 1, 60000) == 1 && read(fds[0], number, sizeof number - 1) > 0)
        display = ":" + std::to_string(std::atoi(number));
    close(fds[0]);
}

class RecordedWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // Without Xvfb the display never answers.
        if (std::system("command -v xdotool >/dev/null 2>&1") == 0) start_display();
    }
    static void TearDownTestSuite() {
        if (xvfb_pid > 0) {
            kill(xvfb_pid, SIGTERM);
            waitpid(xvfb_pid, nullptr, 0);
        }
    }
    void SetUp() override {
        if (display.empty()) GTEST_SKIP() << "needs Xvfb and xdotool";
    }

    // The game in a new scratch folder `name` on the virtual display,
    // recording its presents' hashes, with `data` (when given) as its play
    // data and `keys` as keys.txt.
    void start(const std::string& name, std::vector<std::string> args, const std::string& data = "",
               const std::string& keys = "") {
        dir = make_scratch_dir(name);
        hashes = dir + "/hashes.jsonl";
        if (!data.empty()) write_file_bytes(dir + "/PlayData.dat", data);
        if (!keys.empty()) write_file_bytes(dir + "/keys.txt", keys);
        args.insert(args.end(), {"--record-hashes", "hashes.jsonl"});
        // Under the sanitizers the X libraries' own allocations, kept to the
        // end, would be reported as leaks; the runner's tests check ours.
        const char* asan = getenv("ASAN_OPTIONS");
        game = start_game(dir, args,
                          {"DISPLAY=" + display, "SDL_AUDIODRIVER=dummy",
                           "ASAN_OPTIONS=" + std::string(asan ? asan : "") + ":detect_leaks=0"});
        at = 0;
    }

    std::string dir, hashes;
    pid_t game = -1;
    int at = 0;  // the presents begun when last looked
};

// Real key events through the X server, to the game's window.
void xdotool(const std::string& args) {
    const std::string command = "DISPLAY=" + display + " timeout 60 xdotool " + args;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

void focus_game_window() {
    xdotool("search --sync --name '^Zarvox$' windowfocus --sync");
}

// Waits for present `n` to begin and notes where the game is. TAP holds a
// key for a few presents: a press in the pump that ends a frame, released
// inside the very next present, is seen by no frame of the title screen.
#define WAIT_FOR(n)                                                           \
    ASSERT_TRUE(wait_for_present(game, hashes, (n)))                          \
        << "present " << (n) << ": " << read_file_bytes(dir + "/stderr.txt"); \
    at = presents_in(hashes)
#define TAP(key)             \
    xdotool("keydown " key); \
    WAIT_FOR(at + 3);        \
    xdotool("keyup " key)

// Focuses the window, then through the title into stage 1.
#define INTO_A_GAME()          \
    WAIT_FOR(5);               \
    focus_game_window();       \
    TAP("space"); /* intro */  \
    WAIT_FOR(at + 20);         \
    TAP("space"); /* a game */ \
    WAIT_FOR(at + 60)

std::string starting_play_data() {
    std::string record(72, '\0');
    record[7] = 0x40;  // best score 32.0
    record[6] = 0x40;
    record[12 + 4 * 3] = 1;  // the fourth reward
    return record;
}

// Into stage 1 with Right held a while, Space held until the stage's
// outcome, then Escape. (Pausing, P and a lost focus, is the SDL host suite's
// test on the dummy drivers; what a pause lets through, the pause gate's.)
TEST_F(RecordedWindow, AGamePlayedInTheWindowReplaysPresentForPresent) {
    start("record-window", {"--record", "keys.txt"}, starting_play_data());
    INTO_A_GAME();
    xdotool("keydown Right");
    WAIT_FOR(at + 20);
    xdotool("keyup Right");
    // Space held: a shot each time the ship is ready, ten of them, and the
    // outcome 24 frames after the last; let go before the retry prompt arms.
    xdotool("keydown space");
    WAIT_FOR(at + 280);
    xdotool("keyup space");
    WAIT_FOR(at + 10);
    xdotool("key Escape");
    ASSERT_EQ(wait_for_exit(game), 0) << read_file_bytes(dir + "/stderr.txt");
    const std::vector<std::string> window = recorded_hashes(hashes);
    const std::string keys = read_file_bytes(dir + "/keys.txt");

    // The runner, from the recorded play data, sees every present the same.
    const SimResult replay = expect_runner_replays(keys, window);
    ASSERT_FALSE(replay.trace.empty());
    EXPECT_TRUE(trace_shows_record(replay.trace.back(), read_file_bytes(dir + "/PlayData.dat")));
    EXPECT_FALSE(std::filesystem::exists(replay.dir + "/PlayData.dat"));
    bool played_stage = false, outcome = false;
    for (const Json& r : replay.trace) {
        if (r["mode"].as_int() != 2) continue;
        played_stage |= r["phase"].as_int() == 1;
        outcome |= r["phase"].as_int() == 2 || r["phase"].as_int() == 3;
    }
    EXPECT_TRUE(played_stage && outcome) << keys;

    // Played back in the window: the watcher's keys other than Escape do
    // nothing, and the player's own file stays as it was.
    const std::string own_data(72, '\x01');
    start("record-window-replay", {"--replay", "keys.txt"}, own_data, keys);
    WAIT_FOR(5);
    focus_game_window();
    xdotool("key space Left Right space");
    ASSERT_EQ(wait_for_exit(game), 0) << read_file_bytes(dir + "/stderr.txt");
    EXPECT_EQ(recorded_hashes(hashes), window);
    EXPECT_EQ(read_file_bytes(dir + "/PlayData.dat"), own_data);
}

}  // namespace
