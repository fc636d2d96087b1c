#include "hosts/web/web_input.h"

#include "hosts/common/pad_map.h"
#include "hosts/web/web_host.h"
#include "hosts/web/web_keys.h"
#include "hosts/web/web_page.h"

namespace {

HeldKeys held_keys = {};
WebShiftState shift = {};
int8_t stick_directions[MAX_PADS] = {};

// The touch buttons hold keys as one more controller would, in the last
// slot, so the page's controllers have the slots before it.
constexpr int TOUCH_SLOT = MAX_PADS - 1;

void post_all(const KeyMessages& messages) {
    for (int i = 0; i < messages.count; ++i) web_post(messages.list[i]);
}

// The buttons of the standard controller layout that stand for keys.
int standard_button_input(int button) {
    switch (button) {
        case 0:
            return PAD_SOUTH;
        case 1:
            return PAD_EAST;
        case 8:
            return PAD_BACK;
        case 14:
            return PAD_DPAD_LEFT;
        case 15:
            return PAD_DPAD_RIGHT;
        default:
            return -1;
    }
}

}  // namespace

void web_key_event(const char* code, const char* key, bool pressed, bool repeat, bool alt) {
    const WebKeyRouting routing = route_web_key({code, key, pressed, repeat, alt}, &shift);
    if (routing.route == WebKeyRoute::ToggleFullscreen) web_toggle_fullscreen();
    if (routing.route != WebKeyRoute::Post) return;
    const Message shared = share_keyboard_key(&held_keys, routing.message, repeat);
    if (shared.id != 0) web_post(shared);
}

void web_touch_button(uint32_t vk, bool pressed) {
    const int input = vk == VK_LEFT    ? PAD_DPAD_LEFT
                      : vk == VK_RIGHT ? PAD_DPAD_RIGHT
                      : vk == VK_SPACE ? PAD_SOUTH
                                       : -1;
    if (input >= 0) post_all(pad_input(&held_keys, TOUCH_SLOT, input, pressed));
}

void web_pad_button(int slot, int button, bool pressed) {
    const int input = standard_button_input(button);
    if (input >= 0 && slot >= 0 && slot < TOUCH_SLOT)
        post_all(pad_input(&held_keys, slot, input, pressed));
}

void web_pad_stick(int slot, int value) {
    if (slot >= 0 && slot < TOUCH_SLOT)
        post_all(pad_stick_x(&held_keys, slot, &stick_directions[slot], value));
}

void web_pad_gone(int slot) {
    if (slot < 0 || slot >= TOUCH_SLOT) return;
    post_all(release_pad(&held_keys, slot));
    stick_directions[slot] = 0;
}
