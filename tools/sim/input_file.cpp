#include "sim/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

constexpr off_t MAX_INPUT_BYTES = 64 << 20;

}  // namespace

bool read_input(const std::string& path, std::string* out, std::string* why) {
    // Not blocking: a pipe with no writer must not hang the runner.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *why = std::strerror(errno);
        return false;
    }
    struct stat st = {};
    bool ok = ::fstat(fd, &st) == 0;
    if (!ok) {
        *why = std::strerror(errno);
    } else if (!S_ISREG(st.st_mode)) {
        *why = "not a regular file";
        ok = false;
    } else if (st.st_size > MAX_INPUT_BYTES) {
        *why = "larger than 64 MiB";
        ok = false;
    }
    out->clear();
    char block[1 << 16];
    while (ok) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            *why = std::strerror(errno);
            ok = false;
        } else if (n == 0) {
            break;
        } else if (out->size() + static_cast<size_t>(n) > MAX_INPUT_BYTES) {
            *why = "larger than 64 MiB";
            ok = false;
        } else {
            out->append(block, static_cast<size_t>(n));
        }
    }
    ::close(fd);
    return ok;
}
