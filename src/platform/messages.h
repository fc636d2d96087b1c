// Window messages and virtual-key codes, with the values the game was
// designed around, so key scripts and hosts speak the same numbers.
#pragma once

#include <cstdint>

constexpr uint32_t WM_CREATE = 0x0001;
constexpr uint32_t WM_SIZE = 0x0005;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr uint32_t WM_SYSKEYUP = 0x0105;
constexpr uint32_t WM_COMMAND = 0x0111;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr uint32_t WM_RBUTTONUP = 0x0205;

constexpr uint32_t VK_SHIFT = 0x10;
constexpr uint32_t VK_ESCAPE = 0x1B;
constexpr uint32_t VK_SPACE = 0x20;
constexpr uint32_t VK_LEFT = 0x25;
constexpr uint32_t VK_UP = 0x26;
constexpr uint32_t VK_RIGHT = 0x27;
constexpr uint32_t VK_DOWN = 0x28;
constexpr uint32_t VK_A = 0x41;
constexpr uint32_t VK_S = 0x53;
constexpr uint32_t VK_X = 0x58;
constexpr uint32_t VK_Z = 0x5A;
constexpr uint32_t VK_F1 = 0x70;
constexpr uint32_t VK_F2 = 0x71;

// The one menu command: "Salir".
constexpr uint32_t MENU_COMMAND_SALIR = 40001;

struct Message {
    uint32_t id = 0;
    uint32_t wparam = 0;
    int32_t lparam = 0;
};

// The window handle the modes pass along to present_frame and message boxes.
// There is one window; the handle only tells "owned by the game window".
using WindowHandle = void*;
