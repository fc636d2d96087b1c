// Recordings of a played game: the script lines they add, how the runner
// feeds them, and that a game recorded on one host replays on the runner
// present for present.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "hosts/headless/headless_host.h"
#include "platform/play_data.h"
#include "replay/build_identity.h"
#include "replay/key_script.h"
#include "replay/recorder.h"
#include "replay/script_feed.h"
#include "services/game_state.h"
#include "services/keys.h"
#include "services/message_pump.h"
#include "shell/shell.h"
#include "support/sim_process.h"

namespace {

KeyScript parse(const std::string& text) {
    KeyScript script;
    std::string error;
    EXPECT_TRUE(parse_key_script(text.data(), text.size(), &script, &error)) << error;
    return script;
}

bool same_message(const ScriptedMessage& a, const ScriptedMessage& b) {
    return a.frame == b.frame && a.after_present == b.after_present &&
           a.message.id == b.message.id && a.message.wparam == b.message.wparam;
}

// Every kind of message line reads back as written; the time and play-data
// lines round-trip in the recorded game below.
TEST(Recording, ScriptLinesRoundTripThroughTheParser) {
    const ScriptedMessage lines[] = {
        {3, {WM_KEYDOWN, VK_SPACE, 0}, false}, {3, {WM_KEYUP, VK_SPACE, 0}, true},
        {4, {WM_KEYDOWN, 0x57, 0}, false},     {5, {WM_COMMAND, MENU_COMMAND_SALIR, 0}, true},
        {6, {WM_CLOSE, 0, 0}, false},          {7, {WM_QUIT, 0, 0}, true},
    };
    std::string text = std::string(KEY_SCRIPT_HEADER) + "\n";
    char line[256];
    for (const ScriptedMessage& m : lines) {
        ASSERT_GT(format_script_line(m, line, sizeof line), 0);
        text += line;
    }
    const KeyScript script = parse(text);
    ASSERT_EQ(script.messages.size(), std::size(lines));
    for (size_t i = 0; i < std::size(lines); ++i)
        EXPECT_TRUE(same_message(script.messages[i], lines[i])) << i;

    // Commands other than "Salir" change nothing and have no line.
    EXPECT_EQ(format_script_line({1, {WM_COMMAND, 7, 0}}, line, sizeof line), 0);
    // Nothing is written past a buffer too small for the line.
    EXPECT_EQ(format_script_line(lines[0], line, 5), 0);
}

TEST(Recording, AFramesMessagesInsideItsPresentComeBeforeThoseAfterIt) {
    const KeyScript script = parse("4 after press SPACE\n5 after down LEFT\n5 down RIGHT\n");
    ASSERT_EQ(script.messages.size(), 4u);
    EXPECT_TRUE(same_message(script.messages[0], {4, {WM_KEYDOWN, VK_SPACE, 0}, true}));
    EXPECT_TRUE(same_message(script.messages[1], {5, {WM_KEYUP, VK_SPACE, 0}, false}));
    EXPECT_TRUE(same_message(script.messages[2], {5, {WM_KEYDOWN, VK_RIGHT, 0}, false}));
    EXPECT_TRUE(same_message(script.messages[3], {5, {WM_KEYDOWN, VK_LEFT, 0}, true}));
}

// The runner's failure table holds the refusals of bad lines.
TEST(Recording, TheFormatLineAndADamagedPlayDataLineAreCommentsLaterOn) {
    EXPECT_EQ(parse("3 down SPACE\n# zarvox keys 2\n").messages.size(), 1u);
    EXPECT_TRUE(parse("# play data 00ff\n").play_data.empty());
}

TEST(Recording, ReadsOfTheLocalTimeTakeTheirFramesLinesInOrder) {
    const ScriptedTime times[] = {{2, 100}, {2, 200}, {5, 500}, {7, 700}, {8, 800}};
    ScriptFeed feed;
    feed.times = times;
    feed.time_count = 5;
    feed.ms = 40;
    EXPECT_EQ(feed_local_ms(&feed, 1), 40);  // no line yet: the default
    EXPECT_EQ(feed_local_ms(&feed, 2), 100);
    EXPECT_EQ(feed_local_ms(&feed, 2), 200);
    EXPECT_EQ(feed_local_ms(&feed, 2), 200);  // more reads than lines: the last holds
    EXPECT_EQ(feed_local_ms(&feed, 4), 200);
    // Lines that no read took: the latest of them holds from then on.
    EXPECT_EQ(feed_local_ms(&feed, 9), 800);
}

// Escape given inside present N is seen by frame N's quit check; given in
// the pump that ends frame N, by frame N + 1's.
TEST(Recording, EscapeAfterAPresentEndsTheGameOneFrameLater) {
    for (const char* where : {"", "after "}) {
        SimRun run;
        run.script = std::string("30 ") + where + "down ESCAPE\n";
        run.trace = false;
        const SimResult result = run_sim_process(run, make_scratch_dir("recording-escape"));
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.end["frames"].as_int(), *where ? 31 : 30) << where;
    }
}

