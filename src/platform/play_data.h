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

// 0 when the file was opened and read, 1 when it did not open. Only a
// missing file may be created later: a file that exists but cannot be read
// (no permission, an I/O error, not a regular file) turns saving off for
// the run, so it is never overwritten, and standard error says so once.
int load_play_data();
// The reading step of load_play_data on an open stream: the record is
// cleared, then filled with up to 72 bytes, whatever the stream holds.
// False on a read error, and the record is left as it was.
bool read_play_data(std::FILE* stream);
// 0 when the file was written, 1 when it could not be. A write-protected
// file is left alone; the first failure of a run is told on standard error.
// What is stored only ever grows: under a lock that other games saving in
// the same folder take too, the stored record is read again and the save
// writes its merge with this one (see merge_play_records), so a second game
// never erases what the first one earned. A stored record that cannot be
// read then is left alone, and saving stops for the run.
int save_play_data();
// Saves `record` instead of PlayData.
int save_play_record(const PlayDataRecord& record);

// Merges the `stored` record into `record`: the higher best score (a score
// that is not a number never wins) and every reward either has earned (a
// flag of 1). The rest of `record` stays as it is.
void merge_play_records(PlayDataRecord* record, const PlayDataRecord& stored);

// Raises the record's best score to `score` when that is higher. A best
// score that is not a number (a damaged file) would never compare as
// beaten, so the score replaces it.
void raise_best_score(PlayDataRecord* record, int32_t score);

// The best score as the title screen shows it: truncated toward zero, with
// values that do not fit (NaN, infinities, huge) clamped so the conversion
// is always defined.
int best_score_for_display();

// Replaying a recorded game: loads return `start` instead of reading the
// file (nullptr reads it again), and with saves off a save writes nothing
// and reports success, so a replay leaves the player's file as it was.
void use_play_data_start(const PlayDataRecord* start);
void set_play_data_saves(bool on);

// Test hook: the named step of every later save fails, quietly (0 turns it
// off).
enum class SaveFault { None, Open, Write, Sync, Rename, SyncFolder };
void inject_save_fault(SaveFault fault);
// Test hook: forget what the run found out about the file (saving turned
// off, failure already told), as a new run would.
void reset_play_data_file();
