// The Win32 side of the file layer. Paths are UTF-8 with \ or / and become
// UTF-16 for the wide calls. Every descriptor is a C runtime descriptor in
// binary mode over a Win32 handle, so write_fully and stdio work on it as on
// Linux. Where POSIX differs:
// - rename does not replace a file here: MoveFileExW with
//   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH does, whole, and
//   reaches the disk before it returns;
// - an open file cannot be removed, so a temporary file is closed first;
// - a folder cannot be opened to sync: the write-through move stands for it;
// - links are reparse points (symbolic links, junctions): the file a link
//   leads to is replaced and the link stays a link;
// - a read-only file is one with FILE_ATTRIBUTE_READONLY.
#ifdef _WIN32

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/file_io.h"

namespace {

constexpr int NAME_TRIES = 100;
constexpr int MOVE_TRIES = 5;  // a virus scanner may hold the file a moment

bool fail_with(int error) {
    errno = error;
    return false;
}

int errno_of(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return EACCES;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_WRITE_PROTECT:
            return EROFS;
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_BUFFER_OVERFLOW:
            return ENAMETOOLONG;
        case ERROR_DIRECTORY:
            return ENOTDIR;
        case ERROR_INVALID_NAME:
            return EINVAL;
        default:
            return EIO;
    }
}

bool fail_win32() {
    return fail_with(errno_of(GetLastError()));
}

// UTF-8 to UTF-16 into fixed storage: the game saves while it runs and
// allocates nothing then.
bool widen(const char* path, wchar_t* out, size_t size) {
    const int n =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, out, static_cast<int>(size));
    if (n <= 0)
        return fail_with(GetLastError() == ERROR_INSUFFICIENT_BUFFER ? ENAMETOOLONG : EINVAL);
    return true;
}

bool narrow(const wchar_t* path, char* out, size_t size) {
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, path, -1, out, static_cast<int>(size), nullptr, nullptr);
    if (n <= 0) return fail_with(ENAMETOOLONG);
    return true;
}

bool copy_path(char* to, size_t size, const char* from) {
    const size_t n = std::strlen(from);
    if (n >= size) return fail_with(ENAMETOOLONG);
    std::memcpy(to, from, n + 1);
    return true;
}

// A name no other process is likely to pick; CREATE_NEW settles the rest.
uint32_t name_salt() {
    static uint32_t counter = 0;
    LARGE_INTEGER now = {};
    QueryPerformanceCounter(&now);
    uint32_t x = static_cast<uint32_t>(GetCurrentProcessId()) * 2654435761u ^
                 static_cast<uint32_t>(now.QuadPart) ^ (++counter * 40503u);
    x ^= x >> 15;
    x *= 0x2C1B3C6Du;
    x ^= x >> 12;
    return x;
}

// A C runtime descriptor in binary mode that owns `handle`, or -1 (the
// handle closed) with errno set.
int descriptor_of(HANDLE handle, int flags) {
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        errno = EMFILE;
    }
    return fd;
}

void close_quietly(int fd) {
    const int saved = errno;
    _close(fd);
    errno = saved;
}

// The attributes of `path` without following a link, or INVALID_FILE_ATTRIBUTES.
DWORD attributes_of(const char* path) {
    wchar_t wide[FILE_PATH_BYTES];
    if (!widen(path, wide, FILE_PATH_BYTES)) return INVALID_FILE_ATTRIBUTES;
    return GetFileAttributesW(wide);
}

}  // namespace

