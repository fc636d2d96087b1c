#include "platform/play_data.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/file_io.h"

PlayDataRecord PlayData;

namespace {

SaveFault injected_fault = SaveFault::None;
// Set when the file exists but could not be read: writing it would destroy
// a best score and rewards we never saw.
bool saving_off = false;
bool failure_told = false;
const PlayDataRecord* replayed_start = nullptr;
bool saves_on = true;

// Says once per run why the play data is not kept; injected faults are the
// tests' and the look-ahead's own and stay quiet.
void tell(const char* what, int error) {
    if (failure_told || injected_fault != SaveFault::None) return;
    failure_told = true;
    if (error != 0) {
        std::fprintf(stderr, "%s: %s %s (%s); playing on without saving\n", program_short_name(),
                     PLAY_DATA_FILE, what, std::strerror(error));
    } else {
        std::fprintf(stderr, "%s: %s %s; playing on without saving\n", program_short_name(),
                     PLAY_DATA_FILE, what);
    }
}

void turn_saving_off(const char* what, int error) {
    saving_off = true;
    tell(what, error);
}

// A file that exists and is not ours to replace: no regular file, or one
// that the player made read-only.
bool target_refused() {
    switch (replace_target(PLAY_DATA_FILE)) {
        case ReplaceTarget::NotRegular:
            tell("is not a regular file", 0);
            return true;
        case ReplaceTarget::ReadOnly:
            tell("is write-protected", 0);
            return true;
        default:
            return false;
    }
}

}  // namespace

int load_play_data() {
    if (replayed_start) {
        PlayData = *replayed_start;
        return 0;
    }
    bool not_regular = false;
    long long size = 0;
    std::FILE* f = open_regular_file(PLAY_DATA_FILE, &not_regular, &size);
    if (!f) {
        if (not_regular) {
            turn_saving_off("is not a regular file", 0);
        } else if (errno != ENOENT) {
            turn_saving_off("cannot be read", errno);
        }
        return 1;
    }
    if (!read_play_data(f)) turn_saving_off("cannot be read", EIO);
    std::fclose(f);
    return 0;
}

bool read_play_data(std::FILE* stream) {
    // A short file fills the start of the record; a long one is cut at 72.
    PlayDataRecord record = {};
    const size_t got = std::fread(&record, 1, sizeof record, stream);
    (void)got;
    if (std::ferror(stream)) return false;
    PlayData = record;
    return true;
}

int save_play_data() {
    return save_play_record(PlayData);
}

namespace {

// The stored record merged into `record`, read again under the save's lock.
// A missing file has nothing to add; false with errno set when the file
// exists and cannot be read.
bool merge_stored_record(PlayDataRecord* record) {
    // Read without stdio: a save made while the game runs allocates nothing.
    PlayDataRecord stored = {};
    size_t got = 0;
    bool not_regular = false;
    if (!read_regular_file(PLAY_DATA_FILE, &stored, sizeof stored, &got, &not_regular))
        return !not_regular && errno == ENOENT;
    merge_play_records(record, stored);
    return true;
}

}  // namespace

// The record goes to a temporary file beside the real one, reaches the disk,
// and only then replaces "PlayData.dat", so a crash, a full disk or another
// game saving at the same time never leaves a broken file behind. The lock
// is held from reading the stored record to the rename, so two games saving
// at once merge in turn.
int save_play_record(const PlayDataRecord& record) {
    if (!saves_on) return 0;
    if (saving_off || target_refused()) return 1;
    ReplacedFile file;
    if (!begin_replace(&file, PLAY_DATA_FILE, false)) {
        tell("cannot be saved", errno);
        return 1;
    }
    FileLock lock;
    take_file_lock(&lock, PLAY_DATA_FILE);
    PlayDataRecord merged = record;
    if (!merge_stored_record(&merged)) {
        const int error = errno;
        abandon_replace(&file);
        release_file_lock(&lock);
        turn_saving_off("cannot be read", error);
        return 1;
    }
    if (!write_replacement(&file, &merged, sizeof merged)) {
        tell("cannot be saved", errno);
        abandon_replace(&file);
        release_file_lock(&lock);
        return 1;
    }
    const bool saved = finish_replace(&file, true);
    const int error = errno;
    release_file_lock(&lock);
    if (!saved) {
        tell("cannot be saved", error);
        return 1;
    }
    return 0;
}

void merge_play_records(PlayDataRecord* record, const PlayDataRecord& stored) {
    const double best = stored.best_score;
    if (!std::isnan(best) && (std::isnan(record->best_score) || best > record->best_score))
        record->best_score = best;
    for (int k = 0; k < REWARD_COUNT; ++k)
        if (stored.rewards[k] == 1) record->rewards[k] = 1;
}

void raise_best_score(PlayDataRecord* record, int32_t score) {
    const double best = record->best_score;
    if (std::isnan(best) || best < static_cast<double>(score)) record->best_score = score;
}

int best_score_for_display() {
    const double best = PlayData.best_score;
    if (std::isnan(best)) return 0;
    if (best >= 1000.0) return 1000;
    if (best <= -1.0) return -1;
    return static_cast<int>(best);
}

static_assert(static_cast<int>(SaveFault::SyncFolder) == static_cast<int>(FileFault::SyncFolder),
              "a save fault is the file fault of the same name");

void use_play_data_start(const PlayDataRecord* start) {
    replayed_start = start;
}

void set_play_data_saves(bool on) {
    saves_on = on;
}

void inject_save_fault(SaveFault fault) {
    injected_fault = fault;
    inject_file_fault(static_cast<FileFault>(fault));
}

void reset_play_data_file() {
    saving_off = false;
    failure_told = false;
}
