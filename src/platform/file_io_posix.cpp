// The POSIX side of the file layer (Linux, and the browser's file system).
#ifndef _WIN32

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "platform/file_io.h"

namespace {

constexpr int MAX_LINK_HOPS = 40;
constexpr int NAME_TRIES = 100;

bool fail_with(int error) {
    errno = error;
    return false;
}

bool copy_path(char* to, size_t size, const char* from) {
    const size_t n = std::strlen(from);
    if (n >= size) return fail_with(ENAMETOOLONG);
    std::memcpy(to, from, n + 1);
    return true;
}

// The folder part of `path` ("." for a bare name), for syncing it.
void folder_of(const char* path, char* out, size_t size) {
    const char* slash = std::strrchr(path, '/');
    if (!slash) {
        std::snprintf(out, size, ".");
    } else if (slash == path) {
        std::snprintf(out, size, "/");
    } else {
        std::snprintf(out, size, "%.*s", static_cast<int>(slash - path), path);
    }
}

// A name no other process is likely to pick; O_EXCL settles the rest.
uint32_t name_salt() {
    static uint32_t counter = 0;
    timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    uint32_t x = static_cast<uint32_t>(getpid()) * 2654435761u ^
                 static_cast<uint32_t>(now.tv_nsec) ^ (++counter * 40503u);
    x ^= x >> 15;
    x *= 0x2C1B3C6Du;
    x ^= x >> 12;
    return x;
}

void close_quietly(int fd) {
    const int saved = errno;
    ::close(fd);
    errno = saved;
}

bool sync_folder(const char* target) {
    if (injected_file_fault() == FileFault::SyncFolder) return fail_with(EIO);
    char folder[FILE_PATH_BYTES];
    folder_of(target, folder, sizeof folder);
    const int fd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    // Some file systems cannot sync a folder at all; that is no failure.
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP;
    close_quietly(fd);
    return ok;
}

}  // namespace

bool write_fully(int fd, const void* data, size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) return fail_with(ENOSPC);
        if (n < 0) return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool write_fully_at(int fd, const void* data, size_t size, long long offset) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, p, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) return fail_with(ENOSPC);
        if (n < 0) return false;
        p += n;
        size -= static_cast<size_t>(n);
        offset += n;
    }
    return true;
}

