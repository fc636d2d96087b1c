// The real game: the SDL host around the game's entry, with the command
// line's recording and replay around the host.
#include <cstdio>
#include <string>

#include "hosts/sdl/sdl_host.h"
#include "replay/session.h"
#include "shell/shell.h"

namespace {

const char* const USAGE =
    "Usage: zarvox [--record FILE] [--record-hashes FILE] [--replay FILE]\n"
    "Plays Zarvox in a window.\n"
    "\n"
    "  --record FILE         write the keys of this game down, to replay it later\n"
    "  --record-hashes FILE  write the hash of every frame shown\n"
    "  --replay FILE         play a recorded game back\n"
    "  --help                print this and exit\n"
    "\n"
    "Keys: arrows move, Space fires, Escape quits, P (or Pause, or a controller's\n"
    "Start) pauses and plays on, M mutes, - and + (or [ and ]) set the volume,\n"
    "F11 or Alt+Enter toggles fullscreen. The game pauses when its window loses\n"
    "the focus. The volume is kept in zarvox-settings.txt beside PlayData.dat.\n";

}  // namespace

int main(int argc, char** argv) {
    GameOptions options;
    std::string error;
    if (!parse_game_options(argc, argv, &options, &error)) {
        std::fprintf(stderr, "zarvox: %s\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(USAGE, stdout);
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
