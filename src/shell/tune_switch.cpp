#include "shell/tune_switch.h"

#include "platform/host.h"
#include "vorbel/vorbel.h"

void show_error_box(WindowHandle, const char* step) {
    host().message_box(step, "ERROR");
}

int load_tune_or_report(WindowHandle window, const char* name) {
    const int loaded = vorbel_Tune_Load(0, "VBTUNE", name);
    if (!loaded) show_error_box(window, "vorbel_TuneLoad");
    return loaded;
}

void switch_tune(WindowHandle window, const char* name) {
    vorbel_Tune_Stop();
    load_tune_or_report(window, name);
    vorbel_Tune_Play(0, 0);
}