bool write_fully(int fd, const void* data, size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const unsigned chunk = size > (1u << 30) ? (1u << 30) : static_cast<unsigned>(size);
        const int n = _write(fd, p, chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) return fail_with(ENOSPC);
        if (n < 0) return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool write_fully_at(int fd, const void* data, size_t size, long long offset) {
    const long long was = _telli64(fd);
    if (was < 0 || _lseeki64(fd, offset, SEEK_SET) < 0) return false;
    const bool ok = write_fully(fd, data, size);
    const int error = errno;
    if (_lseeki64(fd, was, SEEK_SET) < 0 && ok) return false;
    errno = error;
    return ok;
}

// Windows resolves a whole chain of links when the file is opened; asking
// the open handle for its final name gives where they lead. A link that
// leads nowhere yet keeps its own name.
bool follow_links(const char* path, char* out, size_t size) {
    if (!copy_path(out, size, path)) return false;
    const DWORD attributes = attributes_of(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return true;
    wchar_t wide[FILE_PATH_BYTES];
    if (!widen(path, wide, FILE_PATH_BYTES)) return false;
    const HANDLE h = CreateFileW(wide, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return true;
    wchar_t final_name[FILE_PATH_BYTES];
    const DWORD n = GetFinalPathNameByHandleW(h, final_name, FILE_PATH_BYTES, VOLUME_NAME_DOS);
    CloseHandle(h);
    if (n == 0 || n >= FILE_PATH_BYTES) return n == 0 ? true : fail_with(ENAMETOOLONG);
    // "\\?\C:\..." is a name every wide call takes as it is.
    return narrow(final_name, out, size);
}

bool begin_replace(ReplacedFile* f, const char* path, bool allow_direct) {
    f->fd = -1;
    f->direct = false;
    f->temporary[0] = '\0';
    if (injected_file_fault() == FileFault::Open) return fail_with(EACCES);
    if (!follow_links(path, f->target, sizeof f->target)) return false;
    wchar_t wide[FILE_PATH_BYTES];
    if (!widen(f->target, wide, FILE_PATH_BYTES)) return false;

    const DWORD attributes = GetFileAttributesW(wide);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return fail_with(EISDIR);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        // Devices (NUL, CON) have no attributes: written in place when allowed.
        const HANDLE h = allow_direct
                             ? CreateFileW(wide, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           nullptr, OPEN_EXISTING, 0, nullptr)
                             : INVALID_HANDLE_VALUE;
        if (h != INVALID_HANDLE_VALUE) {
            if (GetFileType(h) != FILE_TYPE_DISK) {
                f->fd = descriptor_of(h, _O_WRONLY);
                f->direct = f->fd >= 0;
                return f->direct;
            }
            CloseHandle(h);
        }
    }
    for (int attempt = 0; attempt < NAME_TRIES; ++attempt) {
        const int n =
            std::snprintf(f->temporary, sizeof f->temporary, "%s.%08x.tmp", f->target, name_salt());
        if (n < 0 || static_cast<size_t>(n) >= sizeof f->temporary) return fail_with(ENAMETOOLONG);
        wchar_t temporary[FILE_PATH_BYTES];
        if (!widen(f->temporary, temporary, FILE_PATH_BYTES)) return false;
        // Never an existing name: a planted file or link under our name is
        // left alone and another name is tried.
        const HANDLE h = CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            f->fd = descriptor_of(h, _O_WRONLY);
            if (f->fd < 0) {
                const int saved = errno;
                DeleteFileW(temporary);
                f->temporary[0] = '\0';
                return fail_with(saved);
            }
            return true;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            f->temporary[0] = '\0';
            return fail_with(errno_of(error));
        }
    }
    f->temporary[0] = '\0';
    return fail_with(EEXIST);
}

bool finish_replace(ReplacedFile* f, bool durable) {
    if (f->direct) {
        const bool ok = _close(f->fd) == 0;
        f->fd = -1;
        return ok;
    }
    bool ok = true;
    if (durable && injected_file_fault() == FileFault::Sync) ok = fail_with(EIO);
    if (ok && durable) {
        const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(f->fd));
        if (!FlushFileBuffers(h)) ok = fail_win32();
    }
    if (ok) {
        ok = _close(f->fd) == 0;
    } else {
        close_quietly(f->fd);
    }
    f->fd = -1;
    if (ok && injected_file_fault() == FileFault::Rename) ok = fail_with(EACCES);
    if (ok) {
        wchar_t from[FILE_PATH_BYTES], to[FILE_PATH_BYTES];
        ok = widen(f->temporary, from, FILE_PATH_BYTES) && widen(f->target, to, FILE_PATH_BYTES);
        const DWORD how = MOVEFILE_REPLACE_EXISTING | (durable ? MOVEFILE_WRITE_THROUGH : 0);
        bool moved = false;
        for (int attempt = 0; ok && !moved && attempt < MOVE_TRIES; ++attempt) {
            moved = MoveFileExW(from, to, how) != 0;
            if (moved) break;
            const DWORD error = GetLastError();
            if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION &&
                error != ERROR_ACCESS_DENIED) {
                SetLastError(error);
                break;
            }
            Sleep(10);
        }
        if (ok && !moved) ok = fail_win32();
    }
    if (!ok) {
        abandon_replace(f);
        return false;
    }
    f->temporary[0] = '\0';
    if (durable && injected_file_fault() == FileFault::SyncFolder) return fail_with(EIO);
    return true;
}

