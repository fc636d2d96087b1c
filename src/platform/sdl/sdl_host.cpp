#include "platform/sdl/sdl_host.h"

#include <SDL.h>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/hosts/menu_bar.h"
#include "platform/message_queue.h"
#include "platform/resources.h"
#include "platform/sdl/key_map.h"
#include "platform/sdl/window_layout.h"

namespace {

constexpr int QUEUE_CAPACITY = 256;

SDL_Window* window = nullptr;
SDL_Renderer* renderer = nullptr;
SDL_Texture* game_texture = nullptr;
SDL_Texture* menu_texture = nullptr;
Size canvas = {};  // the menu bar and the game area, in logical pixels
int game_height = 0;
MenuBar menu;
bool menu_dirty = true;
bool fullscreen = false;
bool left_shift_down = false;
bool right_shift_down = false;
HeldKeys held_keys = {};  // Left, Right, Space and Escape by keyboard and pads

MessageQueue<QUEUE_CAPACITY> queue;

volatile std::sig_atomic_t quit_signalled = 0;
int64_t clock_origin_ns = 0;

void report(const char* what) {
    std::fprintf(stderr, "zarvox: %s: %s\n", what, SDL_GetError());
}

void push(const Message& m) {
    queue.push(m);
}

// While a message box is up, the thread that opened it waits for the box's
// own process (SDL shows boxes from a child process on X11). A quit signal
// closes the box, as a quit ends a modal box's loop on the desktop the game
// was made for, so the game winds down at once instead of waiting for a
// click that may never come.
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

// ---- Clock ----

// The clock counts whole milliseconds of CLOCK_MONOTONIC since the host was
// installed, and a sleep ends on those same millisecond ticks: sleep_ms(1)
// wakes just as the count moves on, so a frame waiting on its due tick is
// shown within the wake-up latency of it rather than up to a further
// millisecond late, and the 20 ms schedule stays absolute.
constexpr int64_t NS_PER_MS = 1000000;

int64_t monotonic_ns() {
    timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

uint32_t ticks_ms() {
    return static_cast<uint32_t>((monotonic_ns() - clock_origin_ns) / NS_PER_MS);
}

void sleep_ms(uint32_t ms) {
    const int64_t elapsed_ms = (monotonic_ns() - clock_origin_ns) / NS_PER_MS;
    const int64_t wake = clock_origin_ns + (elapsed_ms + ms) * NS_PER_MS;
    timespec until = {static_cast<time_t>(wake / 1000000000), static_cast<long>(wake % 1000000000)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

int local_milliseconds() {
    timespec now = {};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<int>(now.tv_nsec / 1000000);
}

// ---- Window ----

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

// Draws the menu bar and the last game frame, whole-factor scaled and
// centred, black around them.
CanvasPlacement current_placement() {
    int ow = 0, oh = 0;
    SDL_GetRendererOutputSize(renderer, &ow, &oh);
    return place_canvas({ow, oh}, canvas);
}

void render() {
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
    SDL_RenderPresent(renderer);
}

void toggle_fullscreen() {
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

void load_menu() {
    ResourceData data;
    if (find_resource("MENU", "MENU_MAIN", &data)) {
        parse_menu(data.bytes, data.size, &menu);
    } else {
        menu.count = 0;
    }
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

bool create_window(const char* caption, int width, int height) {
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
                              canvas.h, SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI);
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
    fit_window_to_desktop();
    SDL_ShowWindow(window);
    // The frame the window manager added is known only now.
    fit_window_to_desktop();
    render();
    return true;
}

// ---- Messages ----

// The canvas pixel under a window point, or (-1, -1) off the canvas.
void canvas_point(int x, int y, int* cx, int* cy) {
    const PixelDensity density = pixel_density();
    if (!output_to_canvas(current_placement(), canvas, points_to_pixels(x, density),
                          points_to_pixels(y, density), cx, cy)) {
        *cx = -1;
        *cy = -1;
    }
}

void translate_key(const SDL_KeyboardEvent& k) {
    const bool pressed = k.type == SDL_KEYDOWN;
    const SDL_Scancode code = k.keysym.scancode;
    if (code == SDL_SCANCODE_LSHIFT) left_shift_down = pressed;
    if (code == SDL_SCANCODE_RSHIFT) right_shift_down = pressed;
    KeyEvent e = {};
    e.pressed = pressed;
    e.repeat = k.repeat != 0;
    e.key = k.keysym.sym;
    e.scancode = code;
    e.modifiers = k.keysym.mod;
    e.other_shift_held = (code == SDL_SCANCODE_LSHIFT && right_shift_down) ||
                         (code == SDL_SCANCODE_RSHIFT && left_shift_down);
    const KeyRouting routing = route_key(e);
    if (routing.route == KeyRoute::Post) {
        const Message shared = share_keyboard_key(&held_keys, routing.message, e.repeat);
        if (shared.id != 0) push(shared);
    }
    if (routing.route == KeyRoute::ToggleFullscreen) toggle_fullscreen();
}

void translate(const SDL_Event& e) {
    int x = 0, y = 0;
    switch (e.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            translate_key(e.key);
            break;
        case SDL_MOUSEMOTION:
            canvas_point(e.motion.x, e.motion.y, &x, &y);
            if (menu_mouse_moved(&menu, x, y)) menu_dirty = true;
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button != SDL_BUTTON_LEFT) break;
            canvas_point(e.button.x, e.button.y, &x, &y);
            if (menu_mouse_pressed(&menu, x, y)) menu_dirty = true;
            break;
        case SDL_MOUSEBUTTONUP: {
            if (e.button.button != SDL_BUTTON_LEFT) break;
            canvas_point(e.button.x, e.button.y, &x, &y);
            uint32_t command = 0;
            if (menu_mouse_released(&menu, x, y, &command)) menu_dirty = true;
            if (command != 0) push(Message{WM_COMMAND, command, 0});
            break;
        }
        case SDL_WINDOWEVENT:
            switch (e.window.event) {
                case SDL_WINDOWEVENT_CLOSE:
                    push(Message{WM_CLOSE, 0, 0});
                    break;
                case SDL_WINDOWEVENT_LEAVE:
                    if (menu_mouse_moved(&menu, -1, -1)) menu_dirty = true;
                    break;
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    render();
                    break;
                default:
                    break;
            }
            break;
        // SDL_QUIT is ignored: the close button arrives as the window's close
        // event and the quit signals are caught by the host itself.
        default: {
            KeyMessages pad = {};
            if (sdl_translate_pad_event(e, &held_keys, &pad)) {
                for (int i = 0; i < pad.count; ++i) push(pad.list[i]);
            }
            break;
        }
    }
}

bool take_message(Message* out) {
    if (quit_signalled) {
        quit_signalled = 0;
        *out = Message{WM_QUIT, 0, 0};
        return true;
    }
    if (window) {
        SDL_Event e;
        while (queue.empty() && SDL_PollEvent(&e)) translate(e);
    }
    return queue.pop(out);
}

void post_message(const Message& m) {
    push(m);
}

// ---- Presenting and boxes ----

void no_op() {}

void show_frame(const uint32_t* pixels, int, int, int pitch) {
    if (!window) return;
    SDL_UpdateTexture(game_texture, nullptr, pixels, pitch);
    render();
}

void message_box(const char* text, const char* caption) {
    if (quit_signalled) return;  // quitting already: nobody is there to read it
    box_open = 1;
    const int shown = SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, window);
    box_open = 0;
    if (shown != 0 && !quit_signalled) std::fprintf(stderr, "zarvox: %s: %s\n", caption, text);
}

void note_sound(int) {}
void note_tune_call(const char*) {}

const Host sdl_host = {
    .ticks_ms = ticks_ms,
    .sleep_ms = sleep_ms,
    .local_milliseconds = local_milliseconds,
    .create_window = create_window,
    .take_message = take_message,
    .post_message = post_message,
    .frame_started = no_op,
    .show_frame = show_frame,
    .frame_finished = no_op,
    .message_box = message_box,
    .open_audio = sdl_open_audio,
    .lock_audio = sdl_lock_audio,
    .unlock_audio = sdl_unlock_audio,
    .close_audio = sdl_close_audio,
    .note_sound = note_sound,
    .note_tune_call = note_tune_call,
};

}  // namespace

void install_sdl_host() {
    clock_origin_ns = monotonic_ns();
    // Wake from sleeps on time: the default slack of 50 us is a twentieth
    // of the frame's millisecond steps.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    std::snprintf(children_path, sizeof children_path, "/proc/self/task/%ld/children",
                  static_cast<long>(syscall(SYS_gettid)));
    struct sigaction action = {};
    action.sa_handler = on_quit_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);  // the terminal that started the game closed
    install_host(&sdl_host);
}

void shut_down_sdl_host() {
    sdl_close_audio();
    sdl_close_pads();
    held_keys = {};
    if (game_texture) SDL_DestroyTexture(game_texture);
    if (menu_texture) SDL_DestroyTexture(menu_texture);
    if (renderer) SDL_DestroyRenderer(renderer);
    if (window) SDL_DestroyWindow(window);
    game_texture = menu_texture = nullptr;
    renderer = nullptr;
    window = nullptr;
    fullscreen = false;
    left_shift_down = right_shift_down = false;
    queue.clear();
    SDL_Quit();
}

SDL_Window* sdl_host_window() {
    return window;
}
