// The shared sprite-template table, filled once at start-up.
#pragma once

#include "platform/display.h"

constexpr int TEMPLATE_ROWS = 256;

extern SpriteTemplate TemplateTable[TEMPLATE_ROWS];

void fill_template_table();
