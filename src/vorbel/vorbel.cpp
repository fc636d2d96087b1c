// Placeholder tune library: loads nothing yet, reports every call.
#include "vorbel/vorbel.h"

#include <cstdio>

#include "platform/host.h"
#include "platform/resources.h"

int vorbel_Ready(WindowHandle, int, int, int, float, int, int) { return 1; }

SoundDevice* vorbel_GetDirectSound() { return nullptr; }

int vorbel_Tune_Load(int, const char* type, const char* name) {
    char call[96];
    std::snprintf(call, sizeof call, "load %s", name);
    host().note_tune_call(call);
    ResourceData data;
    return find_resource(type, name, &data) ? 1 : 0;
}

int vorbel_Tune_Play(int, int) {
    host().note_tune_call("play");
    return 1;
}

int vorbel_Tune_Stop() {
    host().note_tune_call("stop");
    return 1;
}

void vorbel_Release() {}
