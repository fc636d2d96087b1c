// A game played in the real window, under a virtual X display with real key
// events, is recorded and replays exactly: in the runner and in the window.
// The steps wait on the game's own count of presents (its hash file), never
// on the wall clock, so a slow machine only makes them slower.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/sim_process.h"

namespace {

constexpr auto DEADLINE = std::chrono::seconds(120);

bool on_path(const char* program) {
    return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

// One virtual X display for the whole suite, on a number of its own: the
// first free one may be another program's a moment later.
pid_t xvfb_pid = -1;
std::string display;

bool display_answers(const std::string& name) {
    const std::string command =
        "DISPLAY=" + name + " timeout 10 xdotool getmouselocation >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

void start_display() {
    for (int attempt = 0; attempt < 8 && display.empty(); ++attempt) {
        const std::string name = ":" + std::to_string(300 + (getpid() * 7 + attempt * 61) % 600);
        xvfb_pid = fork();
        if (xvfb_pid == 0) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
            dup2(null, 2);
            execlp("Xvfb", "Xvfb", name.c_str(), "-screen", "0", "640x800x24", "-nolisten", "tcp",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        // Ready once it answers; gone at once when the number is taken.
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < until) {
            if (waitpid(xvfb_pid, nullptr, WNOHANG) == xvfb_pid) {
                xvfb_pid = -1;
                break;
            }
            if (display_answers(name)) {
                display = name;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        if (display.empty() && xvfb_pid > 0) {
            kill(xvfb_pid, SIGTERM);
            waitpid(xvfb_pid, nullptr, 0);
            xvfb_pid = -1;
        }
    }
}

class RecordedWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (on_path("Xvfb") && on_path("xdotool")) start_display();
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
};

// The game, started in `dir` on the virtual display with `args`.
pid_t start_game(const std::string& dir, const std::vector<std::string>& args) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.c_str()) != 0) _exit(120);
        unsetenv("WAYLAND_DISPLAY");
        unsetenv("SDL_VIDEODRIVER");
        setenv("DISPLAY", display.c_str(), 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        // Under the sanitizers the X libraries' own allocations, kept to the
        // end, would be reported as leaks; the runner's tests check ours.
        const char* asan = getenv("ASAN_OPTIONS");
        setenv("ASAN_OPTIONS", (std::string(asan ? asan : "") + ":detect_leaks=0").c_str(), 1);
        const int err = open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(err, 2);
        std::vector<const char*> argv = {"zarvox"};
        for (const std::string& a : args) argv.push_back(a.c_str());
        argv.push_back(nullptr);
        execv(ZARVOX_GAME_PATH, const_cast<char* const*>(argv.data()));
        _exit(121);
    }
    return pid;
}

// The game's exit status once it ends by itself; -1 past the deadline.
int wait_for_exit(pid_t pid) {
    const auto until = std::chrono::steady_clock::now() + DEADLINE;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) != pid) {
        if (std::chrono::steady_clock::now() > until) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int presents_in(const std::string& hashes) {
    const std::string text = read_file_bytes(hashes);
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// Waits until the game has begun present `n`; false if it ended or the
// deadline passed first.
bool wait_for_present(pid_t pid, const std::string& hashes, int n) {
    const auto until = std::chrono::steady_clock::now() + DEADLINE;
    while (presents_in(hashes) < n) {
        if (waitpid(pid, nullptr, WNOHANG) == pid || std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

std::string beside(const std::string& path, const std::string& name) {
    return path.substr(0, path.rfind('/') + 1) + name;
}

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
#define WAIT_FOR(n)                                                                    \
    ASSERT_TRUE(wait_for_present(game, hashes, (n)))                                   \
        << "present " << (n) << ": " << read_file_bytes(beside(hashes, "stderr.txt")); \
    at = presents_in(hashes)
#define TAP(key)             \
    xdotool("keydown " key); \
    WAIT_FOR(at + 3);        \
    xdotool("keyup " key)

std::vector<std::string> hashes_of(const std::string& path) {
    std::vector<std::string> out;
    for (const Json& line : parse_json_lines(read_file_bytes(path)))
        out.push_back(line["hash"].text);
    return out;
}

std::vector<std::string> hashes_of(const std::vector<Json>& trace) {
    std::vector<std::string> out;
    for (const Json& record : trace) out.push_back(record["hash"].text);
    return out;
}

std::string starting_play_data() {
    std::string record(72, '\0');
    record[7] = 0x40;  // best score 32.0
    record[6] = 0x40;
    record[12 + 4 * 3] = 1;  // the fourth reward
    return record;
}

// Through the title, into stage 1 with the ship at the right, Space held
// until the stage's outcome, then Escape.
TEST_F(RecordedWindow, AGamePlayedInTheWindowReplaysPresentForPresent) {
    const std::string dir = make_scratch_dir("record-window");
    write_file_bytes(dir + "/PlayData.dat", starting_play_data());
    const std::string hashes = dir + "/hashes.jsonl";
    const pid_t game = start_game(dir, {"--record", "keys.txt", "--record-hashes", "hashes.jsonl"});
    int at = 0;
    WAIT_FOR(5);
    focus_game_window();
    TAP("space");  // past the intro
    WAIT_FOR(at + 20);
    TAP("space");  // a game
    WAIT_FOR(at + 80);
    xdotool("keydown Right");
    WAIT_FOR(at + 50);
    xdotool("keyup Right");
    // Space held: a shot each time the ship is ready, ten of them, and the
    // outcome 24 frames after the last; let go before the retry prompt arms.
    xdotool("keydown space");
    WAIT_FOR(at + 280);
    xdotool("keyup space");
    WAIT_FOR(at + 10);
    xdotool("key Escape");
    ASSERT_EQ(wait_for_exit(game), 0) << read_file_bytes(dir + "/stderr.txt");
    const std::vector<std::string> played = hashes_of(hashes);
    const std::string keys = read_file_bytes(dir + "/keys.txt");
    ASSERT_NE(keys.find("down SPACE"), std::string::npos) << keys;

    // The runner, from the recorded play data, sees every present the same.
    SimRun run;
    run.script = keys;
    run.args = {"--recorded-play-data"};
    const SimResult replay = run_sim_process(run, make_scratch_dir("record-window-sim"));
    ASSERT_EQ(replay.status, 0) << replay.stderr_text;
    EXPECT_EQ(hashes_of(replay.trace), played);
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
    const std::string again = make_scratch_dir("record-window-replay");
    const std::string own_data(72, '\x01');
    write_file_bytes(again + "/PlayData.dat", own_data);
    write_file_bytes(again + "/keys.txt", keys);
    {
        const std::string hashes = again + "/hashes.jsonl";
        const pid_t game =
            start_game(again, {"--replay", "keys.txt", "--record-hashes", "hashes.jsonl"});
        int at = 0;
        WAIT_FOR(5);
        focus_game_window();
        xdotool("key space Left Right space");
        ASSERT_EQ(wait_for_exit(game), 0) << read_file_bytes(again + "/stderr.txt");
        EXPECT_EQ(hashes_of(hashes), played);
        (void)at;
    }
    EXPECT_EQ(read_file_bytes(again + "/PlayData.dat"), own_data);
}

void pause_a_moment() {
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
}

// The count of presents once it has stopped growing (a pause has taken
// hold, however slowly a loaded machine delivers the key), or -1 when it
// still grows after 10 s.
int presents_once_held(const std::string& hashes) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    int before = presents_in(hashes);
    while (std::chrono::steady_clock::now() < until) {
        pause_a_moment();
        const int now = presents_in(hashes);
        if (now == before) return now;
        before = now;
    }
    return -1;
}

// P holds the game inside its frame wait: no present begins until P again;
// the keys pressed meanwhile never reach it. The window losing the focus
// pauses too, and getting it back plays on. Nothing of the pauses is in the
// recording: the runner replays it present for present.
TEST_F(RecordedWindow, PausesHoldTheFramesAndReplayAsIfThereWereNone) {
    const std::string dir = make_scratch_dir("record-paused");
    const std::string hashes = dir + "/hashes.jsonl";
    const pid_t game = start_game(dir, {"--record", "keys.txt", "--record-hashes", "hashes.jsonl"});
    int at = 0;
    WAIT_FOR(5);
    focus_game_window();
    TAP("space");  // past the intro
    WAIT_FOR(at + 20);
    TAP("space");  // a game
    WAIT_FOR(at + 60);
    xdotool("keydown Right");  // held into the pause, let go during it
    WAIT_FOR(at + 5);
    xdotool("key p");
    const int paused = presents_once_held(hashes);
    ASSERT_GE(paused, 0) << "P did not pause";
    xdotool("keyup Right");
    xdotool("keydown space");  // pressed while paused, let go after it
    pause_a_moment();
    EXPECT_EQ(presents_in(hashes), paused);
    xdotool("key p");
    WAIT_FOR(paused + 10);
    xdotool("keyup space");
    WAIT_FOR(at + 20);

    xdotool("search --maxdepth 0 --name '' windowfocus");  // the root window
    const int unfocused = presents_once_held(hashes);
    ASSERT_GE(unfocused, 0) << "losing the focus did not pause";
    pause_a_moment();
    EXPECT_EQ(presents_in(hashes), unfocused);
    focus_game_window();
    WAIT_FOR(unfocused + 20);
    // Escape quits from a pause at once.
    xdotool("key p");
    pause_a_moment();
    xdotool("key Escape");
    ASSERT_EQ(wait_for_exit(game), 0) << read_file_bytes(dir + "/stderr.txt");

    const std::vector<std::string> played = hashes_of(hashes);
    SimRun run;
    run.script = read_file_bytes(dir + "/keys.txt");
    EXPECT_EQ(run.script.find(" P"), std::string::npos) << run.script;
    run.args = {"--recorded-play-data"};
    const SimResult replay = run_sim_process(run, make_scratch_dir("record-paused-sim"));
    ASSERT_EQ(replay.status, 0) << replay.stderr_text;
    EXPECT_EQ(hashes_of(replay.trace), played);
    // The keys let go during the pause were let go; the one pressed in it
    // never went down.
    int space_downs = 0;
    for (size_t at_down = run.script.find("down SPACE"); at_down != std::string::npos;
         at_down = run.script.find("down SPACE", at_down + 1))
        ++space_downs;
    EXPECT_EQ(space_downs, 2) << run.script;
    EXPECT_NE(run.script.find("up RIGHT"), std::string::npos) << run.script;
}

TEST_F(RecordedWindow, AKilledRecordingReplaysUpToTheKill) {
    const std::string dir = make_scratch_dir("record-killed");
    const std::string hashes = dir + "/hashes.jsonl";
    const pid_t game = start_game(dir, {"--record", "keys.txt", "--record-hashes", "hashes.jsonl"});
    int at = 0;
    WAIT_FOR(5);
    focus_game_window();
    TAP("space");
    WAIT_FOR(at + 20);
    TAP("space");
    WAIT_FOR(at + 100);
    kill(game, SIGKILL);
    waitpid(game, nullptr, 0);

    const std::vector<std::string> played = hashes_of(hashes);
    SimRun run;
    run.script = read_file_bytes(dir + "/keys.txt");
    ASSERT_NE(run.script.find("down SPACE"), std::string::npos) << run.script;
    run.args = {"--recorded-play-data", "--frames", std::to_string(played.size())};
    const SimResult replay = run_sim_process(run, make_scratch_dir("record-killed-sim"));
    ASSERT_EQ(replay.status, 0) << replay.stderr_text;
    EXPECT_EQ(hashes_of(replay.trace), played);
}

TEST_F(RecordedWindow, ARecordingThatCannotBeWrittenIsReportedAndTheGameGoesOn) {
    const std::string dir = make_scratch_dir("record-full");
    const std::string hashes = dir + "/hashes.jsonl";
    const pid_t game =
        start_game(dir, {"--record", "/dev/full", "--record-hashes", "hashes.jsonl"});
    int at = 0;
    WAIT_FOR(30);
    (void)at;
    kill(game, SIGTERM);
    EXPECT_EQ(wait_for_exit(game), 1);
    const std::string err = read_file_bytes(dir + "/stderr.txt");
    EXPECT_EQ(err.rfind("zarvox: cannot write the recording (", 0), 0u) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
}

// A storm of Alt+Enter on a real X server: the switches wait for frames,
// one at most per frame, so the game keeps presenting and the Escape after
// the storm ends it promptly instead of after every switch in turn.
TEST_F(RecordedWindow, AFullscreenStormNeitherStallsTheFramesNorEscape) {
    const std::string dir = make_scratch_dir("fullscreen-storm");
    const std::string hashes = dir + "/hashes.jsonl";
    const pid_t game = start_game(dir, {"--record-hashes", "hashes.jsonl"});
    int at = 0;
    WAIT_FOR(5);
    focus_game_window();
    std::string storm = "key --delay 3";
    for (int i = 0; i < 200; ++i) storm += " alt+Return";
    const int before = presents_in(hashes);
    const auto started = std::chrono::steady_clock::now();
    xdotool(storm);
    const auto escape = std::chrono::steady_clock::now();
    xdotool("key Escape");
    const int status = wait_for_exit(game);
    const auto ended = std::chrono::steady_clock::now();
    const double seconds = std::chrono::duration<double>(ended - started).count();
    const double after_escape = std::chrono::duration<double>(ended - escape).count();
    EXPECT_EQ(status, 0) << read_file_bytes(dir + "/stderr.txt");
    // Sending the storm may take a while on a busy machine; once it is
    // sent, the game still owes at most a switch a frame before Escape.
    EXPECT_LT(after_escape, 5.0) << "Escape took " << after_escape << " s";
    // Frames went on during the storm: at least one in every 200 ms.
    EXPECT_GE(presents_in(hashes) - before, static_cast<int>(seconds * 5))
        << "only " << presents_in(hashes) - before << " presents in " << seconds << " s";
    (void)at;
}

// Refusals come before any window opens, so they need no display.
TEST(GameCommandLine, BadRecordingsAndOptionsAreRefusedWithStatusTwo) {
    const std::string dir = make_scratch_dir("record-refused");
    write_file_bytes(dir + "/version.txt", "# zarvox keys 7\n2 down SPACE\n");
    write_file_bytes(dir + "/backwards.txt", "# zarvox keys 1\n9 down SPACE\n8 up SPACE\n");
    write_file_bytes(dir + "/ms.txt", "# zarvox keys 1\n2 ms 1000\n");
    const std::vector<std::vector<std::string>> refused = {
        {"--replay", "version.txt"},
        {"--replay", "backwards.txt"},
        {"--replay", "ms.txt"},
        {"--replay", "missing.txt"},
        {"--replay", "."},
        {"--record", "no-such-folder/keys.txt"},
        {"--record", "a.txt", "--replay", "ms.txt"},
        {"--record"},
        {"--no-such-option"},
    };
    for (const auto& args : refused) {
        std::string shown;
        for (const std::string& a : args) shown += a + " ";
        SCOPED_TRACE(shown);
        const pid_t game = start_game(dir, args);
        EXPECT_EQ(wait_for_exit(game), 2);
        const std::string err = read_file_bytes(dir + "/stderr.txt");
        EXPECT_EQ(err.rfind("zarvox: ", 0), 0u) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    }
}

}  // namespace

// No output may overwrite an input, the play data or another output, however
// it is spelled: each clash is refused before anything is opened for
// writing, and every file is left as it was.
TEST(GameCommandLine, OutputsThatWouldOverwriteAnInputAreRefused) {
    const std::string dir = make_scratch_dir("record-clash");
    const std::string data(72, '\x07');
    const std::string mine = "# zarvox keys 1\n2 down SPACE\n";
    write_file_bytes(dir + "/PlayData.dat", data);
    write_file_bytes(dir + "/mine.keys", mine);
    ASSERT_EQ(symlink("PlayData.dat", (dir + "/data-link").c_str()), 0);
    ASSERT_EQ(link((dir + "/mine.keys").c_str(), (dir + "/hard.keys").c_str()), 0);
    const std::vector<std::vector<std::string>> refused = {
        {"--record", "PlayData.dat"},
        {"--record", "./PlayData.dat"},
        {"--record-hashes", "data-link"},
        {"--replay", "mine.keys", "--record-hashes", "mine.keys"},
        {"--replay", "mine.keys", "--record-hashes", "./hard.keys"},
        {"--record", "same.txt", "--record-hashes", "./same.txt"},
    };
    for (const auto& args : refused) {
        std::string shown;
        for (const std::string& a : args) shown += a + " ";
        SCOPED_TRACE(shown);
        const pid_t game = start_game(dir, args);
        EXPECT_EQ(wait_for_exit(game), 2);
        const std::string err = read_file_bytes(dir + "/stderr.txt");
        EXPECT_EQ(err.rfind("zarvox: ", 0), 0u) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(read_file_bytes(dir + "/PlayData.dat"), data);
        EXPECT_EQ(read_file_bytes(dir + "/mine.keys"), mine);
        EXPECT_FALSE(std::filesystem::exists(dir + "/same.txt"));
    }
}
