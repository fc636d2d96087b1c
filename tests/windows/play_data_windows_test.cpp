// The play data's promises on Windows, checked through the Win32 side of the
// file layer under Wine (or on Windows): a save replaces the old file whole,
// keeps every byte of the record (line feeds and 0x1A too, which text mode
// would change), leaves a read-only or unreadable file alone with one line
// on standard error, and never leaves a torn file or a temporary one behind.
// No test framework is built for Windows here, so the checks count
// themselves and the program ends with "N passed, N failed".
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

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
    std::string out;
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return out;
    char block[256];
    size_t n = 0;
    while ((n = std::fread(block, 1, sizeof block, f)) > 0) out.append(block, n);
    std::fclose(f);
    return out;
}

void write_bytes(const char* path, const std::string& bytes) {
    std::FILE* f = std::fopen(path, "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// Names in the current folder, to catch temporary files left behind.
std::vector<std::string> folder_names() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const HANDLE h = FindFirstFileA("*", &found);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        if (std::strcmp(found.cFileName, ".") && std::strcmp(found.cFileName, ".."))
            names.push_back(found.cFileName);
    } while (FindNextFileA(h, &found));
    FindClose(h);
    return names;
}

bool only_play_data_here() {
    const std::vector<std::string> names = folder_names();
    return names.size() == 1 && names[0] == PLAY_DATA_FILE;
}

// A record whose bytes include every character text mode would touch.
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

std::string bytes_of(const PlayDataRecord& r) {
    return std::string(reinterpret_cast<const char*>(&r), sizeof r);
}

void fresh_folder(const char* name) {
    current = name;
    char path[MAX_PATH];
    std::snprintf(path, sizeof path, "case-%s", name);
    CreateDirectoryA(path, nullptr);
    SetCurrentDirectoryA(path);
    reset_play_data_file();
    inject_save_fault(SaveFault::None);
    PlayData = PlayDataRecord{};
}

void leave_folder() {
    SetCurrentDirectoryA("..");
}

void saves_replace_an_existing_file_byte_for_byte() {
    fresh_folder("replace");
    // An older record with a lower best score and no rewards: a save keeps
    // the higher best score and every reward of the two, so the new record
    // is what lands, byte for byte.
    PlayDataRecord older = {};
    older.best_score = 10;
    older.unused_b[0] = 0x55555555;
    write_bytes(PLAY_DATA_FILE, bytes_of(older));
    const PlayDataRecord record = awkward_record();
    check(save_play_record(record) == 0, "the save succeeds over an existing file");
    check(read_bytes(PLAY_DATA_FILE) == bytes_of(record), "the file holds the record exactly");
    check(only_play_data_here(), "no temporary file is left");
    // Saved again over its own file, and read back through the game.
    PlayDataRecord second = record;
    second.best_score = 900;
    check(save_play_record(second) == 0, "a second save succeeds");
    check(load_play_data() == 0, "the file loads");
    check(std::memcmp(&PlayData, &second, sizeof second) == 0,
          "the loaded record is the saved one");
    leave_folder();
}

void a_read_only_file_is_left_alone() {
    fresh_folder("read-only");
    const std::string old(72, '\x11');
    write_bytes(PLAY_DATA_FILE, old);
    SetFileAttributesA(PLAY_DATA_FILE, FILE_ATTRIBUTE_READONLY);
    check(load_play_data() == 0, "a read-only file still loads");
    check(save_play_record(awkward_record()) == 1, "the save is refused");
    check(save_play_record(awkward_record()) == 1, "and again");
    check(read_bytes(PLAY_DATA_FILE) == old, "the file is as it was");
    check(only_play_data_here(), "no temporary file is left");
    SetFileAttributesA(PLAY_DATA_FILE, FILE_ATTRIBUTE_NORMAL);
    leave_folder();
}

void an_unreadable_file_turns_saving_off() {
    fresh_folder("unreadable");
    const std::string old(72, '\x22');
    write_bytes(PLAY_DATA_FILE, old);
    // Another program holds it open and shares nothing: it cannot be read.
    const HANDLE holder = CreateFileA(PLAY_DATA_FILE, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    check(holder != INVALID_HANDLE_VALUE, "the file is held");
    check(load_play_data() == 1, "the load fails");
    CloseHandle(holder);
    check(save_play_record(awkward_record()) == 1, "saving stays off for the run");
    check(read_bytes(PLAY_DATA_FILE) == old, "the file we never read is untouched");
    check(only_play_data_here(), "no temporary file is left");
    leave_folder();
}

void a_folder_under_the_name_is_not_replaced() {
    fresh_folder("folder");
    CreateDirectoryA(PLAY_DATA_FILE, nullptr);
    check(load_play_data() == 1, "a folder does not load");
    check(save_play_record(awkward_record()) == 1, "nor is it saved over");
    const DWORD attributes = GetFileAttributesA(PLAY_DATA_FILE);
    check(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY),
          "the folder is still there");
    RemoveDirectoryA(PLAY_DATA_FILE);
    leave_folder();
}

