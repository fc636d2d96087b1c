// The window procedure's keyboard mask and quit requests.
#include "services/keys.h"

#include <gtest/gtest.h>

#include "hosts/headless/headless_host.h"

namespace {

void key(uint32_t message, uint32_t vk) {
    window_proc(message, vk, 0);
}

class Keys : public ::testing::Test {
protected:
    void SetUp() override {
        install_headless_host(HeadlessConfig{});
        KeyState = 0;
    }
};

TEST_F(Keys, HeldKeysSetAndClearTheirBits) {
    key(WM_KEYDOWN, VK_LEFT);
    key(WM_KEYDOWN, VK_RIGHT);
    key(WM_KEYUP, VK_RIGHT);
    EXPECT_EQ(KeyState, KEY_LEFT);
    key(WM_KEYUP, VK_LEFT);
    EXPECT_EQ(KeyState, 0u);
    const uint32_t all[] = {VK_UP, VK_DOWN, VK_SPACE, VK_X,  VK_Z,
                            VK_S,  VK_A,    VK_SHIFT, VK_F1, VK_F2};
    for (uint32_t vk : all) key(WM_KEYDOWN, vk);
    EXPECT_EQ(KeyState, 0xFFCu);
    key(WM_KEYDOWN, 0x51);  // unlisted
    EXPECT_EQ(KeyState, 0xFFCu);
}

TEST_F(Keys, EscapeCloseAndMenuRequestQuitAndReleasingEscapeKeepsIt) {
    key(WM_KEYDOWN, VK_ESCAPE);
    key(WM_KEYUP, VK_ESCAPE);
    EXPECT_EQ(KeyState, KEY_QUIT);
    KeyState = 0;
    window_proc(WM_CLOSE, 0, 0);
    EXPECT_EQ(KeyState, KEY_QUIT);
    KeyState = 0;
    // The menu command posts the close message rather than acting at once.
    window_proc(WM_COMMAND, MENU_COMMAND_SALIR, 0);
    EXPECT_EQ(KeyState, 0u);
    Message posted;
    ASSERT_TRUE(host().take_message(&posted));
    EXPECT_EQ(posted.id, WM_CLOSE);
    window_proc(WM_COMMAND, 40002, 0);
    EXPECT_FALSE(host().take_message(&posted));
}

TEST_F(Keys, TakingAPressReleasesHeldKeysButKeepsAQuitRequest) {
    key(WM_KEYDOWN, VK_SPACE);
    key(WM_KEYDOWN, VK_LEFT);
    take_key_press();
    EXPECT_EQ(KeyState, 0u);
    key(WM_KEYDOWN, VK_SPACE);
    window_proc(WM_CLOSE, 0, 0);
    take_key_press();
    EXPECT_EQ(KeyState, KEY_QUIT);
}

TEST_F(Keys, SystemKeysAndOtherMessagesLeaveTheMaskAlone) {
    window_proc(WM_SYSKEYDOWN, VK_SPACE, 0);
    window_proc(WM_LBUTTONDOWN, 0, 0);
    window_proc(WM_SIZE, 0, 0);
    EXPECT_EQ(KeyState, 0u);
}

}  // namespace
