// The socket of the window system's connection, which the frame wait watches
// for the window's events. Kept apart from the host's other files because
// the system window header brings in Xlib's macros.
#include <SDL.h>
#include <SDL_syswm.h>

#include "hosts/sdl/sdl_host.h"
#include "hosts/sdl/sdl_parts.h"

int sdl_display_fd() {
    SDL_Window* window = sdl_host_window();
    if (!window) return -1;
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11)
        return ConnectionNumber(info.info.x11.display);
#endif
    return -1;
}
