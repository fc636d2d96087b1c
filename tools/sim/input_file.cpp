#include "sim/input_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/file_io.h"

namespace {

constexpr long long MAX_INPUT_BYTES = 64 << 20;

}  // namespace

bool read_input(const std::string& path, std::string* out, std::string* why) {
    // Not blocking: a pipe with no writer must not hang the runner.
    bool not_regular = false;
    long long size = 0;
    std::FILE* in = open_regular_file(path.c_str(), &not_regular, &size);
    if (!in) {
        *why = not_regular ? "not a regular file" : std::strerror(errno);
        return false;
    }
    bool ok = true;
    if (size > MAX_INPUT_BYTES) {
        *why = "larger than 64 MiB";
        ok = false;
    }
    out->clear();
    char block[1 << 16];
    while (ok) {
        const size_t n = std::fread(block, 1, sizeof block, in);
        if (n == 0) {
            if (std::ferror(in)) {
                *why = std::strerror(errno);
                ok = false;
            }
            break;
        }
        if (out->size() + n > MAX_INPUT_BYTES) {
            *why = "larger than 64 MiB";
            ok = false;
        } else {
            out->append(block, n);
        }
    }
    std::fclose(in);
    return ok;
}
