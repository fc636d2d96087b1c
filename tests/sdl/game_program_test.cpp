// The real game program: its exit status without a display, and that it
// runs and ends cleanly on a quit signal or a closed terminal, with or
// without a sound card.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/sim_process.h"

namespace {

struct GameRun {
    int status = -1;
    std::string stderr_text;
};

// Runs the game in `dir` with `env` set ("NAME=value") or removed ("NAME"),
// sends `signal` after `run_ms` unless it ended first, and waits for it.
GameRun run_game(const std::string& dir, const std::vector<std::string>& env, int run_ms,
                 int signal = SIGTERM) {
    const std::string err_path = dir + "/stderr.txt";
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.c_str()) != 0) _exit(120);
        for (const char* e : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) unsetenv(e);
        for (const std::string& e : env) {
            const size_t eq = e.find('=');
            if (eq == std::string::npos)
                unsetenv(e.c_str());
            else
                setenv(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str(), 1);
        }
        const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int null = open("/dev/null", O_WRONLY);
        dup2(err, 2);
        dup2(null, 1);
        execl(ZARVOX_GAME_PATH, "zarvox", static_cast<char*>(nullptr));
        _exit(121);
    }
    GameRun run;
    int status = 0;
    bool ended = false;
    for (int waited = 0; waited < run_ms && !ended; waited += 10) {
        ended = waitpid(pid, &status, WNOHANG) == pid;
        if (!ended) usleep(10000);
    }
    if (!ended) {
        kill(pid, signal);
        for (int waited = 0; waited < 10000 && !ended; waited += 10) {
            ended = waitpid(pid, &status, WNOHANG) == pid;
            if (!ended) usleep(10000);
        }
    }
    if (!ended) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        ADD_FAILURE() << "the game did not end on signal " << signal;
    }
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.stderr_text = read_file_bytes(err_path);
    return run;
}

TEST(GameProgram, WithoutADisplayOneLineAndStatusOne) {
    const std::string dir = make_scratch_dir("no-display");
    const GameRun run = run_game(dir, {}, 10000);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.stderr_text.rfind("zarvox: cannot open a display: ", 0), 0u) << run.stderr_text;
    EXPECT_EQ(std::count(run.stderr_text.begin(), run.stderr_text.end(), '\n'), 1);
}

TEST(GameProgram, RunsAndEndsCleanlyOnAQuitSignalWithOrWithoutASoundCard) {
    // SIGHUP: the terminal it was started from has closed.
    const struct {
        const char* audio;
        int signal;
    } cases[] = {{"SDL_AUDIODRIVER=dummy", SIGTERM},
                 {"SDL_AUDIODRIVER=no-such-driver", SIGTERM},
                 {"SDL_AUDIODRIVER=dummy", SIGHUP}};
    for (const auto& [audio, signal] : cases) {
        SCOPED_TRACE(std::string(audio) + " " + strsignal(signal));
        const std::string dir = make_scratch_dir("runs");
        const GameRun run = run_game(dir, {"SDL_VIDEODRIVER=dummy", audio}, 1500, signal);
        EXPECT_EQ(run.status, 0);
        // Without a card the game says once that it plays silently.
        const bool has_card = std::string(audio).find("dummy") != std::string::npos;
        EXPECT_EQ(run.stderr_text.empty(), has_card) << run.stderr_text;
        // Start-up ran: the play data was created.
        EXPECT_EQ(read_file_bytes(dir + "/PlayData.dat").size(), 72u);
    }
}

}  // namespace
