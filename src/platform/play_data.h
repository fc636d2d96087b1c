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

// True when the file was opened and read, false when it did not open.
bool load_play_data();
// The reading step of load_play_data on an open stream: the record is
// cleared, then filled with up to 72 bytes, whatever the stream holds.
void read_play_data(std::FILE* stream);
// True when the file was written, false when it could not be.
bool save_play_data();

// The best score as the title screen shows it: truncated toward zero, with
// values that do not fit (NaN, infinities, huge) clamped so the conversion
// is always defined.
int best_score_for_display();

// Test hook: make the n-th step of the next saves fail (0 turns it off).
enum class SaveFault { None, Open, Write, Sync, Rename };
void inject_save_fault(SaveFault fault);
