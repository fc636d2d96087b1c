// Running the real game program: started in a scratch folder with its
// standard error in stderr.txt there, followed through the hashes file it
// writes (a line per present) and waited for. Every wait is on the game's
// own count of presents or its exit, with a generous deadline, never on a
// fixed stretch of wall clock, so a slow machine only makes a test slower.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "support/sim_process.h"

constexpr auto GAME_DEADLINE = std::chrono::seconds(120);

// The game, started in `dir` with `args` and the "NAME=value" settings in
// `env` (with no display unless `env` names one).
inline pid_t start_game(const std::string& dir, const std::vector<std::string>& args,
                        const std::vector<std::string>& env) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.c_str()) != 0) _exit(120);
        for (const char* e : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) unsetenv(e);
        for (const std::string& e : env) {
            const size_t eq = e.find('=');
            setenv(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str(), 1);
        }
        const int err = open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int null = open("/dev/null", O_WRONLY);
        dup2(err, 2);
        dup2(null, 1);
        std::vector<const char*> argv = {"zarvox"};
        for (const std::string& a : args) argv.push_back(a.c_str());
        argv.push_back(nullptr);
        execv(ZARVOX_GAME_PATH, const_cast<char* const*>(argv.data()));
        _exit(121);
    }
    return pid;
}

// The game's exit status once it ends; -1 (and the game killed) past the deadline.
inline int wait_for_exit(pid_t pid) {
    const auto until = std::chrono::steady_clock::now() + GAME_DEADLINE;
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

inline int presents_in(const std::string& hashes) {
    const std::string text = read_file_bytes(hashes);
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// Waits until the game has begun present `n`; false if it ended or the
// deadline passed first.
inline bool wait_for_present(pid_t pid, const std::string& hashes, int n) {
    const auto until = std::chrono::steady_clock::now() + GAME_DEADLINE;
    while (presents_in(hashes) < n) {
        if (waitpid(pid, nullptr, WNOHANG) == pid || std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// Every present's hash, from a hashes file or a runner's trace.
inline std::vector<std::string> trace_hashes(const std::vector<Json>& trace) {
    std::vector<std::string> out;
    for (const Json& record : trace) out.push_back(record["hash"].text);
    return out;
}
inline std::vector<std::string> recorded_hashes(const std::string& path) {
    return trace_hashes(parse_json_lines(read_file_bytes(path)));
}

// Replays the recording `keys` in the runner, from its recorded play data
// (with `args`), and expects every present as the game showed it: `played`.
inline SimResult expect_runner_replays(const std::string& keys,
                                       const std::vector<std::string>& played,
                                       const std::vector<std::string>& args = {}) {
    SimRun run;
    run.script = keys;
    run.args = {"--recorded-play-data"};
    run.args.insert(run.args.end(), args.begin(), args.end());
    const SimResult replay = run_sim_process(run, make_scratch_dir("replayed-in-runner"));
    EXPECT_EQ(replay.status, 0) << replay.stderr_text;
    EXPECT_EQ(trace_hashes(replay.trace), played);
    return replay;
}

// Whether `text` is exactly one line that starts with `start`.
inline bool one_line_starting(const std::string& text, const std::string& start) {
    return text.rfind(start, 0) == 0 && std::count(text.begin(), text.end(), '\n') == 1;
}
