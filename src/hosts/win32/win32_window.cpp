// The Win32 host's window: captioned, centred, with a system menu, a
// minimise box and the real menu bar "Salir" from the resource script. The
// picture is scaled by the largest whole factor that fits, with no
// smoothing, and centred on black; Alt+Enter and F11 toggle borderless
// fullscreen. Window messages become the game's messages in a queue that
// keeps its last places for quitting. P, Pause or a controller's Start
// pause (and so does losing the focus), M mutes, - and + set the volume, as
// in the other hosts.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "hosts/common/bitmap_font.h"
#include "hosts/common/pause.h"
#include "hosts/common/settings.h"
#include "hosts/win32/win32_parts.h"
#include "hosts/win32/win32_resources.h"
#include "platform/message_queue.h"
#include "platform/output_level.h"
#include "services/present.h"

namespace {

constexpr wchar_t CLASS_NAME[] = L"ZarvoxWindow";
constexpr DWORD WINDOWED_STYLE = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int QUEUE_CAPACITY = 256;
constexpr UINT DPI_CHANGED = 0x02E0;  // WM_DPICHANGED, newer than some headers

HWND window = nullptr;
int game_width = 0;
int game_height = 0;
std::vector<uint32_t> picture;  // the last frame shown, for repainting
bool have_picture = false;
BITMAPINFO picture_info = {};
bool fullscreen = false;
WINDOWPLACEMENT windowed_place = {};

MessageQueue<QUEUE_CAPACITY> queue;
HeldKeys held_keys = {};   // Left, Right, Space and Escape by keyboard and pads
bool keys_down[256] = {};  // keys the game was told are down, for focus loss

PauseGate pause_gate;
bool pause_shown = false;
std::vector<uint32_t> veiled;  // the last frame dimmed under "PAUSED"
PlayerSettings settings;

void repaint();

void apply_volume() {
    set_output_gain(volume_gain(settings.volume, VOLUME_STEPS, settings.muted));
}

// The pause's veil over the game area: the last frame dimmed, "PAUSED" and
// how to go on, in the window furniture's own font at three and one times.
void make_veil() {
    veiled.resize(picture.size());
    for (size_t i = 0; i < picture.size(); ++i) {
        const uint32_t p = picture[i];
        const uint32_t r = (p >> 16 & 0xFF) * 80 / 256, g = (p >> 8 & 0xFF) * 80 / 256,
                       b = (p & 0xFF) * 80 / 256;
        veiled[i] = r << 16 | g << 8 | b;
    }
    constexpr uint32_t WHITE = 0xFFFFFF;
    constexpr int BIG = 3;
    const char* word = "PAUSED";
    uint32_t small[FONT_GLYPH_HEIGHT * 64] = {};
    const int word_w = text_width(word);
    draw_text(small, 64, 64, FONT_GLYPH_HEIGHT, 0, 0, word, WHITE);
    const int w = game_width, h = game_height;
    const int x0 = (w - word_w * BIG) / 2, y0 = h / 2 - FONT_GLYPH_HEIGHT * BIG;
    for (int y = 0; y < FONT_GLYPH_HEIGHT * BIG; ++y)
        for (int x = 0; x < word_w * BIG; ++x)
            if (small[(y / BIG) * 64 + x / BIG] == WHITE) veiled[(y0 + y) * w + x0 + x] = WHITE;
    const char* hint = "P plays on, Esc quits";
    draw_text(veiled.data(), w, w, h, (w - text_width(hint)) / 2, h / 2 + 12, hint, 0xC8C8D0);
}

// The window and the sound follow the pause as it starts or ends.
void pause_changed() {
    const bool paused = is_paused(pause_gate);
    if (paused == pause_shown) return;
    pause_shown = paused;
    hold_output(paused);
    if (paused && !picture.empty()) make_veil();
    repaint();
}

// The player's messages pass the pause on their way to the game.
void push(const Message& m) {
    if (pause_admit(&pause_gate, m)) queue.push(m);
    pause_changed();
}

void use_host_key(HostKey key) {
    if (key == HostKey::Pause) {
        toggle_pause(&pause_gate);
        pause_changed();
        return;
    }
    if (!change_settings_for(key, &settings)) return;
    apply_volume();
    save_settings(SETTINGS_FILE, settings);
}

void pad_start() {
    use_host_key(HostKey::Pause);
}

// UTF-8 to UTF-16 for the wide calls; longer text is cut.
void widen(const char* text, wchar_t* out, int size) {
    if (MultiByteToWideChar(CP_UTF8, 0, text, -1, out, size) <= 0) out[0] = L'\0';
    out[size - 1] = L'\0';
}

UINT dpi_of(HWND w) {
    using GetDpi = UINT(WINAPI*)(HWND);
    static const auto get_dpi =
        system_function<GetDpi>(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
    const UINT dpi = get_dpi ? get_dpi(w) : 0;
    return dpi ? dpi : 96;
}

// The frame, caption and menu bar around a client area, in pixels at `dpi`.
SIZE frame_size(UINT dpi) {
    using Adjust = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjust =
        system_function<Adjust>(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi");
    RECT r = {0, 0, 0, 0};
    if (!adjust || !adjust(&r, WINDOWED_STYLE, TRUE, 0, dpi))
        AdjustWindowRectEx(&r, WINDOWED_STYLE, TRUE, 0);
    return {r.right - r.left, r.bottom - r.top};
}

// The largest whole factor at which the game fits in `w` by `h`; at least 1.
int whole_scale(int w, int h) {
    const int scale = std::min(w / game_width, h / game_height);
    return scale < 1 ? 1 : scale;
}

// Sizes the window to the largest whole scale that the work area of its
// monitor holds and centres it there. With `place`, the window goes where
// Windows suggested (a move to a monitor of another DPI).
void fit_window(const RECT* place) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info);
    const RECT& area = info.rcWork;
    const SIZE frame = frame_size(dpi_of(window));
    const int scale =
        whole_scale(area.right - area.left - frame.cx, area.bottom - area.top - frame.cy);
    const int w = game_width * scale + frame.cx;
    const int h = game_height * scale + frame.cy;
    const int x = place ? place->left : area.left + (area.right - area.left - w) / 2;
    const int y = place ? place->top : area.top + (area.bottom - area.top - h) / 2;
    SetWindowPos(window, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The picture centred in the client area at the largest whole scale, the
// rest black. When even scale 1 does not fit it keeps to the top-left.
void paint(HDC dc) {
    RECT client = {};
    GetClientRect(window, &client);
    const int cw = client.right, ch = client.bottom;
    const int scale = whole_scale(cw, ch);
    const int w = game_width * scale, h = game_height * scale;
    const int x = w < cw ? (cw - w) / 2 : 0;
    const int y = h < ch ? (ch - h) / 2 : 0;
    const HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    const RECT around[] = {
        {0, 0, cw, y}, {0, y + h, cw, ch}, {0, y, x, y + h}, {x + w, y, cw, y + h}};
    for (const RECT& r : around)
        if (r.right > r.left && r.bottom > r.top) FillRect(dc, &r, black);
    if (pause_shown && veiled.size() == picture.size() && have_picture) {
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, x, y, w, h, 0, 0, game_width, game_height, veiled.data(), &picture_info,
                      DIB_RGB_COLORS, SRCCOPY);
        return;
    }
    if (!have_picture) {
        const RECT r = {x, y, x + w, y + h};
        FillRect(dc, &r, black);
        return;
    }
    SetStretchBltMode(dc, COLORONCOLOR);  // whole pixels, no smoothing
    StretchDIBits(dc, x, y, w, h, 0, 0, game_width, game_height, picture.data(), &picture_info,
                  DIB_RGB_COLORS, SRCCOPY);
}

void repaint() {
    if (!window) return;
    const HDC dc = GetDC(window);
    paint(dc);
    ReleaseDC(window, dc);
}

void toggle_fullscreen() {
    if (!fullscreen) {
        windowed_place.length = sizeof windowed_place;
        GetWindowPlacement(window, &windowed_place);
        MONITORINFO info = {};
        info.cbSize = sizeof info;
        GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
        const RECT& m = info.rcMonitor;
        SetWindowLongPtrW(window, GWL_STYLE, WS_POPUP | WS_VISIBLE);
        SetWindowPos(window, HWND_TOP, m.left, m.top, m.right - m.left, m.bottom - m.top,
                     SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
        fullscreen = true;
    } else {
        SetWindowLongPtrW(window, GWL_STYLE, WINDOWED_STYLE | WS_VISIBLE);
        SetWindowPlacement(window, &windowed_place);
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
        fullscreen = false;
    }
    InvalidateRect(window, nullptr, FALSE);
}

void post_key(const Message& m, bool repeat) {
    if (m.id == WM_KEYDOWN || m.id == WM_SYSKEYDOWN) keys_down[m.wparam & 0xFF] = true;
    if (m.id == WM_KEYUP) keys_down[m.wparam & 0xFF] = false;
    const Message shared = share_keyboard_key(&held_keys, m, repeat);
    if (shared.id != 0) push(shared);
}

// The window lost the keyboard: every key the game holds is let go, so no
// key stays held while the player is elsewhere.
void release_keys() {
    for (uint32_t vk = 0; vk < 256; ++vk)
        if (keys_down[vk]) post_key(Message{WM_KEYUP, vk, 0}, false);
}

void key_message(UINT message, WPARAM wparam, LPARAM lparam) {
    Win32Key key = {};
    key.message = message;
    key.vk = static_cast<uint32_t>(wparam);
    key.repeat = (lparam & (1 << 30)) != 0 && (message == WM_KEYDOWN || message == WM_SYSKEYDOWN);
    key.alt = (lparam & (1 << 29)) != 0;
    if (key.vk == VK_SHIFT && (message == WM_KEYUP || message == WM_SYSKEYUP))
        key.other_shift_held =
            (GetKeyState(VK_LSHIFT) & 0x8000) != 0 || (GetKeyState(VK_RSHIFT) & 0x8000) != 0;
    // The host's own keys never reach the game, pressed or released.
    const bool modified = key.alt || (GetKeyState(VK_CONTROL) & 0x8000) ||
                          (GetKeyState(VK_LWIN) & 0x8000) || (GetKeyState(VK_RWIN) & 0x8000);
    const HostKey own = modified ? HostKey::None : host_key_for(key.vk);
    if (own != HostKey::None) {
        if ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && !key.repeat) use_host_key(own);
        return;
    }
    const KeyRouting routing = route_win32_key(key);
    if (routing.route == KeyRoute::Post) post_key(routing.message, key.repeat);
    if (routing.route == KeyRoute::ToggleFullscreen) toggle_fullscreen();
}

LRESULT CALLBACK window_procedure(HWND w, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CLOSE:
            push(Message{WM_CLOSE, 0, 0});
            return 0;
        case WM_COMMAND:
            if (LOWORD(wparam) == MENU_COMMAND_SALIR)
                push(Message{WM_COMMAND, MENU_COMMAND_SALIR, 0});
            return 0;
        case WM_KEYDOWN:
        case WM_KEYUP:
            key_message(message, wparam, lparam);
            return 0;
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
            // Windows sees them too: Alt and F10 open the menu, Alt+F4 closes.
            key_message(message, wparam, lparam);
            break;
        case WM_SYSCHAR:
            if (wparam == '\r') return 0;  // Alt+Enter toggled fullscreen: no beep
            break;
        // Answering a message elsewhere must not cost a life.
        case WM_KILLFOCUS:
            release_keys();
            pause_for(&pause_gate, PAUSE_BY_FOCUS, true);
            pause_changed();
            break;
        case WM_SETFOCUS:
            pause_for(&pause_gate, PAUSE_BY_FOCUS, false);
            pause_changed();
            break;
        case WM_SIZE:
            if (wparam == SIZE_MINIMIZED) {
                pause_for(&pause_gate, PAUSE_BY_FOCUS, true);
                pause_changed();
            }
            break;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            const HDC dc = BeginPaint(w, &ps);
            paint(dc);
            EndPaint(w, &ps);
            return 0;
        }
        case DPI_CHANGED:
            if (!fullscreen) fit_window(reinterpret_cast<const RECT*>(lparam));
            return 0;
        default:
            break;
    }
    return DefWindowProcW(w, message, wparam, lparam);
}

}  // namespace