bool follow_links(const char* path, char* out, size_t size) {
    if (!copy_path(out, size, path)) return false;
    for (int hop = 0; hop < MAX_LINK_HOPS; ++hop) {
        struct stat st = {};
        if (::lstat(out, &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        char link[FILE_PATH_BYTES];
        const ssize_t n = ::readlink(out, link, sizeof link - 1);
        if (n < 0) return false;
        link[n] = '\0';
        const char* slash = std::strrchr(out, '/');
        if (link[0] == '/' || !slash) {
            if (!copy_path(out, size, link)) return false;
            continue;
        }
        // A relative link is read from the folder that holds it.
        const size_t keep = static_cast<size_t>(slash - out) + 1;
        if (!copy_path(out + keep, size - keep, link)) return false;
    }
    return fail_with(ELOOP);
}

bool begin_replace(ReplacedFile* f, const char* path, bool allow_direct) {
    f->fd = -1;
    f->direct = false;
    f->temporary[0] = '\0';
    if (injected_file_fault() == FileFault::Open) return fail_with(EACCES);
    if (!follow_links(path, f->target, sizeof f->target)) return false;

    struct stat st = {};
    const bool exists = ::stat(f->target, &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        if (!allow_direct) return fail_with(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
        f->fd = ::open(f->target, O_WRONLY | O_CLOEXEC);
        f->direct = f->fd >= 0;
        return f->direct;
    }
    for (int attempt = 0; attempt < NAME_TRIES; ++attempt) {
        const int n =
            std::snprintf(f->temporary, sizeof f->temporary, "%s.%08x.tmp", f->target, name_salt());
        if (n < 0 || static_cast<size_t>(n) >= sizeof f->temporary) return fail_with(ENAMETOOLONG);
        // Never an existing name, never through a link: a planted file or
        // link under our name is left alone and another name is tried.
        f->fd = ::open(f->temporary, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                       exists ? 0600 : 0666);
        if (f->fd >= 0) break;
        if (errno != EEXIST) return false;
    }
    if (f->fd < 0) return false;
    if (exists && ::fchmod(f->fd, st.st_mode & 07777) != 0) {
        abandon_replace(f);
        return false;
    }
    return true;
}

bool finish_replace(ReplacedFile* f, bool durable) {
    if (f->direct) {
        const bool ok = ::close(f->fd) == 0;
        f->fd = -1;
        return ok;
    }
    bool ok = true;
    if (durable && injected_file_fault() == FileFault::Sync) ok = fail_with(EIO);
    if (ok && durable && ::fsync(f->fd) != 0) ok = false;
    if (ok) {
        // A full disk may show only when the file is closed.
        ok = ::close(f->fd) == 0;
    } else {
        close_quietly(f->fd);
    }
    f->fd = -1;
    if (ok && injected_file_fault() == FileFault::Rename) ok = fail_with(EACCES);
    if (ok && std::rename(f->temporary, f->target) != 0) ok = false;
    if (!ok) {
        abandon_replace(f);
        return false;
    }
    f->temporary[0] = '\0';
    return !durable || sync_folder(f->target);
}

void abandon_replace(ReplacedFile* f) {
    const int saved = errno;
    if (f->fd >= 0) ::close(f->fd);
    f->fd = -1;
    if (!f->direct && f->temporary[0]) ::unlink(f->temporary);
    f->temporary[0] = '\0';
    errno = saved;
}

ReplaceTarget replace_target(const char* path) {
    char target[FILE_PATH_BYTES];
    if (!follow_links(path, target, sizeof target)) return ReplaceTarget::Missing;
    struct stat st = {};
    if (::stat(target, &st) != 0) return ReplaceTarget::Missing;
    if (!S_ISREG(st.st_mode)) return ReplaceTarget::NotRegular;
    // No write bit at all counts even for root, who may write anything.
    if ((st.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, target, W_OK, AT_EACCESS) != 0)
        return ReplaceTarget::ReadOnly;
    return ReplaceTarget::Writable;
}

std::FILE* open_regular_file(const char* path, bool* not_regular, long long* size) {
    *not_regular = false;
    *size = 0;
    // Not blocking: a pipe under the name must not hang the game.
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st = {};
    if (::fstat(fd, &st) != 0) {
        close_quietly(fd);
        return nullptr;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        *not_regular = true;
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return nullptr;
    }
    *size = st.st_size;
    std::FILE* stream = ::fdopen(fd, "rb");
    if (!stream) close_quietly(fd);
    return stream;
}

bool read_regular_file(const char* path, void* out, size_t capacity, size_t* got,
                       bool* not_regular) {
    *got = 0;
    *not_regular = false;
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st = {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        *not_regular = !S_ISREG(st.st_mode);
        close_quietly(fd);
        return fail_with(EINVAL);
    }
    while (*got < capacity) {
        const ssize_t n = ::read(fd, static_cast<char*>(out) + *got, capacity - *got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            close_quietly(fd);
            return false;
        }
        if (n == 0) break;
        *got += static_cast<size_t>(n);
    }
    ::close(fd);
    return true;
}

int create_output_file(const char* path) {
    return ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

bool close_file(int fd) {
    return ::close(fd) == 0;
}

const char* program_short_name() {
    return program_invocation_short_name;
}

FileIdentity identify_file(const char* path) {
    FileIdentity id;
    char target[FILE_PATH_BYTES];
    if (!follow_links(path, target, sizeof target)) return id;
    struct stat st = {};
    if (::stat(target, &st) == 0) {
        id.known = id.exists = true;
        id.regular = S_ISREG(st.st_mode);
        id.device = st.st_dev;
        id.inode = st.st_ino;
        return id;
    }
    const char* slash = std::strrchr(target, '/');
    const char* name = slash ? slash + 1 : target;
    if (std::strlen(name) >= sizeof id.name) return id;
    char folder[FILE_PATH_BYTES];
    folder_of(target, folder, sizeof folder);
    if (::stat(folder, &st) != 0) return id;
    id.known = true;
    id.device = st.st_dev;
    id.inode = st.st_ino;
    std::snprintf(id.name, sizeof id.name, "%s", name);
    return id;
}

bool take_file_lock(FileLock* lock, const char* path) {
    lock->fd = -1;
    char target[FILE_PATH_BYTES];
    if (!follow_links(path, target, sizeof target)) return false;
    char folder[FILE_PATH_BYTES];
    folder_of(target, folder, sizeof folder);
    const int fd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        close_quietly(fd);
        return false;
    }
    lock->fd = fd;
    return true;
}

void release_file_lock(FileLock* lock) {
    if (lock->fd < 0) return;
    close_quietly(lock->fd);  // closing lets the lock go
    lock->fd = -1;
}

#endif  // !_WIN32