void abandon_replace(ReplacedFile* f) {
    const int saved = errno;
    if (f->fd >= 0) _close(f->fd);  // closed first: an open file cannot be removed
    f->fd = -1;
    if (!f->direct && f->temporary[0]) {
        wchar_t temporary[FILE_PATH_BYTES];
        if (widen(f->temporary, temporary, FILE_PATH_BYTES)) DeleteFileW(temporary);
    }
    f->temporary[0] = '\0';
    errno = saved;
}

ReplaceTarget replace_target(const char* path) {
    char target[FILE_PATH_BYTES];
    if (!follow_links(path, target, sizeof target)) return ReplaceTarget::Missing;
    wchar_t wide[FILE_PATH_BYTES];
    if (!widen(target, wide, FILE_PATH_BYTES)) return ReplaceTarget::Missing;
    const DWORD attributes = GetFileAttributesW(wide);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return ReplaceTarget::Missing;
        // A device name (NUL, CON) or a name we may not look at.
        return ReplaceTarget::NotRegular;
    }
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE))
        return ReplaceTarget::NotRegular;
    if (attributes & FILE_ATTRIBUTE_READONLY) return ReplaceTarget::ReadOnly;
    return ReplaceTarget::Writable;
}

namespace {

// Opens an existing file to read, shared for writing and deleting: reading
// never stops another game from saving. On failure sets errno, and
// `not_regular` when the name is a folder.
HANDLE open_to_read(const char* path, bool* not_regular) {
    *not_regular = false;
    wchar_t wide[FILE_PATH_BYTES];
    if (!widen(path, wide, FILE_PATH_BYTES)) return INVALID_HANDLE_VALUE;
    const HANDLE h =
        CreateFileW(wide, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        const DWORD attributes = GetFileAttributesW(wide);
        *not_regular =
            attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
        fail_with(*not_regular ? EISDIR : errno_of(error));
    }
    return h;
}

}  // namespace

std::FILE* open_regular_file(const char* path, bool* not_regular, long long* size) {
    *size = 0;
    const HANDLE h = open_to_read(path, not_regular);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    BY_HANDLE_FILE_INFORMATION info = {};
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        CloseHandle(h);
        *not_regular = true;
        fail_with(EINVAL);
        return nullptr;
    }
    *size = (static_cast<long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    const int fd = descriptor_of(h, _O_RDONLY);
    if (fd < 0) return nullptr;
    std::FILE* stream = _fdopen(fd, "rb");
    if (!stream) close_quietly(fd);
    return stream;
}

bool read_regular_file(const char* path, void* out, size_t capacity, size_t* got,
                       bool* not_regular) {
    *got = 0;
    const HANDLE h = open_to_read(path, not_regular);
    if (h == INVALID_HANDLE_VALUE) return false;
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        *not_regular = true;
        return fail_with(EINVAL);
    }
    while (*got < capacity) {
        DWORD n = 0;
        const DWORD want = static_cast<DWORD>(capacity - *got);
        if (!ReadFile(h, static_cast<char*>(out) + *got, want, &n, nullptr)) {
            const DWORD error = GetLastError();
            CloseHandle(h);
            return fail_with(errno_of(error));
        }
        if (n == 0) break;
        *got += n;
    }
    CloseHandle(h);
    return true;
}

