// What the Win32 host makes of Windows' key messages: the game's keys pass
// with their own codes, system keys stay system keys, every release is a
// plain key-up, and the window's own keys (Alt+Enter, F11, Alt+F4) never
// reach the game. Run under Wine by tests/windows/run.sh; ends with
// "N passed, N failed".
#include <cstdio>
#include <initializer_list>

#include "hosts/win32/win32_parts.h"

namespace {

// A key message and what it becomes; a posted message keeps the key's code.
struct Row {
    const char* what;
    uint32_t message, vk;
    bool alt, repeat, other_shift_held;
    KeyRoute route;
    uint32_t posted;  // the message posted, for KeyRoute::Post
};

constexpr KeyRoute POST = KeyRoute::Post, DROP = KeyRoute::Drop;
constexpr KeyRoute TOGGLE = KeyRoute::ToggleFullscreen;

const Row ROWS[] = {
    // With Alt, and F10, a press is a system key; a release is always a key-up.
    {"Alt+A is a system key", WM_SYSKEYDOWN, 'A', true, false, false, POST, WM_SYSKEYDOWN},
    {"F10 is a system key", WM_SYSKEYDOWN, VK_F10, false, false, false, POST, WM_SYSKEYDOWN},
    {"a release under Alt", WM_SYSKEYUP, VK_LEFT, true, false, false, POST, WM_KEYUP},
    // The window's own keys.
    {"Alt+Enter toggles fullscreen", WM_SYSKEYDOWN, VK_RETURN, true, false, false, TOGGLE, 0},
    {"its repeat does not", WM_SYSKEYDOWN, VK_RETURN, true, true, false, DROP, 0},
    {"nor its release", WM_SYSKEYUP, VK_RETURN, true, false, false, DROP, 0},
    {"F11 toggles fullscreen", WM_KEYDOWN, VK_F11, false, false, false, TOGGLE, 0},
    {"its release is the window's", WM_KEYUP, VK_F11, false, false, false, DROP, 0},
    {"Alt+F4 is Windows' own", WM_SYSKEYDOWN, VK_F4, true, false, false, DROP, 0},
    {"Enter alone is a key", WM_KEYDOWN, VK_RETURN, false, false, false, POST, WM_KEYDOWN},
    // Keys the other hosts do not pass either.
    {"Tab is dropped", WM_KEYDOWN, VK_TAB, false, false, false, DROP, 0},
    {"Alt is dropped", WM_KEYDOWN, VK_MENU, false, false, false, DROP, 0},
    {"Ctrl is dropped", WM_KEYDOWN, VK_CONTROL, false, false, false, DROP, 0},
    {"the keypad is dropped", WM_KEYDOWN, VK_NUMPAD4, false, false, false, DROP, 0},
    {"the Windows key is dropped", WM_KEYDOWN, VK_LWIN, false, false, false, DROP, 0},
    // Shift stays down while the other Shift key is.
    {"Shift comes up", WM_KEYUP, VK_SHIFT, false, false, false, POST, WM_KEYUP},
    {"but not while the other is down", WM_KEYUP, VK_SHIFT, false, false, true, DROP, 0},
};

}  // namespace

int main() {
    int passed = 0;
    int failed = 0;
    auto check = [&](const Row& row) {
        const KeyRouting r = route_win32_key(
            Win32Key{row.message, row.vk, row.repeat, row.alt, row.other_shift_held});
        const bool ok =
            r.route == row.route &&
            (row.route != POST || (r.message.id == row.posted && r.message.wparam == row.vk));
        if (ok) {
            ++passed;
            return;
        }
        ++failed;
        std::printf("FAILED: %s (key 0x%x)\n", row.what, static_cast<unsigned>(row.vk));
    };
    for (const Row& row : ROWS) check(row);
    // The game's keys, pressed, repeated and let go.
    for (uint32_t vk : {uint32_t{VK_LEFT}, uint32_t{VK_RIGHT}, uint32_t{VK_SPACE},
                        uint32_t{VK_ESCAPE}, uint32_t{'A'}, uint32_t{'7'}, uint32_t{VK_F2}}) {
        check({"a game key goes down", WM_KEYDOWN, vk, false, false, false, POST, WM_KEYDOWN});
        check({"its repeats pass", WM_KEYDOWN, vk, false, true, false, POST, WM_KEYDOWN});
        check({"and it comes up", WM_KEYUP, vk, false, false, false, POST, WM_KEYUP});
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
