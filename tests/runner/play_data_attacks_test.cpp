// "PlayData.dat" under attack, through the real program: files the player
// cannot read or may not write, pipes, links and planted temporary files.
// The game never hangs, never destroys a record it could not read, and
// never writes through a name it did not create.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "support/sim_process.h"

namespace {

namespace fs = std::filesystem;

// Whether file permissions can be put to the test: as a user other than
// root, or as root able to run the runner as `nobody` (whose way to the
// build tree may be barred).
bool permissions_hold() {
    static const bool hold = [] {
        const SimRun run{.args = {"--frames", "1"}, .trace = false, .as_nobody = true};
        return geteuid() != 0 || run_sim_process(run, make_scratch_dir("nobody")).status == 0;
    }();
    return hold;
}

int play_data_lines(const std::string& text) {
    int lines = 0;
    for (size_t at = 0; (at = text.find("PlayData.dat", at)) != std::string::npos; ++at) ++lines;
    return lines;
}

using Step = std::function<void(const std::string& dir)>;

struct Attack {
    const char* name;
    bool as_nobody;   // run as `nobody` when we are root, so permissions hold
    bool needs_root;  // plants a file of another user
    Step plant;
    bool saves;  // the title's best of 7 reaches the record; else one line says why not
    Step check;  // what else must hold afterwards
};

void plant_record(const std::string& path, double best, int reward, int mode) {
    write_file_bytes(path, play_record(best, {reward}));
    chmod(path.c_str(), static_cast<mode_t>(mode));
}

void expect_kept(const std::string& dir, double best, fs::perms perms) {
    const std::string path = dir + "/PlayData.dat";
    EXPECT_EQ(fs::status(path).permissions(), perms);
    chmod(path.c_str(), 0644);
    EXPECT_EQ(read_file_bytes(path), play_record(best, {3}));
    EXPECT_EQ(files_in(dir), std::vector<std::string>{"PlayData.dat"});
}

void plant_victim(const std::string& dir, bool hard) {
    write_file_bytes(dir + "/victim.txt", "not a save\n");
    if (hard)
        fs::create_hard_link(dir + "/victim.txt", dir + "/PlayData.dat.tmp");
    else
        fs::create_symlink(dir + "/victim.txt", dir + "/PlayData.dat.tmp");
}

const Attack ATTACKS[] = {
    {"unreadable", true, false, [](auto& d) { plant_record(d + "/PlayData.dat", 55, 3, 0); }, false,
     [](auto& d) { expect_kept(d, 55, fs::perms::none); }},
    {"read-only", true, false, [](auto& d) { plant_record(d + "/PlayData.dat", 3, 3, 0444); },
     false, [](auto& d) { expect_kept(d, 3, fs::perms(0444)); }},
    // Even root, who may write anything, respects it.
    {"read-only-root", false, false, [](auto& d) { plant_record(d + "/PlayData.dat", 3, 3, 0444); },
     false, [](auto& d) { expect_kept(d, 3, fs::perms(0444)); }},
    {"fifo", false, false, [](auto& d) { mkfifo((d + "/PlayData.dat").c_str(), 0666); }, false,
     [](auto& d) { EXPECT_TRUE(fs::is_fifo(d + "/PlayData.dat")); }},
    // A pipe under the old temporary name is simply not ours.
    {"fifo-tmp", false, false, [](auto& d) { mkfifo((d + "/PlayData.dat.tmp").c_str(), 0666); },
     true, [](auto& d) { EXPECT_TRUE(fs::is_fifo(d + "/PlayData.dat.tmp")); }},
    // A link stays a link, and its target is replaced, keeping its mode and
    // the reward read through it.
    {"link", false, false,
     [](auto& d) {
         fs::create_directory(d + "/synced");
         plant_record(d + "/synced/real.dat", 2, 6, 0640);
         fs::create_symlink("synced/real.dat", d + "/PlayData.dat");
     },
     true,
     [](auto& d) {
         EXPECT_TRUE(fs::is_symlink(d + "/PlayData.dat"));
         const std::string saved = read_file_bytes(d + "/synced/real.dat");
         ASSERT_EQ(saved.size(), 72u);
         EXPECT_EQ(saved[12 + 4 * 6], 1);
         EXPECT_EQ(fs::status(d + "/synced/real.dat").permissions(), fs::perms(0640));
         EXPECT_EQ(files_in(d + "/synced"), std::vector<std::string>{"real.dat"});
     }},
    // A link to a file not there yet creates it.
    {"dangling-link", false, false,
     [](auto& d) {
         fs::create_directory(d + "/synced");
         fs::create_symlink("synced/real.dat", d + "/PlayData.dat");
     },
     true, [](auto& d) { EXPECT_TRUE(fs::is_symlink(d + "/PlayData.dat")); }},
    {"planted-soft", false, false, [](auto& d) { plant_victim(d, false); }, true,
     [](auto& d) { EXPECT_EQ(read_file_bytes(d + "/victim.txt"), "not a save\n"); }},
    {"planted-hard", false, false, [](auto& d) { plant_victim(d, true); }, true,
     [](auto& d) { EXPECT_EQ(read_file_bytes(d + "/victim.txt"), "not a save\n"); }},
    // A stale temporary file of another user blocks nothing.
    {"stale", true, true, [](auto& d) { write_file_bytes(d + "/PlayData.dat.tmp", "root's\n"); },
     true, [](auto& d) { EXPECT_EQ(read_file_bytes(d + "/PlayData.dat.tmp"), "root's\n"); }},
};

TEST(PlayDataAttacks, TheGameNeitherHangsNorDestroysNorWritesThroughAStrangeName) {
    for (const Attack& attack : ATTACKS) {
        SCOPED_TRACE(attack.name);
        if ((attack.needs_root && geteuid() != 0) || (attack.as_nobody && !permissions_hold())) {
            std::printf("%s: skipped, root cannot run the runner as nobody here\n", attack.name);
            continue;
        }
        const std::string dir = make_scratch_dir(attack.name);
        chmod(dir.c_str(), 0777);
        attack.plant(dir);
        // The title raises the best to 7, and saves.
        const SimRun run{.args = {"--frames", "20", "--score", "7"},
                         .trace = false,
                         .as_nobody = attack.as_nobody,
                         .time_limit = 10};
        const SimResult r = run_sim_process(run, dir);
        EXPECT_EQ(r.status, 0) << "hung or failed: " << r.stderr_text;
        EXPECT_EQ(play_data_lines(r.stderr_text), attack.saves ? 0 : 1) << r.stderr_text;
        if (attack.saves) {
            const std::string saved = read_file_bytes(dir + "/PlayData.dat");
            EXPECT_EQ(saved.substr(0, 8), play_record(7).substr(0, 8)) << "the best score";
        } else {
            EXPECT_NE(r.stderr_text.find("without saving"), std::string::npos) << r.stderr_text;
        }
        attack.check(dir);
    }
}

}  // namespace
