// "PlayData.dat" under attack, through the real program: files the player
// cannot read or may not write, pipes, links and planted temporary files.
// The game never hangs, never destroys a record it could not read, and
// never writes through a name it did not create.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/play_data.h"
#include "support/sim_process.h"

namespace {

namespace fs = std::filesystem;

constexpr uid_t NOBODY = 65534;

struct GameRun {
    int status = -1;  // -1: killed after the time limit
    std::string stderr_text;
};

// Runs zarvox-sim in `dir` for a few frames, as `nobody` when we are root
// (so that file permissions hold), and kills it if it has not ended within
// ten seconds.
GameRun run_game(const std::string& dir, std::vector<std::string> args, bool as_nobody) {
    const std::string err = dir + "/../" + fs::path(dir).filename().string() + ".stderr";
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.c_str()) != 0 || !freopen(err.c_str(), "w", stderr)) _exit(120);
        if (as_nobody && geteuid() == 0) {
            if (setgroups(0, nullptr) != 0 || setgid(NOBODY) != 0 || setuid(NOBODY) != 0)
                _exit(121);
        }
        std::vector<const char*> argv = {ZARVOX_SIM_PATH};
        for (const std::string& a : args) argv.push_back(a.c_str());
        argv.push_back(nullptr);
        execv(ZARVOX_SIM_PATH, const_cast<char* const*>(argv.data()));
        _exit(123);
    }
    GameRun run;
    int status = 0;
    for (int waited = 0; waited < 10000; waited += 10) {
        if (waitpid(pid, &status, WNOHANG) == pid) {
            run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            break;
        }
        usleep(10000);
    }
    if (run.status == -1) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    run.stderr_text = read_file_bytes(err);
    return run;
}