// A recording starts with the format line and the build that made it.
// Messages the game posts to itself are not recorded, since the game posts
// them again on replay; taking one back must keep the others still queued.
TEST(Recording, NamesItsBuildAndLeavesOutEveryMessageTheGamePostedItself) {
    const std::string dir = make_scratch_dir("recording-posted");
    const std::string path = dir + "/keys.txt";
    install_headless_host(HeadlessConfig{});
    RecorderFiles files;
    files.keys = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    install_recorder(files);
    const Message posted[] = {{WM_CLOSE, 0, 0}, {WM_KEYDOWN, VK_SPACE, 0}, {WM_QUIT, 0, 0}};
    for (const Message& m : posted) host().post_message(m);
    Message taken;
    while (host().take_message(&taken)) {
    }
    EXPECT_TRUE(remove_recorder());
    ::close(files.keys);
    EXPECT_EQ(read_file_bytes(path),
              std::string(KEY_SCRIPT_HEADER) + "\n# zarvox build " + build_identity() + "\n");
}

// The game is played on the headless host with the recorder around it, as
// the window's game is; the recording then replays on the runner.
TEST(Recording, AGameRecordedAroundAHostReplaysOnTheRunnerPresentForPresent) {
    const std::string dir = make_scratch_dir("recording-around-host");
    ASSERT_EQ(::chdir(dir.c_str()), 0);
    PlayData = {};
    PlayData.rewards[2] = 1;
    PlayData.best_score = 61.5;  // stored as bytes whose hex needs the letters
    ASSERT_EQ(save_play_data(), 0);

    KeyScript played = parse(
        "2 press SPACE\n40 after down SPACE\n41 up SPACE\n150 down RIGHT\n190 up RIGHT\n"
        "200 press SPACE\n260 after press SPACE\n330 press X\n400 menu\n");
    const ScriptedTime times[] = {{2, 370}, {77, 990}};
    HeadlessConfig config;
    config.script = played.messages.data();
    config.script_length = static_cast<int>(played.messages.size());
    config.times = times;
    config.time_count = 2;
    install_headless_host(config);
    RecorderFiles files;
    files.keys = ::open("keys.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    files.hashes = ::open("hashes.jsonl", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    install_recorder(files);
    mode_started_hook = [](int mode) {
        if (mode == MODE_TITLE) record_play_data();
    };
    reset_message_loop();
    KeyState = 0;
    EXPECT_EQ(game_main(), 1);
    mode_started_hook = nullptr;
    EXPECT_TRUE(remove_recorder());
    ::close(files.keys);
    ::close(files.hashes);
    const std::string played_data = read_file_bytes("PlayData.dat");

    // The recording holds the same messages, the posted close of "Salir"
    // aside, and the times as read.
    const std::string text = read_file_bytes("keys.txt");
    EXPECT_EQ(text.rfind(std::string(KEY_SCRIPT_HEADER) + "\n", 0), 0u);
    const KeyScript recorded = parse(text);
    ASSERT_EQ(recorded.messages.size(), played.messages.size());
    for (size_t i = 0; i < played.messages.size(); ++i)
        EXPECT_TRUE(same_message(recorded.messages[i], played.messages[i])) << i;
    ASSERT_EQ(recorded.times.size(), 2u);
    EXPECT_EQ(recorded.times[0].frame, 2);
    EXPECT_EQ(recorded.times[0].ms, 370);
    EXPECT_GE(recorded.times[1].frame, 77);
    EXPECT_EQ(recorded.times[1].ms, 990);

    // A fresh runner, with no play data of its own, replays it exactly.
    SimRun run;
    run.script = text;
    run.args = {"--recorded-play-data"};
    const SimResult replay = run_sim_process(run, make_scratch_dir("recording-replayed"));
    ASSERT_EQ(replay.status, 0) << replay.stderr_text;
    const std::vector<Json> hashes = parse_json_lines(read_file_bytes(dir + "/hashes.jsonl"));
    ASSERT_EQ(replay.trace.size(), hashes.size());
    for (size_t i = 0; i < hashes.size(); ++i)
        ASSERT_EQ(replay.trace[i]["hash"].text, hashes[i]["hash"].text) << "present " << i + 1;
    // It ends with the record the game saved, kept in memory: a replay
    // never writes play data.
    EXPECT_TRUE(trace_shows_record(replay.trace.back(), played_data));
    EXPECT_FALSE(std::filesystem::exists(replay.dir + "/PlayData.dat"));
    bool reached_stage = false;
    for (const Json& r : replay.trace) reached_stage |= r["mode"].as_int() == MODE_STAGE_BATTLE;
    EXPECT_TRUE(reached_stage);
}

}  // namespace
