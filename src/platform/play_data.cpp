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

constexpr const char* TEMPORARY_FILE = "PlayData.dat.tmp";

bool write_all(int fd, const void* data, size_t size) {
    if (injected_fault == SaveFault::Write) return false;
    return write_fully(fd, data, size);
}

}  // namespace

bool load_play_data() {
    std::FILE* f = std::fopen(PLAY_DATA_FILE, "rb");
    if (!f) return false;
    read_play_data(f);
    std::fclose(f);
    return true;
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
bool save_play_data() {
    const int fd = injected_fault == SaveFault::Open
                       ? -1
                       : ::open(TEMPORARY_FILE, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = write_all(fd, &PlayData, sizeof PlayData);
    if (ok && (injected_fault == SaveFault::Sync || ::fsync(fd) != 0)) ok = false;
    if (::close(fd) != 0) ok = false;
    if (ok &&
        (injected_fault == SaveFault::Rename || std::rename(TEMPORARY_FILE, PLAY_DATA_FILE) != 0))
        ok = false;
    if (!ok) {
        ::unlink(TEMPORARY_FILE);
        return false;
    }
    return true;
}

int best_score_for_display() {
    const double best = PlayData.best_score;
    if (std::isnan(best)) return 0;
    if (best >= 1000.0) return 1000;
    if (best <= -1.0) return -1;
    return static_cast<int>(best);
}

void inject_save_fault(SaveFault fault) {
    injected_fault = fault;
}
