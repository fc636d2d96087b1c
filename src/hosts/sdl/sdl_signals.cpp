// The quit signals and the message box. SIGINT, SIGTERM and SIGHUP (the
// terminal that started the game closed) become the quit message.
//
// While a message box is up, the thread that opened it waits for the box's
// own process (SDL shows boxes from a child process on X11). A quit signal
// closes the box, as a quit ends a modal box's loop on the desktop the game
// was made for, so the game winds down at once instead of waiting for a
// click that may never come.
#include <SDL.h>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include "hosts/sdl/sdl_host.h"
#include "hosts/sdl/sdl_parts.h"

namespace {

volatile std::sig_atomic_t quit_signalled = 0;
volatile std::sig_atomic_t box_open = 0;
char children_path[64] = "";

void close_open_box() {
    const int fd = open(children_path, O_RDONLY);
    if (fd < 0) return;
    char text[256];
    const ssize_t n = read(fd, text, sizeof text - 1);
    close(fd);
    pid_t pid = 0;
    for (ssize_t i = 0; i <= n; ++i) {
        if (i < n && text[i] >= '0' && text[i] <= '9') {
            pid = pid * 10 + (text[i] - '0');
            continue;
        }
        if (pid > 0) kill(pid, SIGKILL);
        pid = 0;
    }
}

extern "C" void on_quit_signal(int) {
    const int saved_errno = errno;
    quit_signalled = 1;
    if (box_open) close_open_box();
    errno = saved_errno;
}

}  // namespace

void catch_quit_signals() {
    std::snprintf(children_path, sizeof children_path, "/proc/self/task/%ld/children",
                  static_cast<long>(syscall(SYS_gettid)));
    struct sigaction action = {};
    action.sa_handler = on_quit_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

bool quit_signal_waiting() {
    return quit_signalled != 0;
}

bool take_quit_signal() {
    if (!quit_signalled) return false;
    quit_signalled = 0;
    return true;
}

void sdl_message_box(const char* text, const char* caption) {
    if (quit_signalled) return;  // quitting already: nobody is there to read it
    box_open = 1;
    const int shown =
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, sdl_host_window());
    box_open = 0;
    if (shown != 0 && !quit_signalled) std::fprintf(stderr, "zarvox: %s: %s\n", caption, text);
}
