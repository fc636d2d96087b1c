#include "services/keys.h"

#include "platform/host.h"

uint32_t KeyState = 0;

namespace {

uint32_t key_bit(uint32_t virtual_key) {
    switch (virtual_key) {
        case VK_LEFT:
            return KEY_LEFT;
        case VK_RIGHT:
            return KEY_RIGHT;
        case VK_UP:
            return KEY_UP;
        case VK_DOWN:
            return KEY_DOWN;
        case VK_SPACE:
            return KEY_SPACE;
        case VK_X:
            return KEY_X;
        case VK_Z:
            return KEY_Z;
        case VK_S:
            return KEY_S;
        case VK_A:
            return KEY_A;
        case VK_SHIFT:
            return KEY_SHIFT;
        case VK_F1:
            return KEY_F1;
        case VK_F2:
            return KEY_F2;
        case VK_ESCAPE:
            return KEY_QUIT;
        default:
            return 0;
    }
}

}  // namespace

void take_key_press() {
    KeyState &= KEY_QUIT;
}

intptr_t window_proc(uint32_t message, uint32_t wparam, int32_t) {
    switch (message) {
        case WM_KEYDOWN:
            KeyState |= key_bit(wparam);
            return 1;
        case WM_KEYUP:
            // Escape is a request, not a held key: letting go keeps it.
            if (wparam != VK_ESCAPE) KeyState &= ~key_bit(wparam);
            return 1;
        case WM_CLOSE:
            KeyState |= KEY_QUIT;
            return 1;
        case WM_COMMAND:
            if ((wparam & 0xFFFF) == MENU_COMMAND_SALIR)
                host().post_message(Message{WM_CLOSE, 0, 0});
            return 1;
        case WM_CREATE:
        case WM_SIZE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            return 1;
        default:
            // Nothing else concerns the game (system keys included).
            return 0;
    }
}
