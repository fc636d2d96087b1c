// The tune library: plays one tune at a time from "VBTUNE" resources and
// lends its audio device to the sound effects.
#pragma once

#include "platform/messages.h"
#include "platform/sound.h"

int vorbel_Ready(WindowHandle window, int channels, int sample_rate, int bits, float volume,
                 int option_a, int option_b);
SoundDevice* vorbel_GetDirectSound();
int vorbel_Tune_Load(int module, const char* type, const char* name);
int vorbel_Tune_Play(int option_a, int option_b);
int vorbel_Tune_Stop();
void vorbel_Release();
