// The game started from a terminal that is then closed (SIGHUP) shuts down
// as on SIGTERM: the normal way, with status 0.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/sim_process.h"

namespace {

TEST(GameProgram, EndsNormallyWhenItsTerminalCloses) {
    const std::string dir = make_scratch_dir("sdl_host_hangup");
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.c_str()) != 0) _exit(120);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execl(ZARVOX_GAME_PATH, "zarvox", static_cast<char*>(nullptr));
        _exit(121);
    }
    // Once the play data exists, start-up is over and the title runs.
    for (int waited = 0; waited < 10000 && read_file_bytes(dir + "/PlayData.dat").size() != 72;
         waited += 10)
        usleep(10000);
    usleep(200000);
    kill(pid, SIGHUP);
    int status = 0;
    bool ended = false;
    for (int waited = 0; waited < 10000 && !ended; waited += 10) {
        ended = waitpid(pid, &status, WNOHANG) == pid;
        if (!ended) usleep(10000);
    }
    if (!ended) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    ASSERT_TRUE(ended);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
