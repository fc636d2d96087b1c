// Looking ahead by forking: the child is the whole game at this very frame,
// so it plays on exactly as the real run would. It keeps silent (the runner
// skips its trace and shots, saves are made to fail before the file opens)
// and sends its findings through a pipe. The parent only reads into fixed
// storage, so it allocates nothing.
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "hosts/headless/headless_host.h"
#include "platform/file_io.h"
#include "platform/play_data.h"
#include "sim/autoplay_internal.h"

namespace autoplay {

unsigned char lookahead_data[LOOKAHEAD_BYTES];

namespace {

bool child = false;
ChildStep child_step = nullptr;
int report_fd = -1;
size_t report_size = 0;

}  // namespace

bool in_lookahead() {
    return child;
}

long look_ahead(ChildStep step) {
    int fds[2];
    if (::pipe(fds) != 0) return -1;
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return -1;
    }
    if (pid == 0) {
        ::close(fds[0]);
        child = true;
        child_step = step;
        report_fd = fds[1];
        report_size = 0;
        inject_save_fault(SaveFault::Open);  // "PlayData.dat" is never touched
        headless_stop_audio_observer();      // nor is the --audio WAVE
        return 0;
    }
    ::close(fds[1]);
    size_t got = 0;
    for (;;) {
        unsigned char* to = got < LOOKAHEAD_BYTES ? lookahead_data + got : nullptr;
        unsigned char spill[4096];
        const ssize_t n =
            ::read(fds[0], to ? to : spill, to ? LOOKAHEAD_BYTES - got : sizeof spill);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        if (to) got += static_cast<size_t>(n);
    }
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return static_cast<long>(got);
}

void report(const void* data, size_t size) {
    if (report_size + size > LOOKAHEAD_BYTES) finish_lookahead();
    std::memcpy(lookahead_data + report_size, data, size);
    report_size += size;
}

void finish_lookahead() {
    const bool sent = write_fully(report_fd, lookahead_data, report_size);
    ::_exit(sent ? 0 : 1);  // _exit: the parent's buffered output must never be flushed twice
}

Keys child_keys(int frame) {
    return child_step(frame);
}

}  // namespace autoplay
