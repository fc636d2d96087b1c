// The 72-byte play record and its file "PlayData.dat" in the current directory.
#pragma once

#include <cstdint>
#include <cstdio>

constexpr int REWARD_COUNT = 10;

struct PlayDataRecord {
    double best_score;
    int32_t unused_a;
    int32_t rewards[REWARD_COUNT];
    int32_t unused_b[5];
};
static_assert(sizeof(PlayDataRecord) == 72, "the play record is 72 bytes");

extern PlayDataRecord PlayData;

constexpr const char* PLAY_DATA_FILE = "PlayData.dat";

// 0 when the file was opened and read, 1 when it did not open.
int load_play_data();
// The reading step of load_play_data on an open stream: the record is
// cleared, then filled with up to 72 bytes, whatever the stream holds.
void read_play_data(std::FILE* stream);
// 0 when the file was written, 1 when it could not be.
int save_play_data();

// The best score as the title screen shows it: truncated toward zero, with
// values that do not fit (NaN, infinities, huge) clamped so the conversion
// is always defined.
int best_score_for_display();

// Replaying a recorded game: loads return `start` instead of reading the
// file (nullptr reads it again), and with saves off a save writes nothing
// and reports success, so a replay leaves the player's file as it was.
void use_play_data_start(const PlayDataRecord* start);
void set_play_data_saves(bool on);

// Test hook: make the n-th step of the next saves fail (0 turns it off).
enum class SaveFault { None, Open, Write, Sync, Rename };
void inject_save_fault(SaveFault fault);
