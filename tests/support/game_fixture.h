// A test fixture with the headless host installed, the display started, the
// bitmaps loaded and the game-wide tables filled, as start-up leaves them.
#pragma once

#include <gtest/gtest.h>

#include "hosts/headless/headless_host.h"
#include "objects/digits.h"
#include "objects/effects.h"
#include "objects/game_object.h"
#include "objects/random.h"
#include "objects/transition.h"
#include "platform/display.h"
#include "services/templates.h"

class GameFixture : public ::testing::Test {
protected:
    void SetUp() override {
        install_headless_host(HeadlessConfig{});
        start_display(SCREEN_WIDTH, SCREEN_HEIGHT);
        load_bitmaps();
        fill_template_table();
        init_effects();
        init_transition();
        init_digits();
        set_random_seed(1);
    }
    void TearDown() override { end_display(); }
};
