// The four mode loops. Each runs its own frames and returns the next mode.
#pragma once

#include "platform/messages.h"

int RunTitle(WindowHandle window);
int RunStageBattle(WindowHandle window);
int RunBossBattle(WindowHandle window);
int RunEnding(WindowHandle window);