int create_output_file(const char* path) {
    wchar_t wide[FILE_PATH_BYTES];
    if (!widen(path, wide, FILE_PATH_BYTES)) return -1;
    // Readers (a tail -f of a recording) may look while it is written.
    const HANDLE h = CreateFileW(wide, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        fail_win32();
        return -1;
    }
    return descriptor_of(h, _O_WRONLY);
}

bool close_file(int fd) {
    return _close(fd) == 0;
}

const char* program_short_name() {
    static char name[256] = "";
    if (name[0]) return name;
    wchar_t module[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, module, MAX_PATH);
    const wchar_t* start = module;
    for (DWORD i = 0; i < n && i < MAX_PATH; ++i)
        if (module[i] == L'\\' || module[i] == L'/') start = module + i + 1;
    if (n == 0 || n >= MAX_PATH || !narrow(start, name, sizeof name)) {
        copy_path(name, sizeof name, "zarvox");
        return name;
    }
    char* dot = std::strrchr(name, '.');
    if (dot && (_stricmp(dot, ".exe") == 0)) *dot = '\0';
    return name;
}

// A file by its volume and file index; a file yet to be made by its
// folder's and its own name.
FileIdentity identify_file(const char* path) {
    FileIdentity id;
    char target[FILE_PATH_BYTES];
    if (!follow_links(path, target, sizeof target)) return id;
    auto identify = [](const char* name, FileIdentity* out) {
        wchar_t wide[FILE_PATH_BYTES];
        if (!widen(name, wide, FILE_PATH_BYTES)) return false;
        const HANDLE h =
            CreateFileW(wide, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        BY_HANDLE_FILE_INFORMATION info = {};
        const bool ok = GetFileInformationByHandle(h, &info) != 0;
        const bool disk = GetFileType(h) == FILE_TYPE_DISK;
        CloseHandle(h);
        if (!ok) return false;
        out->regular = disk && !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
        out->device = info.dwVolumeSerialNumber;
        out->inode =
            (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
        return true;
    };
    if (identify(target, &id)) {
        id.known = id.exists = true;
        return id;
    }
    id.regular = false;
    const char* slash = nullptr;
    for (const char* c = target; *c; ++c)
        if (*c == '/' || *c == '\\') slash = c;
    const char* name = slash ? slash + 1 : target;
    if (std::strlen(name) >= sizeof id.name) return id;
    char folder[FILE_PATH_BYTES];
    if (!slash) {
        copy_path(folder, sizeof folder, ".");
    } else {
        std::snprintf(folder, sizeof folder, "%.*s", static_cast<int>(slash - target + 1), target);
    }
    FileIdentity dir;
    if (!identify(folder, &dir)) return id;
    id.known = true;
    id.device = dir.device;
    id.inode = dir.inode;
    std::snprintf(id.name, sizeof id.name, "%s", name);
    // Windows names are the same in any case.
    for (char* c = id.name; *c; ++c)
        if (*c >= 'A' && *c <= 'Z') *c = static_cast<char>(*c - 'A' + 'a');
    return id;
}

// Windows cannot lock a folder: the lock is a file "<target>.lock" beside
// the file, opened shared with nobody and removed as it closes. Another
// process waits its turn (up to ten seconds, then goes on without it).
bool take_file_lock(FileLock* lock, const char* path) {
    lock->fd = -1;
    char target[FILE_PATH_BYTES];
    if (!follow_links(path, target, sizeof target)) return false;
    char name[FILE_PATH_BYTES];
    const int n = std::snprintf(name, sizeof name, "%s.lock", target);
    if (n < 0 || static_cast<size_t>(n) >= sizeof name) return fail_with(ENAMETOOLONG);
    wchar_t wide[FILE_PATH_BYTES];
    if (!widen(name, wide, FILE_PATH_BYTES)) return false;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const HANDLE h = CreateFileW(wide, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            lock->fd = descriptor_of(h, _O_RDWR);
            return lock->fd >= 0;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED)
            return fail_with(errno_of(error));
        Sleep(10);
    }
    return fail_with(EBUSY);
}

void release_file_lock(FileLock* lock) {
    if (lock->fd < 0) return;
    close_quietly(lock->fd);  // closing removes the lock file and lets it go
    lock->fd = -1;
}

#endif  // _WIN32
