// The Win32 host's table, its clock and its quit signals.
#include "hosts/win32/win32_host.h"

#include "hosts/win32/win32_parts.h"
// After windows.h, which these need.
#include <mmsystem.h>

namespace {

LARGE_INTEGER counter_origin = {};
LARGE_INTEGER counter_rate = {};
bool period_set = false;
volatile LONG quit_signalled = 0;

void no_op() {}

// A paused game is held in its frame wait, before the sleep.
void sleep_or_hold(uint32_t ms) {
    win32_hold_while_paused();
    win32_sleep_ms(ms);
}
// The frame wait: held while paused, then asleep until the frame's tick or
// the next message, whichever comes first (at the 1 ms timer period).
void wait_until(uint32_t due_ms) {
    win32_hold_while_paused();
    const int32_t left = static_cast<int32_t>(due_ms - win32_ticks_ms());
    if (left <= 0) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
}

void note_sound(int) {}
void note_tune_call(const char*) {}

BOOL WINAPI console_control(DWORD) {
    InterlockedExchange(&quit_signalled, 1);
    return TRUE;  // the game quits by itself, through its shut-down order
}

int64_t elapsed_counts() {
    LARGE_INTEGER now = {};
    QueryPerformanceCounter(&now);
    return now.QuadPart - counter_origin.QuadPart;
}

// Per-monitor DPI awareness, as new a kind as this Windows offers: the
// window is then sized in real pixels and never blurred by scaling.
void become_dpi_aware() {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    using SetContext = BOOL(WINAPI*)(HANDLE);
    const auto set_context = system_function<SetContext>(user32, "SetProcessDpiAwarenessContext");
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, then _PER_MONITOR_AWARE.
    if (set_context &&
        (set_context(reinterpret_cast<HANDLE>(-4)) || set_context(reinterpret_cast<HANDLE>(-3))))
        return;
    SetProcessDPIAware();
}

const Host win32_host = {
    .ticks_ms = win32_ticks_ms,
    .sleep_ms = sleep_or_hold,
    .local_milliseconds = win32_local_milliseconds,
    .create_window = win32_create_window,
    .take_message = win32_take_message,
    .post_message = win32_post_message,
    .frame_started = no_op,
    .show_frame = win32_show_frame,
    .frame_finished = no_op,
    .message_box = win32_message_box,
    .open_audio = win32_open_audio,
    .lock_audio = win32_lock_audio,
    .unlock_audio = win32_unlock_audio,
    .close_audio = win32_close_audio,
    .note_sound = note_sound,
    .note_tune_call = note_tune_call,
    .wait_until = wait_until,
};

}  // namespace

uint32_t win32_ticks_ms() {
    return static_cast<uint32_t>(elapsed_counts() * 1000 / counter_rate.QuadPart);
}

// At a 1 ms timer period (timeBeginPeriod), Sleep(1) wakes about a
// millisecond later: under Wine more steadily than a waitable timer, even a
// high-resolution one, which measured later on average.
void win32_sleep_ms(uint32_t ms) {
    Sleep(ms);
}

int win32_local_milliseconds() {
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    return now.wMilliseconds;
}

bool take_quit_signal() {
    return InterlockedExchange(&quit_signalled, 0) != 0;
}

void install_win32_host() {
    become_dpi_aware();
    QueryPerformanceFrequency(&counter_rate);
    QueryPerformanceCounter(&counter_origin);
    period_set = timeBeginPeriod(1) == TIMERR_NOERROR;
    SetConsoleCtrlHandler(console_control, TRUE);
    install_host(&win32_host);
}

void shut_down_win32_host() {
    win32_close_audio();
    win32_destroy_window();
    if (period_set) timeEndPeriod(1);
    period_set = false;
}
