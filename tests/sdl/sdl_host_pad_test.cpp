// Game controllers on the SDL host, played with SDL's virtual joystick on
// the dummy video driver: plugged in before and after the window opens,
// pressed, steered and pulled out, as the key messages the game reads.
// What each button and stick position means is the pad map's own test;
// this is the host's wiring of SDL's controller events to it.
#include "sdl/sdl_events.h"

namespace {

// A virtual controller whose buttons and axes are numbered as SDL's
// controller buttons and axes.
struct VirtualPad {
    SDL_Joystick* joystick = nullptr;

    void attach() {
        SDL_VirtualJoystickDesc desc = {};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "Test pad";
        const int device = SDL_JoystickAttachVirtualEx(&desc);
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
    // Pulls the pad out; the host must close its controller for good.
    void detach() {
        const SDL_JoystickID was = id();
        SDL_JoystickClose(joystick);
        joystick = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i) {
            if (SDL_JoystickGetDeviceInstanceID(i) == was) SDL_JoystickDetachVirtual(i);
        }
        SDL_PumpEvents();
        drained = drain();
        EXPECT_EQ(SDL_GameControllerFromInstanceID(was), nullptr);
    }
    std::vector<Message> drained;  // what pulling it out sent
};

// A pad present at start-up is opened once and shares keys with the
// keyboard; one plugged in later steers, fires and quits, and lets go of
// its keys when pulled out; plugged in again, it plays again.
TEST(SdlHostPad, PadsAtStartAndPluggedInLaterPlayAndLetGoWhenPulledOut) {
    // The dummy driver's window never has the focus a pad's presses need.
    setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
    VirtualPad first, pad;
    first.attach();
    open_host_window();
    drain();
    EXPECT_NE(SDL_GameControllerFromInstanceID(first.id()), nullptr);
    // Keyboard Left then pad Left: the game hears one hold, released only
    // when the last of them lets go.
    push_key(SDL_KEYDOWN, SDLK_LEFT);
    first.button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    push_key(SDL_KEYUP, SDLK_LEFT);
    expect_messages(drain(), {{WM_KEYDOWN, VK_LEFT}});
    first.button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    expect_messages(drain(), {{WM_KEYUP, VK_LEFT}});
    first.detach();  // opened once, so closed for good

    pad.attach();
    EXPECT_TRUE(drain().empty());  // plugging in is no key
    EXPECT_NE(SDL_GameControllerFromInstanceID(pad.id()), nullptr);
    // The stick keeps its side until it comes back well inside: the host
    // keeps each pad's last direction for the pad map.
    pad.stick_x(20000);
    pad.stick_x(9000);
    pad.stick_x(-30000);
    expect_messages(drain(), {{WM_KEYDOWN, VK_RIGHT}, {WM_KEYUP, VK_RIGHT}, {WM_KEYDOWN, VK_LEFT}});
    // Pulled out while steering left and firing: both let go.
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    expect_messages(drain(), {{WM_KEYDOWN, VK_SPACE}});
    pad.detach();
    expect_messages(pad.drained, {{WM_KEYUP, VK_LEFT}, {WM_KEYUP, VK_SPACE}});

    pad.attach();
    EXPECT_TRUE(drain().empty());
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    expect_messages(drain(), {{WM_KEYDOWN, VK_SPACE}});
    pad.detach();
    shut_down_sdl_host();
}

}  // namespace
