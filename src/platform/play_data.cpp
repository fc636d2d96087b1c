#include "platform/play_data.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/file_io.h"

PlayDataRecord PlayData;

namespace {

SaveFault injected_fault = SaveFault::None;
const PlayDataRecord* replayed_start = nullptr;
bool saves_on = true;

constexpr const char* TEMPORARY_FILE = "PlayData.dat.tmp";

bool write_all(int fd, const void* data, size_t size) {
    if (injected_fault == SaveFault::Write) return false;
    return write_fully(fd, data, size);
}

}  // namespace

int load_play_data() {
    if (replayed_start) {
        PlayData = *replayed_start;
        return 0;
    }
    std::FILE* f = std::fopen(PLAY_DATA_FILE, "rb");
    if (!f) return 1;
    read_play_data(f);
    std::fclose(f);
    return 0;
}

void read_play_data(std::FILE* stream) {
    std::memset(&PlayData, 0, sizeof PlayData);
    // A short file fills the start of the record; a long one is cut at 72.
    // A directory opens but reads nothing, which leaves the record zero.
    const size_t got = std::fread(&PlayData, 1, sizeof PlayData, stream);
    (void)got;
}

// The record goes to a temporary file beside the real one, reaches the disk,
// and only then replaces "PlayData.dat", so a crash or a full disk never
// leaves a truncated file behind.
int save_play_data() {
    if (!saves_on) return 0;
    const int fd = injected_fault == SaveFault::Open
                       ? -1
                       : ::open(TEMPORARY_FILE, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return 1;
    bool ok = write_all(fd, &PlayData, sizeof PlayData);
    if (ok && (injected_fault == SaveFault::Sync || ::fsync(fd) != 0)) ok = false;
    if (::close(fd) != 0) ok = false;
    if (ok &&
        (injected_fault == SaveFault::Rename || std::rename(TEMPORARY_FILE, PLAY_DATA_FILE) != 0))
        ok = false;
    if (!ok) {
        ::unlink(TEMPORARY_FILE);
        return 1;
    }
    return 0;
}

int best_score_for_display() {
    const double best = PlayData.best_score;
    if (std::isnan(best)) return 0;
    if (best >= 1000.0) return 1000;
    if (best <= -1.0) return -1;
    return static_cast<int>(best);
}

void use_play_data_start(const PlayDataRecord* start) {
    replayed_start = start;
}

void set_play_data_saves(bool on) {
    saves_on = on;
}

void inject_save_fault(SaveFault fault) {
    injected_fault = fault;
}
