// The real game: the SDL host around the game's entry.
#include "platform/sdl/sdl_host.h"
#include "shell/shell.h"

int main() {
    install_sdl_host();
    const int result = game_main();
    shut_down_sdl_host();
    // The entry returns 1 after a normal shut-down, 0 when no window opened.
    return result == 1 ? 0 : 1;
}
