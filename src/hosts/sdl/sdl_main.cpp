// The real game: the SDL host around the game's entry, with the command
// line's recording and replay around the host.
#include <cstdio>
#include <string>

#include "hosts/sdl/sdl_host.h"
#include "replay/session.h"
#include "shell/shell.h"

int main(int argc, char** argv) {
    GameOptions options;
    std::string error;
    if (!parse_game_options(argc, argv, &options, &error)) {
        std::fprintf(stderr, "zarvox: %s\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(GAME_USAGE, stdout);
        return 0;
    }
    install_sdl_host();
    if (!start_session(options, &error)) {
        std::fprintf(stderr, "zarvox: %s\n", error.c_str());
        return 2;
    }
    const int result = game_main();
    const bool recorded = end_session();
    shut_down_sdl_host();
    // The entry returns 1 after a normal shut-down, 0 when no window opened.
    return result == 1 && recorded ? 0 : 1;
}
