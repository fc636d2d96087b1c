// The real game on Windows: the Win32 host around the game's entry, with
// the command line's recording and replay around the host. The command line
// is read as UTF-16 and handed on as UTF-8, so any file name works.
#include <cstdio>
#include <string>
#include <vector>

#include "hosts/win32/win32_host.h"
#include "hosts/win32/win32_parts.h"
#include "replay/session.h"
#include "shell/shell.h"
// After windows.h, which it needs.
#include <shellapi.h>

namespace {

std::vector<std::string> utf8_arguments() {
    std::vector<std::string> out;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return out;
    for (int i = 0; i < count; ++i) {
        const int n = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(n > 0 ? static_cast<size_t>(n) : 1, '\0');
        if (n > 0) WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, arg.data(), n, nullptr, nullptr);
        arg.resize(std::string(arg.c_str()).size());
        out.push_back(arg);
    }
    LocalFree(wide);
    return out;
}

// A windowed program has no console; started from one with nowhere else for
// its output to go, it writes to that console.
void find_console() {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    const bool out_missing = out == nullptr || out == INVALID_HANDLE_VALUE;
    const bool err_missing = err == nullptr || err == INVALID_HANDLE_VALUE;
    if (!(out_missing || err_missing) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
    if (out_missing && !std::freopen("CONOUT$", "w", stdout)) return;
    if (err_missing && !std::freopen("CONOUT$", "w", stderr)) return;
}

}  // namespace

int main() {
    find_console();
    const std::vector<std::string> arguments = utf8_arguments();
    std::vector<const char*> argv;
    for (const std::string& a : arguments) argv.push_back(a.c_str());
    GameOptions options;
    std::string error;
    if (!parse_game_options(static_cast<int>(argv.size()), argv.data(), &options, &error)) {
        std::fprintf(stderr, "zarvox: %s\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(GAME_USAGE, stdout);
        return 0;
    }
    install_win32_host();
    if (!start_session(options, &error)) {
        std::fprintf(stderr, "zarvox: %s\n", error.c_str());
        shut_down_win32_host();
        return 2;
    }
    const int result = game_main();
    const bool recorded = end_session();
    shut_down_win32_host();
    // The entry returns 1 after a normal shut-down, 0 when no window opened.
    return result == 1 && recorded ? 0 : 1;
}
