#include "platform/file_io.h"

#include <cerrno>
#include <cstring>

// What both sides of the file layer share.

namespace {

FileFault injected = FileFault::None;

}  // namespace

bool write_replacement(ReplacedFile* f, const void* data, size_t size) {
    if (injected == FileFault::Write) {
        errno = ENOSPC;
        return false;
    }
    return write_fully(f->fd, data, size);
}

bool write_whole_file(const char* path, const void* data, size_t size) {
    ReplacedFile file;
    if (!begin_replace(&file, path, true)) return false;
    if (!write_replacement(&file, data, size)) {
        abandon_replace(&file);
        return false;
    }
    return finish_replace(&file, false);
}

void inject_file_fault(FileFault fault) {
    injected = fault;
}

FileFault injected_file_fault() {
    return injected;
}

bool same_file(const FileIdentity& a, const FileIdentity& b) {
    return a.known && b.known && a.exists == b.exists && a.device == b.device &&
           a.inode == b.inode && std::strcmp(a.name, b.name) == 0;
}
