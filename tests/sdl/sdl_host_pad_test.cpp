// Game controllers on the SDL host, played with SDL's virtual joystick on
// the dummy video driver: plugged in before and after the window opens,
// pressed, steered and pulled out, as the key messages the game reads.
#include "sdl/sdl_events.h"

namespace {

void expect_messages(const std::vector<Message>& taken,
                     std::initializer_list<std::pair<uint32_t, uint32_t>> want) {
    ASSERT_EQ(taken.size(), want.size());
    size_t i = 0;
    for (const auto& [id, vk] : want) {
        EXPECT_EQ(taken[i].id, id) << i;
        EXPECT_EQ(taken[i].wparam, vk) << i;
        ++i;
    }
}

// A virtual controller whose buttons and axes are numbered as SDL's
// controller buttons and axes.
struct VirtualPad {
    int device = -1;
    SDL_Joystick* joystick = nullptr;

    void attach() {
        SDL_VirtualJoystickDesc desc = {};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "Test pad";
        device = SDL_JoystickAttachVirtualEx(&desc);
        ASSERT_GE(device, 0) << SDL_GetError();
        ASSERT_TRUE(SDL_IsGameController(device));
        joystick = SDL_JoystickOpen(device);
        ASSERT_NE(joystick, nullptr) << SDL_GetError();
    }
    SDL_JoystickID id() const { return SDL_JoystickInstanceID(joystick); }
    void button(SDL_GameControllerButton b, bool down) {
        SDL_JoystickSetVirtualButton(joystick, b, down ? SDL_PRESSED : SDL_RELEASED);
        SDL_PumpEvents();  // each change its own event, in the order made
    }
    void stick_x(Sint16 value) {
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, value);
        SDL_PumpEvents();
    }
    void detach() {
        const SDL_JoystickID was = id();
        SDL_JoystickClose(joystick);
        joystick = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i) {
            if (SDL_JoystickGetDeviceInstanceID(i) == was) SDL_JoystickDetachVirtual(i);
        }
    }
};

void open_pad_window() {
    // The dummy driver's window never has the focus a pad's presses need.
    setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
    open_host_window();
}

TEST(SdlHostPad, HotPluggedPadSteersFiresQuitsAndLetsGoWhenPulledOut) {
    open_pad_window();
    drain();
    VirtualPad pad;
    pad.attach();
    EXPECT_TRUE(drain().empty());  // plugging in is no key
    EXPECT_NE(SDL_GameControllerFromInstanceID(pad.id()), nullptr);

    pad.button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);  // not the game's
    expect_messages(drain(), {{WM_KEYDOWN, VK_LEFT}});
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    expect_messages(drain(), {{WM_KEYUP, VK_LEFT}, {WM_KEYDOWN, VK_RIGHT}});
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
    drain();

    // Both fire buttons are one Space: down with the first, up with the last.
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    expect_messages(drain(), {{WM_KEYDOWN, VK_SPACE}});
    pad.button(SDL_CONTROLLER_BUTTON_B, true);
    pad.button(SDL_CONTROLLER_BUTTON_A, false);
    EXPECT_TRUE(drain().empty());
    pad.button(SDL_CONTROLLER_BUTTON_B, false);
    expect_messages(drain(), {{WM_KEYUP, VK_SPACE}});
    pad.button(SDL_CONTROLLER_BUTTON_BACK, true);
    pad.button(SDL_CONTROLLER_BUTTON_BACK, false);
    expect_messages(drain(), {{WM_KEYDOWN, VK_ESCAPE}, {WM_KEYUP, VK_ESCAPE}});

    // The stick: a dead zone, then held until it comes back well inside.
    pad.stick_x(12000);
    EXPECT_TRUE(drain().empty());
    pad.stick_x(20000);
    expect_messages(drain(), {{WM_KEYDOWN, VK_RIGHT}});
    pad.stick_x(9000);
    EXPECT_TRUE(drain().empty());
    pad.stick_x(-30000);
    expect_messages(drain(), {{WM_KEYUP, VK_RIGHT}, {WM_KEYDOWN, VK_LEFT}});

    // Pulled out while steering left and firing: both are let go.
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    drain();
    const SDL_JoystickID id = pad.id();
    pad.detach();
    std::vector<Message> taken = drain();
    ASSERT_EQ(taken.size(), 2u);
    for (const Message& m : taken) EXPECT_EQ(m.id, WM_KEYUP);
    EXPECT_EQ(SDL_GameControllerFromInstanceID(id), nullptr);  // closed

    // Plugged in again, it plays again.
    pad.attach();
    EXPECT_TRUE(drain().empty());
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    expect_messages(drain(), {{WM_KEYDOWN, VK_SPACE}});
    pad.detach();
    drain();
    shut_down_sdl_host();
}

TEST(SdlHostPad, PadPresentAtStartIsOpenedOnceAndSharesKeysWithTheKeyboard) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
    VirtualPad pad;
    pad.attach();
    open_pad_window();
    drain();
    EXPECT_NE(SDL_GameControllerFromInstanceID(pad.id()), nullptr);

    // Keyboard Left then pad Left: the game hears one hold, released only
    // when the last of them lets go.
    push_key(SDL_KEYDOWN, SDLK_LEFT);
    expect_messages(drain(), {{WM_KEYDOWN, VK_LEFT}});
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    pad.stick_x(-20000);
    EXPECT_TRUE(drain().empty());
    push_key(SDL_KEYUP, SDLK_LEFT);
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    EXPECT_TRUE(drain().empty());
    pad.stick_x(0);
    expect_messages(drain(), {{WM_KEYUP, VK_LEFT}});

    const SDL_JoystickID id = pad.id();
    pad.detach();
    drain();
    // Opened once, so closed for good on removal.
    EXPECT_EQ(SDL_GameControllerFromInstanceID(id), nullptr);
    shut_down_sdl_host();
}

}  // namespace
