// What the Win32 host makes of Windows' key messages: the game's keys pass
// with their own codes, system keys stay system keys, every release is a
// plain key-up, and the window's own keys (Alt+Enter, F11, Alt+F4) never
// reach the game. Run under Wine by tests/windows/run.sh; ends with
// "N passed, N failed".
#include <cstdio>
#include <initializer_list>

#include "hosts/win32/win32_parts.h"

namespace {

int passed = 0;
int failed = 0;

void check(bool ok, const char* what) {
    if (ok) {
        ++passed;
    } else {
        ++failed;
        std::printf("FAILED: %s\n", what);
    }
}

Win32Key key(uint32_t message, uint32_t vk, bool alt = false, bool repeat = false) {
    return Win32Key{message, vk, repeat, alt, false};
}

bool posts(const Win32Key& k, uint32_t id, uint32_t vk) {
    const KeyRouting r = route_win32_key(k);
    return r.route == KeyRoute::Post && r.message.id == id && r.message.wparam == vk;
}

bool dropped(const Win32Key& k) {
    return route_win32_key(k).route == KeyRoute::Drop;
}

bool toggles(const Win32Key& k) {
    return route_win32_key(k).route == KeyRoute::ToggleFullscreen;
}

}  // namespace

int main() {
    // The game's keys, pressed, repeated and let go.
    for (uint32_t vk : {uint32_t{VK_LEFT}, uint32_t{VK_RIGHT}, uint32_t{VK_SPACE},
                        uint32_t{VK_ESCAPE}, uint32_t{'A'}, uint32_t{'7'}, uint32_t{VK_F2}}) {
        check(posts(key(WM_KEYDOWN, vk), WM_KEYDOWN, vk), "a game key goes down");
        check(posts(key(WM_KEYDOWN, vk, false, true), WM_KEYDOWN, vk), "its repeats pass");
        check(posts(key(WM_KEYUP, vk), WM_KEYUP, vk), "and it comes up");
    }
    // With Alt, and F10, a press is a system key; a release is always a key-up.
    check(posts(key(WM_SYSKEYDOWN, 'A', true), WM_SYSKEYDOWN, 'A'), "Alt+A is a system key");
    check(posts(key(WM_SYSKEYDOWN, VK_F10), WM_SYSKEYDOWN, VK_F10), "F10 is a system key");
    check(posts(key(WM_SYSKEYUP, VK_LEFT, true), WM_KEYUP, VK_LEFT), "a release under Alt");
    // The window's own keys.
    check(toggles(key(WM_SYSKEYDOWN, VK_RETURN, true)), "Alt+Enter toggles fullscreen");
    check(dropped(key(WM_SYSKEYDOWN, VK_RETURN, true, true)), "its repeat does not");
    check(dropped(key(WM_SYSKEYUP, VK_RETURN, true)), "nor its release");
    check(toggles(key(WM_KEYDOWN, VK_F11)), "F11 toggles fullscreen");
    check(dropped(key(WM_KEYUP, VK_F11)), "its release is the window's");
    check(dropped(key(WM_SYSKEYDOWN, VK_F4, true)), "Alt+F4 is Windows' own");
    check(posts(key(WM_KEYDOWN, VK_RETURN), WM_KEYDOWN, VK_RETURN), "Enter alone is a key");
    // Keys the other hosts do not pass either.
    for (uint32_t vk : {uint32_t{VK_TAB}, uint32_t{VK_MENU}, uint32_t{VK_CONTROL},
                        uint32_t{VK_NUMPAD4}, uint32_t{VK_LWIN}})
        check(dropped(key(WM_KEYDOWN, vk)), "a key the game has no use for is dropped");
    // Shift stays down while the other Shift key is.
    Win32Key shift_up = key(WM_KEYUP, VK_SHIFT);
    check(posts(shift_up, WM_KEYUP, VK_SHIFT), "Shift comes up");
    shift_up.other_shift_held = true;
    check(dropped(shift_up), "but not while the other Shift is down");

    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