// Whether file permissions can be put to the test: as a user other than
// root, or as root able to run the runner as `nobody` (whose way to the
// build tree may be barred).
bool permissions_hold() {
    if (geteuid() != 0) return true;
    static const bool nobody_can_run = [] {
        const pid_t pid = fork();
        if (pid == 0) {
            const bool dropped =
                setgroups(0, nullptr) == 0 && setgid(NOBODY) == 0 && setuid(NOBODY) == 0;
            _exit(dropped && access(ZARVOX_SIM_PATH, X_OK) == 0 ? 0 : 1);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }();
    return nobody_can_run;
}

// A title start: the title raises the best score to 7 and saves.
const std::vector<std::string> TITLE_SAVES = {"--frames", "20", "--score", "7"};

std::string record(double best, int reward) {
    PlayDataRecord r{};
    r.best_score = best;
    r.rewards[reward] = 1;
    return std::string(reinterpret_cast<const char*>(&r), sizeof r);
}

double best_in(const std::string& bytes) {
    double best = 0;
    if (bytes.size() >= 8) std::memcpy(&best, bytes.data(), 8);
    return best;
}

// Lines about the play data before the runner's end line.
int play_data_lines(const std::string& text) {
    int lines = 0;
    for (size_t at = 0; (at = text.find("PlayData.dat", at)) != std::string::npos; ++at) ++lines;
    return lines;
}

std::vector<std::string> names_in(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// A scratch folder that `nobody` may write in.
std::string open_dir(const std::string& name) {
    const std::string dir = make_scratch_dir(name);
    chmod(dir.c_str(), 0777);
    return dir;
}

TEST(PlayDataAttacks, AFileThatCannotBeReadIsNeverOverwritten) {
    if (!permissions_hold()) GTEST_SKIP() << "root cannot run the runner as nobody here";
    const std::string dir = open_dir("unreadable");
    const std::string path = dir + "/PlayData.dat";
    const std::string kept = record(55, 3);
    write_file_bytes(path, kept);
    chmod(path.c_str(), 0);
    const GameRun run = run_game(dir, TITLE_SAVES, true);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(play_data_lines(run.stderr_text), 1) << run.stderr_text;
    EXPECT_NE(run.stderr_text.find("without saving"), std::string::npos) << run.stderr_text;
    chmod(path.c_str(), 0644);
    EXPECT_EQ(read_file_bytes(path), kept);
    EXPECT_EQ(names_in(dir), std::vector<std::string>{"PlayData.dat"});
}

TEST(PlayDataAttacks, PipesUnderEitherNameNeverHangTheGame) {
    // A pipe as the play data: the game plays on without saving.
    std::string dir = open_dir("fifo");
    ASSERT_EQ(mkfifo((dir + "/PlayData.dat").c_str(), 0666), 0);
    GameRun run = run_game(dir, TITLE_SAVES, false);
    EXPECT_EQ(run.status, 0) << "hung or failed";
    EXPECT_EQ(play_data_lines(run.stderr_text), 1) << run.stderr_text;
    EXPECT_TRUE(fs::is_fifo(dir + "/PlayData.dat"));

    // A pipe under the old temporary name is simply not ours.
    dir = open_dir("fifo-tmp");
    ASSERT_EQ(mkfifo((dir + "/PlayData.dat.tmp").c_str(), 0666), 0);
    run = run_game(dir, TITLE_SAVES, false);
    EXPECT_EQ(run.status, 0) << "hung or failed";
    EXPECT_EQ(best_in(read_file_bytes(dir + "/PlayData.dat")), 7.0);
    EXPECT_TRUE(fs::is_fifo(dir + "/PlayData.dat.tmp"));
}

TEST(PlayDataAttacks, AWriteProtectedFileIsLeftAlone) {
    const std::string dir = open_dir("read-only");
    const std::string path = dir + "/PlayData.dat";
    const std::string kept = record(3, 1);
    write_file_bytes(path, kept);
    chmod(path.c_str(), 0444);
    // Even root, who may write anything, respects it.
    for (bool as_nobody : {true, false}) {
        if (as_nobody && !permissions_hold()) continue;
        const GameRun run = run_game(dir, TITLE_SAVES, as_nobody);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(play_data_lines(run.stderr_text), 1) << run.stderr_text;
        EXPECT_EQ(read_file_bytes(path), kept);
        EXPECT_EQ(fs::status(path).permissions(), fs::perms(0444));
        EXPECT_EQ(names_in(dir), std::vector<std::string>{"PlayData.dat"});
    }
}

TEST(PlayDataAttacks, ALinkStaysALinkAndItsTargetIsReplaced) {
    const std::string dir = make_scratch_dir("link");
    fs::create_directory(dir + "/synced");
    write_file_bytes(dir + "/synced/real.dat", record(2, 6));
    chmod((dir + "/synced/real.dat").c_str(), 0640);
    fs::create_symlink("synced/real.dat", dir + "/PlayData.dat");
    GameRun run = run_game(dir, TITLE_SAVES, false);
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(fs::is_symlink(dir + "/PlayData.dat"));
    const std::string saved = read_file_bytes(dir + "/synced/real.dat");
    ASSERT_EQ(saved.size(), 72u);
    EXPECT_EQ(best_in(saved), 7.0);
    EXPECT_EQ(saved[12 + 4 * 6], 1);  // the reward read through the link is kept
    EXPECT_EQ(fs::status(dir + "/synced/real.dat").permissions(), fs::perms(0640));
    EXPECT_EQ(names_in(dir + "/synced"), std::vector<std::string>{"real.dat"});

    // A link to a file not there yet creates it.
    fs::remove(dir + "/synced/real.dat");
    run = run_game(dir, TITLE_SAVES, false);
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(fs::is_symlink(dir + "/PlayData.dat"));
    EXPECT_EQ(read_file_bytes(dir + "/synced/real.dat").size(), 72u);
}

TEST(PlayDataAttacks, PlantedTemporaryFilesAreNeverWrittenThrough) {
    for (bool hard : {false, true}) {
        SCOPED_TRACE(hard ? "hard link" : "symbolic link");
        const std::string dir = make_scratch_dir(hard ? "planted-hard" : "planted-soft");
        const std::string victim = dir + "/victim.txt";
        write_file_bytes(victim, "not a save\n");
        if (hard)
            fs::create_hard_link(victim, dir + "/PlayData.dat.tmp");
        else
            fs::create_symlink(victim, dir + "/PlayData.dat.tmp");
        const GameRun run = run_game(dir, TITLE_SAVES, false);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(read_file_bytes(victim), "not a save\n");
        EXPECT_EQ(best_in(read_file_bytes(dir + "/PlayData.dat")), 7.0);
    }
}

TEST(PlayDataAttacks, AStaleTemporaryFileOfAnotherUserBlocksNothing) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to leave a file owned by another user";
    if (!permissions_hold()) GTEST_SKIP() << "root cannot run the runner as nobody here";
    const std::string dir = open_dir("stale");
    write_file_bytes(dir + "/PlayData.dat.tmp", "left by root\n");
    chmod((dir + "/PlayData.dat.tmp").c_str(), 0644);
    const GameRun run = run_game(dir, TITLE_SAVES, true);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(best_in(read_file_bytes(dir + "/PlayData.dat")), 7.0);
    EXPECT_EQ(read_file_bytes(dir + "/PlayData.dat.tmp"), "left by root\n");
}

}  // namespace
