// What the Win32 host makes of Windows' key messages: the game's keys pass
// with their own codes, system keys stay system keys, every release is a
// plain key-up, and the window's own keys (Alt+Enter, F11, Alt+F4) never
// reach the game. Run under Wine by tests/windows/run.sh; ends with
// "N passed, N failed".
#include <cstdio>
#include <initializer_list>

#include "hosts/win32/win32_parts.h"

namespace {

// What a key message becomes: DROP, TOGGLE (fullscreen), or the id of the
// message posted to the game, which must carry the key's own code.
constexpr uint32_t DROP = 0, TOGGLE = 1, WRONG_KEY = 2;

struct Row {
    uint32_t message, vk;
    bool alt, repeat;
    uint32_t becomes;
};

const Row ROWS[] = {
    // With Alt, and F10, a press is a system key; a release is always a key-up.
    {WM_SYSKEYDOWN, 'A', true, false, WM_SYSKEYDOWN},
    {WM_SYSKEYDOWN, VK_F10, false, false, WM_SYSKEYDOWN},
    {WM_SYSKEYUP, VK_LEFT, true, false, WM_KEYUP},
    // The window's own keys: Alt+Enter and F11 toggle once per press.
    {WM_SYSKEYDOWN, VK_RETURN, true, false, TOGGLE},
    {WM_SYSKEYDOWN, VK_RETURN, true, true, DROP},
    {WM_SYSKEYUP, VK_RETURN, true, false, DROP},
    {WM_KEYDOWN, VK_F11, false, false, TOGGLE},
    {WM_KEYUP, VK_F11, false, false, DROP},
    {WM_SYSKEYDOWN, VK_F4, true, false, DROP},  // Windows' own
    {WM_KEYDOWN, VK_RETURN, false, false, WM_KEYDOWN},
    {WM_KEYUP, VK_SHIFT, false, false, WM_KEYUP},
};

}  // namespace

int main() {
    int passed = 0;
    int failed = 0;
    auto check = [&](const Row& row, bool other_shift_held = false) {
        const KeyRouting r =
            route_win32_key(Win32Key{row.message, row.vk, row.repeat, row.alt, other_shift_held});
        uint32_t got = r.route == KeyRoute::Drop ? DROP : TOGGLE;
        if (r.route == KeyRoute::Post) got = r.message.wparam == row.vk ? r.message.id : WRONG_KEY;
        if (got == row.becomes) {
            ++passed;
            return;
        }
        ++failed;
        std::printf("FAILED: message 0x%x, key 0x%x: 0x%x, not 0x%x\n", row.message, row.vk, got,
                    row.becomes);
    };
    for (const Row& row : ROWS) check(row);
    // Shift stays down while the other Shift key is.
    check({WM_KEYUP, VK_SHIFT, false, false, DROP}, true);
    // Keys the other hosts do not pass either.
    for (uint32_t vk : {VK_TAB, VK_MENU, VK_CONTROL, VK_NUMPAD4, VK_LWIN})
        check({WM_KEYDOWN, vk, false, false, DROP});
    // The game's keys, pressed, repeated and let go.
    for (uint32_t vk :
         {uint32_t{VK_LEFT}, uint32_t{VK_RIGHT}, uint32_t{VK_SPACE}, uint32_t{VK_ESCAPE},
          uint32_t{'A'}, uint32_t{'7'}, uint32_t{VK_F2}, uint32_t{VK_F12}}) {
        check({WM_KEYDOWN, vk, false, false, WM_KEYDOWN});
        check({WM_KEYDOWN, vk, false, true, WM_KEYDOWN});
        check({WM_KEYUP, vk, false, false, WM_KEYUP});
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
