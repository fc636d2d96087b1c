// The page's keyboard, touch buttons and game controllers as the game's key
// messages. A key held by several of them at once reaches the game as one
// press and one release, as on the desktop.
#pragma once

#include "platform/messages.h"

// Queues a message for the game window (web_host.cpp).
void web_post(const Message& message);
