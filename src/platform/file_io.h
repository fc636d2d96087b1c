// Writing files: whole buffers across short writes, and replacing a file
// whole or not at all.
#pragma once

#include <sys/stat.h>

#include <cstddef>

// False when the descriptor refuses (disk full, closed pipe, ...).
bool write_fully(int fd, const void* data, size_t size);

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
