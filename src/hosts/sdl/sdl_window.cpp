// The SDL host's window: the menu bar above the game area, both scaled by
// the largest whole factor that fits and centred on black, and fullscreen.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "hosts/common/bitmap_font.h"
#include "hosts/common/menu_bar.h"
#include "hosts/sdl/sdl_host.h"
#include "hosts/sdl/sdl_parts.h"
#include "hosts/sdl/window_layout.h"

namespace {

SDL_Window* window = nullptr;
SDL_Renderer* renderer = nullptr;
SDL_Texture* game_texture = nullptr;
SDL_Texture* menu_texture = nullptr;
Size canvas = {};  // the menu bar and the game area, in logical pixels
int game_height = 0;
MenuBar menu;
bool menu_dirty = true;
bool fullscreen = false;
SDL_Texture* pause_texture = nullptr;
bool paused = false;

void report(const char* what) {
    std::fprintf(stderr, "zarvox: %s: %s\n", what, SDL_GetError());
}

PixelDensity pixel_density() {
    int ww = 0, wh = 0, ow = 0, oh = 0;
    SDL_GetWindowSize(window, &ww, &wh);
    if (SDL_GetRendererOutputSize(renderer, &ow, &oh) != 0 || ww <= 0 || ow <= 0) return {1, 1};
    return {ow, ww};
}

// Sizes the window to the largest whole scale the desktop's free area holds
// (less the window manager's frame, once known) and centres it there.
void fit_window_to_desktop() {
    const PixelDensity density = pixel_density();
    int display = SDL_GetWindowDisplayIndex(window);
    if (display < 0) display = 0;
    SDL_Rect usable = {0, 0, canvas.w, canvas.h};
    if (SDL_GetDisplayUsableBounds(display, &usable) != 0) SDL_GetDisplayBounds(display, &usable);
    int top = 0, left = 0, bottom = 0, right = 0;
    if (SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) != 0)
        top = left = bottom = right = 0;
    const Size frame = {left + right, top + bottom};
    const int scale = window_scale({usable.w, usable.h}, frame, density, canvas);
    const Size size = window_points(scale, density, canvas);
    SDL_SetWindowSize(window, size.w, size.h);
    SDL_SetWindowPosition(window, usable.x + left + (usable.w - frame.w - size.w) / 2,
                          usable.y + top + (usable.h - frame.h - size.h) / 2);
}

void draw_menu_texture() {
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(menu_texture, nullptr, &pixels, &pitch) != 0) return;
    draw_menu_bar(menu, static_cast<uint32_t*>(pixels), pitch / 4, canvas.w);
    SDL_UnlockTexture(menu_texture);
    menu_dirty = false;
}

void clear_game_texture() {
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(game_texture, nullptr, &pixels, &pitch) != 0) return;
    for (int y = 0; y < game_height; ++y)
        std::memset(static_cast<uint8_t*>(pixels) + y * pitch, 0, canvas.w * 4);
    SDL_UnlockTexture(game_texture);
}

// The pause's veil over the game area: the last frame dimmed, "PAUSED" and
// how to go on, drawn in the window's own font at three and one times.
SDL_Texture* make_pause_texture() {
    SDL_Texture* t = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC,
                                       canvas.w, game_height);
    if (!t) return nullptr;
    SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(t, SDL_ScaleModeNearest);
    const int w = canvas.w, h = game_height;
    uint32_t* veil = static_cast<uint32_t*>(SDL_malloc(sizeof(uint32_t) * w * h));
    if (!veil) return t;
    for (int i = 0; i < w * h; ++i) veil[i] = 0xB0000000;
    constexpr uint32_t WHITE = 0xFFFFFFFF;
    const char* word = "PAUSED";
    constexpr int BIG = 3;
    uint32_t small[FONT_GLYPH_HEIGHT * 64] = {};
    const int word_w = text_width(word);
    draw_text(small, 64, 64, FONT_GLYPH_HEIGHT, 0, 0, word, WHITE);
    const int x0 = (w - word_w * BIG) / 2, y0 = h / 2 - FONT_GLYPH_HEIGHT * BIG;
    for (int y = 0; y < FONT_GLYPH_HEIGHT * BIG; ++y)
        for (int x = 0; x < word_w * BIG; ++x)
            if (small[(y / BIG) * 64 + x / BIG] == WHITE) veil[(y0 + y) * w + x0 + x] = WHITE;
    const char* hint = "P plays on, Esc quits";
    draw_text(veil, w, w, h, (w - text_width(hint)) / 2, h / 2 + 12, hint, 0xFFC8C8D0);
    SDL_UpdateTexture(t, nullptr, veil, w * 4);
    SDL_free(veil);
    return t;
}

CanvasPlacement current_placement() {
    int ow = 0, oh = 0;
    SDL_GetRendererOutputSize(renderer, &ow, &oh);
    return place_canvas({ow, oh}, canvas);
}

void load_menu() {
    load_game_menu(&menu);
    menu_dirty = true;
}

SDL_Texture* make_texture(int width, int height) {
    SDL_Texture* t = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888,
                                       SDL_TEXTUREACCESS_STREAMING, width, height);
    if (t) SDL_SetTextureScaleMode(t, SDL_ScaleModeNearest);
    return t;
}

bool try_video_driver(const char* name) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, name);
    return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

