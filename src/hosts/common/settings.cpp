#include "hosts/common/settings.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/file_io.h"

namespace {

constexpr size_t LARGEST_FILE = 1024;

bool left_alone = false;  // the file exists and could not be read
bool failure_told = false;

void tell(const char* path, const char* what, int error) {
    if (error != 0) {
        std::fprintf(stderr, "%s: %s %s (%s); using the default volume\n", program_short_name(),
                     path, what, std::strerror(error));
    } else {
        std::fprintf(stderr, "%s: %s %s; using the default volume\n", program_short_name(), path,
                     what);
    }
}

// A whole number from 0 to `high` filling [begin, end); false otherwise.
bool read_number(const char* begin, const char* end, int high, int* out) {
    if (begin == end || end - begin > 3) return false;
    int value = 0;
    for (const char* c = begin; c < end; ++c) {
        if (*c < '0' || *c > '9') return false;
        value = value * 10 + (*c - '0');
    }
    if (value > high) return false;
    *out = value;
    return true;
}

bool read_line(const char* begin, const char* end, PlayerSettings* s) {
    while (end > begin && (end[-1] == '\r' || end[-1] == ' ' || end[-1] == '\t')) --end;
    while (begin < end && (*begin == ' ' || *begin == '\t')) ++begin;
    if (begin == end || *begin == '#') return true;
    const char* space = static_cast<const char*>(std::memchr(begin, ' ', end - begin));
    if (!space) return false;
    const size_t name = space - begin;
    if (name == 6 && std::memcmp(begin, "volume", 6) == 0)
        return read_number(space + 1, end, VOLUME_STEPS, &s->volume);
    int muted = 0;
    if (name == 5 && std::memcmp(begin, "muted", 5) == 0 &&
        read_number(space + 1, end, 1, &muted)) {
        s->muted = muted == 1;
        return true;
    }
    return false;
}

}  // namespace

SettingsRead parse_settings(const char* text, size_t size, PlayerSettings* out) {
    PlayerSettings read;
    bool ok = size <= LARGEST_FILE && std::memchr(text, '\0', size) == nullptr;
    for (size_t at = 0; ok && at < size;) {
        const char* line = text + at;
        const char* newline = static_cast<const char*>(std::memchr(line, '\n', size - at));
        const char* end = newline ? newline : text + size;
        ok = read_line(line, end, &read);
        at = static_cast<size_t>(end - text) + 1;
    }
    *out = ok ? read : PlayerSettings{};
    return ok ? SettingsRead::Read : SettingsRead::Damaged;
}

SettingsRead load_settings(const char* path, PlayerSettings* out) {
    *out = PlayerSettings{};
    left_alone = false;
    // Not blocking: a pipe under the name must not hang the game.
    bool not_regular = false;
    long long file_size = 0;
    std::FILE* in = open_regular_file(path, &not_regular, &file_size);
    if (!in) {
        if (!not_regular && errno == ENOENT) return SettingsRead::Missing;
        left_alone = true;
        if (not_regular) {
            tell(path, "is not a regular file", 0);
        } else {
            tell(path, "cannot be read", errno);
        }
        return SettingsRead::Unreadable;
    }
    char text[LARGEST_FILE + 1];
    const size_t size = std::fread(text, 1, sizeof text, in);
    const bool failed = std::ferror(in) != 0;
    const int error = errno;
    std::fclose(in);
    if (failed) {
        left_alone = true;
        tell(path, "cannot be read", error);
        return SettingsRead::Unreadable;
    }
    const SettingsRead result = parse_settings(text, size, out);
    if (result == SettingsRead::Damaged) tell(path, "is damaged", 0);
    return result;
}

bool save_settings(const char* path, const PlayerSettings& s) {
    if (left_alone) return false;
    char text[64];
    const int length =
        std::snprintf(text, sizeof text, "volume %d\nmuted %d\n", s.volume, s.muted ? 1 : 0);
    ReplacedFile file;
    bool ok = begin_replace(&file, path, false);
    if (ok && !write_replacement(&file, text, static_cast<size_t>(length))) {
        abandon_replace(&file);
        ok = false;
    } else if (ok) {
        ok = finish_replace(&file, false);
    }
    if (!ok && !failure_told) {
        failure_told = true;
        std::fprintf(stderr, "%s: cannot save %s (%s)\n", program_short_name(), path,
                     std::strerror(errno));
    }
    return ok;
}

int step_volume(int volume, int step) {
    const int v = volume + step;
    return v < 0 ? 0 : v > VOLUME_STEPS ? VOLUME_STEPS : v;
}

bool change_settings_for(HostKey key, PlayerSettings* settings) {
    switch (key) {
        case HostKey::Mute:
            settings->muted = !settings->muted;
            return true;
        case HostKey::VolumeDown:
        case HostKey::VolumeUp:
            settings->volume = step_volume(settings->volume, key == HostKey::VolumeUp ? 1 : -1);
            settings->muted = false;
            return true;
        default:
            return false;
    }
}
