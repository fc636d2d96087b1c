// The play data's promises on Windows, checked through the Win32 side of the
// file layer under Wine (or on Windows): a save replaces the old file whole,
// keeps every byte of the record (line feeds and 0x1A too, which text mode
// would change), leaves a read-only, unreadable or held file alone with one
// line on standard error, and never leaves a torn file or a temporary one
// behind. The shared rules (merging, short files, killed saves) are the
// native suites'; these rows are what the Win32 calls may get wrong.
// No test framework is built for Windows here, so the checks count
// themselves and the program ends with "N passed, N failed".
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/file_io.h"
#include "platform/play_data.h"

namespace {

int passed = 0;
int failed = 0;
const char* current = "";

void check(bool ok, const char* what) {
    if (ok) {
        ++passed;
        return;
    }
    ++failed;
    std::printf("FAILED: %s: %s\n", current, what);
}

std::string read_bytes(const char* path) {
    char bytes[256];
    std::FILE* f = std::fopen(path, "rb");
    const size_t n = f ? std::fread(bytes, 1, sizeof bytes, f) : 0;
    if (f) std::fclose(f);
    return std::string(bytes, n);
}

// What lies under the play data's name: a folder, or the file's bytes.
std::string what_is_there() {
    const DWORD attributes = GetFileAttributesA(PLAY_DATA_FILE);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return "a folder";
    return read_bytes(PLAY_DATA_FILE);
}

// Nothing but the play data's own name in the current folder: no temporary
// or lock file left behind.
bool only_play_data_here() {
    WIN32_FIND_DATAA found;
    const HANDLE h = FindFirstFileA("*", &found);
    if (h == INVALID_HANDLE_VALUE) return false;
    int others = 0;
    do {
        const char* name = found.cFileName;
        others +=
            std::strcmp(name, ".") && std::strcmp(name, "..") && std::strcmp(name, PLAY_DATA_FILE);
    } while (FindNextFileA(h, &found));
    FindClose(h);
    return others == 0;
}

// A record whose bytes include every character text mode would touch. The
// old file's bytes (0x11) merge into it without changing it, so a save
// that lands leaves exactly these bytes.
PlayDataRecord awkward_record() {
    PlayDataRecord r = {};
    r.best_score = 777;
    r.rewards[0] = 0x0A;        // line feed: text mode writes CR LF
    r.rewards[1] = 0x0D0A;      // carriage return, line feed
    r.rewards[2] = 0x1A;        // Ctrl+Z: text mode reads it as the end
    r.rewards[3] = 0x0A1A0D00;  // all of them in one
    r.unused_b[4] = -1;
    return r;
}

// What lies under the name when the game starts. Another program may hold
// the old file: sharing nothing while the game loads (so it cannot be
// read), or sharing everything while it saves (an open file still cannot be
// replaced).
enum class Before { Nothing, OldFile, ReadOnly, Folder, HeldWhileLoading, HeldWhileSaving };

struct Case {
    const char* name;
    Before before;
    SaveFault fault;
    int load;  // load_play_data's result
    int save;  // the save's result, with the fault injected
    int next;  // a second save's, the fault gone and the file let go
};

const Case CASES[] = {
    {"missing", Before::Nothing, SaveFault::None, 1, 0, 0},
    {"replace", Before::OldFile, SaveFault::None, 0, 0, 0},
    {"read-only", Before::ReadOnly, SaveFault::None, 0, 1, 1},
    {"folder", Before::Folder, SaveFault::None, 1, 1, 1},
    // What could not be read is never saved over, even once it is let go.
    {"unreadable", Before::HeldWhileLoading, SaveFault::None, 1, 1, 1},
    {"held", Before::HeldWhileSaving, SaveFault::None, 0, 1, 0},
    // Injected faults at each step of a save: the old file stays whole and
    // the temporary file goes (closed first: Windows removes no open file).
    {"open fault", Before::OldFile, SaveFault::Open, 0, 1, 0},
    {"write fault", Before::OldFile, SaveFault::Write, 0, 1, 0},
    {"sync fault", Before::OldFile, SaveFault::Sync, 0, 1, 0},
    {"rename fault", Before::OldFile, SaveFault::Rename, 0, 1, 0},
};

HANDLE hold(DWORD share) {
    return CreateFileA(PLAY_DATA_FILE, GENERIC_READ, share, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

void run(const Case& c) {
    current = c.name;
    CreateDirectoryA(c.name, nullptr);
    SetCurrentDirectoryA(c.name);
    reset_play_data_file();
    const PlayDataRecord record = awkward_record();
    const std::string saved(reinterpret_cast<const char*>(&record), sizeof record);
    std::string old(sizeof record, '\x11');
    if (c.before == Before::Folder) {
        CreateDirectoryA(PLAY_DATA_FILE, nullptr);
        old = "a folder";
    } else if (c.before == Before::Nothing) {
        old = "";
    } else {
        std::FILE* f = std::fopen(PLAY_DATA_FILE, "wb");
        std::fwrite(old.data(), 1, old.size(), f);
        std::fclose(f);
        if (c.before == Before::ReadOnly)
            SetFileAttributesA(PLAY_DATA_FILE, FILE_ATTRIBUTE_READONLY);
    }

    HANDLE holder = c.before == Before::HeldWhileLoading ? hold(0) : INVALID_HANDLE_VALUE;
    check(load_play_data() == c.load, "the load's result");
    if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
    if (c.before == Before::HeldWhileSaving)
        holder = hold(FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    inject_save_fault(c.fault);
    const int first = save_play_record(record);
    check(first == c.save, "the save's result");
    check(what_is_there() == (first == 0 ? saved : old), "the file after the save");
    check(only_play_data_here(), "no temporary file is left");

    if (c.before == Before::HeldWhileSaving) CloseHandle(holder);
    inject_save_fault(SaveFault::None);
    const int next = save_play_record(record);
    check(next == c.next, "the next save's result");
    check(what_is_there() == (next == 0 ? saved : old), "the file after the next save");
    check(only_play_data_here(), "no temporary file is left after it");
    // Read back through the game, 0x1A and all.
    check(
        next != 0 || (load_play_data() == 0 && std::memcmp(&PlayData, &record, sizeof record) == 0),
        "the saved file loads as the record saved");
    SetFileAttributesA(PLAY_DATA_FILE, FILE_ATTRIBUTE_NORMAL);
    SetCurrentDirectoryA("..");
}

// The tools' outputs, with either slash in a path: an output file written
// in binary mode (its size is the bytes written), then replaced whole.
void outputs_and_paths() {
    current = "outputs";
    CreateDirectoryA("sub", nullptr);
    const std::string text = "a\nb\r\n\x1A";
    const int fd = create_output_file("sub/out.txt");
    check(fd >= 0 && write_fully(fd, text.data(), text.size()) && close_file(fd),
          "an output file is written");
    bool not_regular = false;
    long long size = 0;
    std::FILE* in = open_regular_file("sub\\out.txt", &not_regular, &size);
    check(in != nullptr && size == static_cast<long long>(text.size()), "with every byte as it is");
    if (in) std::fclose(in);
    check(write_whole_file("sub\\out.txt", "\n\x1A", 2) && read_bytes("sub/out.txt") == "\n\x1A",
          "and replaced whole");
    check(open_regular_file("sub", &not_regular, &size) == nullptr && not_regular,
          "a folder is no regular file");
}

}  // namespace

int main() {
    char scratch[MAX_PATH];
    std::snprintf(scratch, sizeof scratch, "play-data-test-%lu", GetCurrentProcessId());
    CreateDirectoryA(scratch, nullptr);
    SetCurrentDirectoryA(scratch);
    for (const Case& c : CASES) run(c);
    outputs_and_paths();
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