// Starts SDL's video on a real display. A driver named in SDL_VIDEODRIVER is
// taken as given; otherwise only X11 and Wayland are tried, each only when
// its display is named, because SDL would fall back to an invisible
// off-screen window and the game would run unseen.
bool start_video() {
    if (SDL_Init(SDL_INIT_EVENTS) != 0) {
        report("cannot start SDL");
        return false;
    }
    const char* chosen = std::getenv("SDL_VIDEODRIVER");
    if (chosen && *chosen) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
        report("cannot open a display");
        return false;
    }
    const bool x11 = std::getenv("DISPLAY") && *std::getenv("DISPLAY");
    const bool wayland = std::getenv("WAYLAND_DISPLAY") && *std::getenv("WAYLAND_DISPLAY");
    if (!x11 && !wayland) {
        std::fprintf(stderr,
                     "zarvox: cannot open a display: neither DISPLAY nor "
                     "WAYLAND_DISPLAY is set\n");
        return false;
    }
    if (x11 && try_video_driver("x11")) return true;
    if (wayland && try_video_driver("wayland")) return true;
    const char* name = x11 ? std::getenv("DISPLAY") : std::getenv("WAYLAND_DISPLAY");
    std::fprintf(stderr, "zarvox: cannot open a display: %s (display \"%s\")\n", SDL_GetError(),
                 name);
    return false;
}

}  // namespace

bool sdl_create_window(const char* caption, int width, int height) {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_APP_NAME, "zarvox");
    // The window class lets desktops match the window to an icon.
    SDL_SetHint("SDL_VIDEO_X11_WMCLASS", "zarvox");
    setenv("SDL_VIDEO_X11_WMCLASS", "zarvox", 0);
    setenv("SDL_VIDEO_WAYLAND_WMCLASS", "zarvox", 0);
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    // The game paces itself; waiting for the display would throw it off.
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");

    if (!start_video()) return false;
    // Sound is optional: without a card the game plays silently, and
    // open_audio reports why.
    SDL_InitSubSystem(SDL_INIT_AUDIO);
    sdl_open_pads();

    load_menu();
    canvas = {width, MENU_BAR_HEIGHT + height};
    game_height = height;
    window = SDL_CreateWindow(caption, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, canvas.w,
                              canvas.h,
                              SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_RESIZABLE);
    if (!window) {
        report("cannot create the window");
        return false;
    }
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer) {
        report("cannot draw in the window");
        return false;
    }
    game_texture = make_texture(width, height);
    menu_texture = make_texture(width, MENU_BAR_HEIGHT);
    if (!game_texture || !menu_texture) {
        report("cannot draw in the window");
        return false;
    }
    clear_game_texture();
    // Any size from the canvas up: the picture keeps to whole scales, centred.
    SDL_SetWindowMinimumSize(window, canvas.w, canvas.h);
    sdl_load_settings();
    fit_window_to_desktop();
    SDL_ShowWindow(window);
    // The frame the window manager added is known only now.
    fit_window_to_desktop();
    sdl_render();
    return true;
}

// Draws the menu bar and the last game frame, whole-factor scaled and
// centred, black around them.
void sdl_render() {
    if (menu_dirty) draw_menu_texture();
    const CanvasPlacement placement = current_placement();
    const int s = placement.scale;
    const SDL_Rect bar = {placement.x, placement.y, canvas.w * s, MENU_BAR_HEIGHT * s};
    const SDL_Rect game = {placement.x, placement.y + MENU_BAR_HEIGHT * s, canvas.w * s,
                           game_height * s};
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, menu_texture, nullptr, &bar);
    SDL_RenderCopy(renderer, game_texture, nullptr, &game);
    if (paused) {
        if (!pause_texture) pause_texture = make_pause_texture();
        if (pause_texture) SDL_RenderCopy(renderer, pause_texture, nullptr, &game);
    }
    SDL_RenderPresent(renderer);
}

void sdl_show_frame(const uint32_t* pixels, int, int, int pitch) {
    if (!window) return;
    SDL_UpdateTexture(game_texture, nullptr, pixels, pitch);
    sdl_render();
}

void sdl_show_paused(bool on) {
    paused = on;
    if (window) sdl_render();
}

void sdl_toggle_fullscreen() {
    static Size windowed = {};
    if (!fullscreen) {
        SDL_GetWindowSize(window, &windowed.w, &windowed.h);
        if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0) fullscreen = true;
        return;
    }
    if (SDL_SetWindowFullscreen(window, 0) != 0) return;
    fullscreen = false;
    // Not every video driver gives the window its old size back.
    SDL_SetWindowSize(window, windowed.w, windowed.h);
}

void sdl_canvas_point(int x, int y, int* cx, int* cy) {
    const PixelDensity density = pixel_density();
    if (!output_to_canvas(current_placement(), canvas, points_to_pixels(x, density),
                          points_to_pixels(y, density), cx, cy)) {
        *cx = -1;
        *cy = -1;
    }
}

MenuBar* sdl_menu() {
    return &menu;
}

void sdl_menu_changed() {
    menu_dirty = true;
}

void sdl_destroy_window() {
    if (game_texture) SDL_DestroyTexture(game_texture);
    if (menu_texture) SDL_DestroyTexture(menu_texture);
    if (pause_texture) SDL_DestroyTexture(pause_texture);
    pause_texture = nullptr;
    paused = false;
    if (renderer) SDL_DestroyRenderer(renderer);
    if (window) SDL_DestroyWindow(window);
    game_texture = menu_texture = nullptr;
    renderer = nullptr;
    window = nullptr;
    fullscreen = false;
}

SDL_Window* sdl_host_window() {
    return window;
}