bool win32_create_window(const char* caption, int width, int height) {
    if (window) return true;
    game_width = width;
    game_height = height;
    picture.assign(static_cast<size_t>(width) * height, 0);
    picture_info.bmiHeader.biSize = sizeof picture_info.bmiHeader;
    picture_info.bmiHeader.biWidth = width;
    picture_info.bmiHeader.biHeight = -height;  // top-down
    picture_info.bmiHeader.biPlanes = 1;
    picture_info.bmiHeader.biBitCount = 32;
    picture_info.bmiHeader.biCompression = BI_RGB;

    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = window_procedure;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_ZARVOX));
    wc.hIconSm = wc.hIcon;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszMenuName = L"MENU_MAIN";
    wc.lpszClassName = CLASS_NAME;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        std::fprintf(stderr, "zarvox: cannot register the window class (error %lu)\n",
                     GetLastError());
        return false;
    }
    wchar_t title[256];
    widen(caption, title, 256);
    window = CreateWindowExW(0, CLASS_NAME, title, WINDOWED_STYLE, CW_USEDEFAULT, CW_USEDEFAULT,
                             width, height, nullptr, nullptr, instance, nullptr);
    if (!window) {
        std::fprintf(stderr, "zarvox: cannot open the window (error %lu)\n", GetLastError());
        return false;
    }
    if (load_settings(SETTINGS_FILE, &settings) == SettingsRead::Missing) {
        // Said once: the file written now marks the first run as past.
        std::printf("zarvox: %s\n", KEYS_HELP);
        std::fflush(stdout);
        save_settings(SETTINGS_FILE, settings);
    }
    apply_volume();
    fit_window(nullptr);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    SetForegroundWindow(window);
    return true;
}

