// The four mode loops. Each runs its own frames and returns the next mode.
#pragma once

#include "platform/messages.h"

int RunTitle();
int RunStageBattle();
int RunBossBattle();
int RunEnding();
