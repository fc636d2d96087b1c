// Numbers of up to three digits drawn from the digit glyphs.
#pragma once

#include "objects/game_object.h"

extern GameObject DigitObjects[10];

void init_digits();
void draw_number(Fixed9 x, Fixed9 y, int value);
