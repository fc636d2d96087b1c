#include "hosts/web/web_keys.h"

#include <cstring>

namespace {

constexpr uint32_t VK_RETURN = 0x0D;
constexpr uint32_t VK_F10 = 0x79;

bool same(const char* a, const char* b) {
    return std::strcmp(a, b) == 0;
}

bool starts_with(const char* text, const char* prefix) {
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

// "KeyA".."KeyZ", "Digit0".."Digit9", "F1".."F12": the code's character or
// number, else -1.
int letter_place(const char* code) {
    if (starts_with(code, "Key") && code[3] >= 'A' && code[3] <= 'Z' && code[4] == '\0')
        return code[3];
    return -1;
}

int digit_place(const char* code) {
    if (starts_with(code, "Digit") && code[5] >= '0' && code[5] <= '9' && code[6] == '\0')
        return code[5];
    return -1;
}

int function_number(const char* code) {
    if (code[0] != 'F' || code[1] < '1' || code[1] > '9') return -1;
    if (code[2] == '\0') return code[1] - '0';
    if (code[1] == '1' && code[2] >= '0' && code[2] <= '2' && code[3] == '\0')
        return 10 + code[2] - '0';
    return -1;
}

bool is_enter(const char* code) {
    return same(code, "Enter") || same(code, "NumpadEnter");
}

struct NamedKey {
    const char* code;
    uint32_t vk;
};

constexpr NamedKey kNamedKeys[] = {
    {"ArrowLeft", VK_LEFT},     {"ArrowRight", VK_RIGHT}, {"ArrowUp", VK_UP},
    {"ArrowDown", VK_DOWN},     {"Space", VK_SPACE},      {"Escape", VK_ESCAPE},
    {"ShiftLeft", VK_SHIFT},    {"ShiftRight", VK_SHIFT}, {"Enter", VK_RETURN},
    {"NumpadEnter", VK_RETURN},
};

}  // namespace

uint32_t web_virtual_key(const char* code, const char* key) {
    if (!code) return 0;
    if (!key) key = "";
    // A layout's letter is one character; upper and lower case are one key.
    const bool one_char = key[0] != '\0' && key[1] == '\0';
    if (one_char && key[0] >= 'a' && key[0] <= 'z') return 'A' + (key[0] - 'a');
    if (one_char && key[0] >= 'A' && key[0] <= 'Z') return key[0];
    const int letter = letter_place(code);
    // A non-Latin layout (more than one byte of UTF-8, or a named key such
    // as "Dead"): the letter keys still count by place.
    if (letter >= 0 && !(one_char && static_cast<unsigned char>(key[0]) < 0x80)) return letter;
    const int digit = digit_place(code);
    if (digit >= 0) return digit;
    const int f = function_number(code);
    if (f > 0) return VK_F1 + (f - 1);
    for (const NamedKey& k : kNamedKeys)
        if (same(code, k.code)) return k.vk;
    return 0;
}

WebKeyRouting route_web_key(const WebKeyEvent& e, WebShiftState* shift) {
    const WebKeyRouting drop = {WebKeyRoute::Drop, {}};
    if (same(e.code, "ShiftLeft")) shift->left = e.pressed;
    if (same(e.code, "ShiftRight")) shift->right = e.pressed;

    // The window's own keys never reach the game, pressed or released.
    if (same(e.code, "F11") || (e.alt && is_enter(e.code))) {
        if (e.pressed && !e.repeat) return {WebKeyRoute::ToggleFullscreen, {}};
        return drop;
    }
    const uint32_t vk = web_virtual_key(e.code, e.key);
    if (vk == 0) return drop;
    if (e.pressed) {
        // Keys pressed with Alt, and F10, are system keys the game ignores.
        const bool system = e.alt || vk == VK_F10;
        return {WebKeyRoute::Post, {system ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, 0}};
    }
    if (vk == VK_SHIFT && (shift->left || shift->right)) return drop;
    // Every release is a plain key-up, even with Alt held, so that no key
    // stays held in the game after it was let go.
    return {WebKeyRoute::Post, {WM_KEYUP, vk, 0}};
}
