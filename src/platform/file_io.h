// Files: whole buffers across short writes, replacing a file whole or not
// at all, and the few questions the play data asks about its file. One
// interface with a POSIX side (file_io_posix.cpp) and a Win32 side
// (file_io_win32.cpp); file_io.cpp holds what they share. Every file is
// opened in binary mode, and on Windows a path may use \ or / and is UTF-8.
#pragma once

#include <cstddef>
#include <cstdio>

// False when the descriptor refuses (disk full, closed pipe, ...).
bool write_fully(int fd, const void* data, size_t size);
// Writes the whole buffer at byte `offset` of the file, leaving the
// descriptor's own position where it was (as pwrite does). False with errno.
bool write_fully_at(int fd, const void* data, size_t size, long long offset);

constexpr size_t FILE_PATH_BYTES = 4096;

// Follows symbolic links from `path` to the name they finally lead to, which
// need not exist yet. False (errno set) for a loop or a name too long.
bool follow_links(const char* path, char* out, size_t size);

// A file being replaced: the new bytes go to a temporary file of our own
// beside the target, and only a complete one is renamed over it, so readers
// and crashes never see a part-written file. Fixed storage only: the game
// saves while it runs and allocates nothing then.
struct ReplacedFile {
    char target[FILE_PATH_BYTES];  // where the name leads, links followed
    char temporary[FILE_PATH_BYTES];
    int fd = -1;
    bool direct = false;  // writing straight into a device or pipe
};

// Starts replacing `path`. A symbolic link stays a link: the file it leads
// to is replaced. The temporary file is created new (never reused, never
// followed) with the target's permissions, or the usual ones for a new
// file. With `allow_direct`, a target that exists and is not a regular file
// (a device, a pipe) is written in place instead. False with errno set.
bool begin_replace(ReplacedFile* file, const char* path, bool allow_direct);
bool write_replacement(ReplacedFile* file, const void* data, size_t size);
// Closes the temporary file and renames it over the target. With `durable`
// the file is synced first and the folder after, so the new file survives
// a power cut. False with errno set; the temporary file is gone either way.
bool finish_replace(ReplacedFile* file, bool durable);
// Gives up: the temporary file is removed and the target left as it was.
void abandon_replace(ReplacedFile* file);

// The whole of begin_replace, one write and finish_replace, with
// `allow_direct` and without syncing: for tools' outputs. False with errno
// set, and then no partial file is left.
bool write_whole_file(const char* path, const void* data, size_t size);

// What replacing the file at `path` (links followed) would meet.
enum class ReplaceTarget {
    Missing,     // no file yet (or it cannot be looked at): it may be made
    Writable,    // a regular file we may replace
    ReadOnly,    // a regular file the player made read-only: left alone
    NotRegular,  // a folder, device or pipe under the name
};
ReplaceTarget replace_target(const char* path);

// Opens a regular file for reading, in binary mode and never blocking on a
// pipe. nullptr with errno set when it does not open; `*not_regular` is then
// true when something that is not a regular file has the name. `*size` is
// the file's size in bytes.
std::FILE* open_regular_file(const char* path, bool* not_regular, long long* size);

// Reads up to `capacity` bytes of the regular file `path` into `out`
// without allocating (the game saves while it runs); `*got` is how many.
// False with errno set (ENOENT: missing) when it cannot; `*not_regular` is
// then true when something that is not a regular file has the name.
bool read_regular_file(const char* path, void* out, size_t capacity, size_t* got,
                       bool* not_regular);

// Creates or empties `path` for writing in binary mode: a descriptor for
// write_fully, or -1 with errno set. close_file is false when the close
// reports an error (a full disk may show only then).
int create_output_file(const char* path);
bool close_file(int fd);

// The program's name without folder or extension, for messages.
const char* program_short_name();
// What a path names, to tell whether two paths name one file (through
// links, hard links and any spelling of the folder): an existing file by
// its device and inode; a file yet to be made by its folder's device and
// inode and its own name. `known` is false when not even the folder exists.
struct FileIdentity {
    bool known = false;
    bool exists = false;
    bool regular = false;  // an existing regular file (not a device or pipe)
    unsigned long long device = 0;
    unsigned long long inode = 0;
    char name[256] = "";  // the last part of the name, for a file yet to be made
};
FileIdentity identify_file(const char* path);
bool same_file(const FileIdentity& a, const FileIdentity& b);

// An exclusive lock that processes saving the same file take in turn, held
// until released; it waits for another holder. On POSIX it is flock on the
// folder that holds the file `path` leads to, so no file is added beside it.
// False (and no lock held) when the folder cannot be opened; the caller
// goes on without it.
struct FileLock {
    int fd = -1;
};
bool take_file_lock(FileLock* lock, const char* path);
void release_file_lock(FileLock* lock);

// Test hook: the named step of every later replacement fails.
enum class FileFault { None, Open, Write, Sync, Rename, SyncFolder };
void inject_file_fault(FileFault fault);
FileFault injected_file_fault();
