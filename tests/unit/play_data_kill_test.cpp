// A process killed while it saves never leaves a broken "PlayData.dat": the
// file is always 72 bytes and holds either the old record or the new one.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <random>

#include "platform/play_data.h"
#include "support/sim_process.h"

namespace {

std::string record_with_best(double best) {
    PlayDataRecord r{};
    r.best_score = best;
    r.rewards[4] = 1;
    return std::string(reinterpret_cast<const char*>(&r), sizeof r);
}

TEST(PlayDataKill, KilledMidSaveLeavesOldOrNewWhole) {
    const std::filesystem::path old_dir = std::filesystem::current_path();
    const std::string dir = make_scratch_dir("kill");
    std::filesystem::current_path(dir);
    const std::string first = record_with_best(1), second = record_with_best(2);
    write_file_bytes(PLAY_DATA_FILE, first);

    std::mt19937 random(12345);
    int kills = 0;
    for (int round = 0; round < 1000; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Save the two records in turn until killed.
            for (int i = 0;; ++i) {
                std::memcpy(&PlayData, (i % 2 ? first : second).data(), sizeof PlayData);
                save_play_data();
            }
        }
        usleep(random() % 3000);
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        kills += WIFSIGNALED(status);
        const std::string now = read_file_bytes(PLAY_DATA_FILE);
        ASSERT_EQ(now.size(), 72u) << "round " << round;
        ASSERT_TRUE(now == first || now == second) << "round " << round;
    }
    EXPECT_EQ(kills, 1000);
    std::filesystem::current_path(old_dir);
}

}  // namespace