void a_failed_save_never_tears_the_old_file() {
    fresh_folder("faults");
    const std::string old = bytes_of(awkward_record());
    write_bytes(PLAY_DATA_FILE, old);
    PlayDataRecord other = {};
    other.best_score = 1000;  // higher than the stored one, so it lands whole
    for (SaveFault fault :
         {SaveFault::Open, SaveFault::Write, SaveFault::Sync, SaveFault::Rename}) {
        inject_save_fault(fault);
        check(save_play_record(other) == 1, "the save reports its failure");
        check(read_bytes(PLAY_DATA_FILE) == old, "the old file is whole");
        check(only_play_data_here(), "no temporary file is left");
    }
    inject_save_fault(SaveFault::None);
    // Held open by another program (even one that shares everything),
    // the file cannot be replaced on Windows: that save fails whole, and
    // the next one, once the file is let go, succeeds.
    const HANDLE reader = CreateFileA(PLAY_DATA_FILE, GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    check(save_play_record(other) == 1, "a save while another program holds the file fails");
    check(read_bytes(PLAY_DATA_FILE) == old, "the old file is whole");
    check(only_play_data_here(), "no temporary file is left");
    CloseHandle(reader);
    check(save_play_record(other) == 0, "the next save succeeds");
    check(read_bytes(PLAY_DATA_FILE) == bytes_of(other), "and the new record is there");
    leave_folder();
}

void a_missing_file_is_made() {
    fresh_folder("missing");
    check(load_play_data() == 1, "no file: the load says so");
    check(save_play_record(awkward_record()) == 0, "the first save makes the file");
    check(read_bytes(PLAY_DATA_FILE) == bytes_of(awkward_record()), "with the record exactly");
    leave_folder();
}

void paths_take_either_slash_and_outputs_are_binary() {
    fresh_folder("paths");
    CreateDirectoryA("sub", nullptr);
    const std::string text =
        "a\nb\r\n\x1A"
        "c";
    check(write_whole_file("sub\\back.txt", text.data(), text.size()), "a path with \\");
    check(write_whole_file("sub/forward.txt", text.data(), text.size()), "a path with /");
    check(read_bytes("sub\\back.txt") == text, "bytes kept through \\");
    check(read_bytes("sub\\forward.txt") == text, "bytes kept through /");
    const int fd = create_output_file("sub/out.txt");
    check(fd >= 0 && write_fully(fd, text.data(), text.size()) && close_file(fd),
          "an output file is written");
    check(read_bytes("sub\\out.txt") == text, "in binary mode");
    bool not_regular = false;
    long long size = 0;
    std::FILE* in = open_regular_file("sub/out.txt", &not_regular, &size);
    check(in != nullptr && size == static_cast<long long>(text.size()), "it opens with its size");
    if (in) {
        char got[16] = {};
        check(std::fread(got, 1, sizeof got, in) == text.size(), "and reads back whole");
        std::fclose(in);
    }
    check(open_regular_file("sub", &not_regular, &size) == nullptr && not_regular,
          "a folder is no regular file");
    check(open_regular_file("sub/none", &not_regular, &size) == nullptr && !not_regular &&
              errno == ENOENT,
          "a missing file is missing");
    check(!write_whole_file("no\\such\\folder\\x", text.data(), 1), "a missing folder fails");
    leave_folder();
}

}  // namespace

int main() {
    char scratch[MAX_PATH];
    std::snprintf(scratch, sizeof scratch, "play-data-test-%lu", GetCurrentProcessId());
    CreateDirectoryA(scratch, nullptr);
    SetCurrentDirectoryA(scratch);

    saves_replace_an_existing_file_byte_for_byte();
    a_read_only_file_is_left_alone();
    an_unreadable_file_turns_saving_off();
    a_folder_under_the_name_is_not_replaced();
    a_failed_save_never_tears_the_old_file();
    a_missing_file_is_made();
    paths_take_either_slash_and_outputs_are_binary();

    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