void win32_show_frame(const uint32_t* pixels, int width, int height, int pitch) {
    if (!window || width != game_width || height != game_height) return;
    for (int y = 0; y < height; ++y)
        std::memcpy(&picture[static_cast<size_t>(y) * width],
                    reinterpret_cast<const uint8_t*>(pixels) + static_cast<size_t>(y) * pitch,
                    static_cast<size_t>(width) * 4);
    have_picture = true;
    repaint();
}

void win32_message_box(const char* text, const char* caption) {
    wchar_t wide_text[1024], wide_caption[256];
    widen(text, wide_text, 1024);
    widen(caption, wide_caption, 256);
    if (MessageBoxW(window, wide_text, wide_caption, MB_OK | MB_ICONERROR) == 0)
        std::fprintf(stderr, "zarvox: %s: %s\n", caption, text);
}

bool win32_take_message(Message* out) {
    if (take_quit_signal()) {
        *out = Message{WM_QUIT, 0, 0};
        return true;
    }
    if (window) {
        win32_poll_pads(&held_keys, push, pad_start);
        MSG msg;
        while (queue.empty() && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                push(Message{WM_QUIT, 0, 0});
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return queue.pop(out);
}

// The game's own messages bypass the pause: it is the player who pauses.
void win32_post_message(const Message& m) {
    queue.push(m);
}

// While paused the game waits here, inside its frame wait, and the window
// goes on answering; the schedule restarts after.
void win32_hold_while_paused() {
    while (is_paused(pause_gate)) {
        if (take_quit_signal()) {
            push(Message{WM_QUIT, 0, 0});
            break;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        if (window) win32_poll_pads(&held_keys, push, pad_start);
        MSG msg;
        while (is_paused(pause_gate) && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                push(Message{WM_QUIT, 0, 0});
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    // The time spent paused is no frame's to catch up on.
    if (take_pause_ended(&pause_gate)) restart_frame_schedule();
}

void win32_destroy_window() {
    if (window) {
        win32_forget_pads(&held_keys, [](const Message& m) { queue.push(m); });
        DestroyWindow(window);
    }
    window = nullptr;
    held_keys = {};
    std::memset(keys_down, 0, sizeof keys_down);
    queue.clear();
    pause_gate = PauseGate{};
    pause_shown = false;
    hold_output(false);
}
