// The real game program: its exit status and its one line on standard
// error without a display, on a bad command line or an unwritable recording;
// that it runs and ends cleanly on a quit signal or a closed terminal, with
// or without a sound card; and what a killed game leaves of its recording.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "sdl/game_process.h"

namespace {

const std::string DUMMY_VIDEO = "SDL_VIDEODRIVER=dummy";
const std::string DUMMY_AUDIO = "SDL_AUDIODRIVER=dummy";

TEST(GameProgram, RunsAndEndsWithItsStatusAndAtMostOneLine) {
    // A signal of 0: the game ends by itself. The others are sent once it
    // has presented 30 frames; SIGHUP: the terminal it was started from has
    // closed.
    const struct {
        std::vector<std::string> env;
        std::vector<std::string> args;
        int signal;
        int status;
        const char* says;  // the start of its one line; empty: nothing
    } cases[] = {
        {{}, {}, 0, 1, "zarvox: cannot open a display: "},
        {{DUMMY_VIDEO, DUMMY_AUDIO}, {}, SIGTERM, 0, ""},
        {{DUMMY_VIDEO, DUMMY_AUDIO}, {}, SIGHUP, 0, ""},
        // Without a card the game says once that it plays silently.
        {{DUMMY_VIDEO, "SDL_AUDIODRIVER=no-such-driver"}, {}, SIGTERM, 0, "zarvox: "},
        // A recording that cannot be written is reported and the game goes on.
        {{DUMMY_VIDEO, DUMMY_AUDIO},
         {"--record", "/dev/full"},
         SIGTERM,
         1,
         "zarvox: cannot write the recording ("},
        {{DUMMY_VIDEO, DUMMY_AUDIO}, {"--record", "keys.txt"}, SIGKILL, 128 + SIGKILL, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("case " + std::to_string(&c - cases));
        const std::string dir = make_scratch_dir("runs");
        std::vector<std::string> args = c.args;
        if (c.signal != 0) args.insert(args.end(), {"--record-hashes", "hashes.jsonl"});
        const pid_t game = start_game(dir, args, c.env);
        if (c.signal != 0) {
            EXPECT_TRUE(wait_for_present(game, dir + "/hashes.jsonl", 30));
            kill(game, c.signal);
        }
        EXPECT_EQ(wait_for_exit(game), c.status);
        const std::string err = read_file_bytes(dir + "/stderr.txt");
        if (*c.says == '\0') {
            EXPECT_EQ(err, "");
        } else {
            EXPECT_TRUE(one_line_starting(err, c.says)) << err;
        }
        // Start-up ran: the play data was created.
        if (c.signal != 0) {
            EXPECT_EQ(read_file_bytes(dir + "/PlayData.dat").size(), 72u);
        }
        // A recording is written as the game goes: killed outright, the game
        // leaves one that the runner replays present for present.
        if (c.signal == SIGKILL) {
            const std::vector<std::string> played = recorded_hashes(dir + "/hashes.jsonl");
            expect_runner_replays(read_file_bytes(dir + "/keys.txt"), played,
                                  {"--frames", std::to_string(played.size())});
        }
    }
}

// Refusals come before any window opens: status 2, one line, and no file
// written. No output may overwrite the play data, the replayed recording or
// the other output, however it is spelled.
TEST(GameProgram, BadCommandLinesAreRefusedWithStatusTwo) {
    const std::string dir = make_scratch_dir("refused");
    const std::string data(72, '\x07');
    const std::string mine = "# zarvox keys 1\n2 down SPACE\n";
    write_file_bytes(dir + "/PlayData.dat", data);
    write_file_bytes(dir + "/mine.keys", mine);
    write_file_bytes(dir + "/version.txt", "# zarvox keys 7\n2 down SPACE\n");
    ASSERT_EQ(link((dir + "/mine.keys").c_str(), (dir + "/hard.keys").c_str()), 0);
    const std::vector<std::vector<std::string>> refused = {
        {"--replay", "version.txt"},
        {"--replay", "missing.txt"},
        {"--replay", "."},
        {"--record", "no-such-folder/keys.txt"},
        {"--record", "a.txt", "--replay", "mine.keys"},
        {"--record"},
        {"--no-such-option"},
        {"--record", "./PlayData.dat"},
        {"--replay", "mine.keys", "--record-hashes", "./hard.keys"},
        {"--record", "same.txt", "--record-hashes", "./same.txt"},
    };
    for (const auto& args : refused) {
        std::string shown;
        for (const std::string& a : args) shown += a + " ";
        SCOPED_TRACE(shown);
        EXPECT_EQ(wait_for_exit(start_game(dir, args, {})), 2);
        const std::string err = read_file_bytes(dir + "/stderr.txt");
        EXPECT_TRUE(one_line_starting(err, "zarvox: ")) << err;
        EXPECT_EQ(read_file_bytes(dir + "/PlayData.dat"), data);
        EXPECT_EQ(read_file_bytes(dir + "/mine.keys"), mine);
        EXPECT_FALSE(std::filesystem::exists(dir + "/same.txt"));
        EXPECT_FALSE(std::filesystem::exists(dir + "/a.txt"));
    }
}

}  // namespace
