#include "services/tune_switch.h"

#include "platform/host.h"
#include "platform/tune_library.h"

namespace {

void load_tune_or_report(WindowHandle window, const char* name) {
    if (!vorbel_Tune_Load(0, "VBTUNE", name)) show_error_box(window, "vorbel_TuneLoad");
}

}  // namespace

void show_error_box(WindowHandle, const char* step) {
    host().message_box(step, "ERROR");
}

void stop_tune() {
    vorbel_Tune_Stop();
}

void start_tune(WindowHandle window, const char* name) {
    load_tune_or_report(window, name);
    vorbel_Tune_Play(0, 0);
}

void switch_tune(WindowHandle window, const char* name) {
    stop_tune();
    start_tune(window, name);
}

void switch_tune_loading_first(WindowHandle window, const char* name) {
    load_tune_or_report(window, name);
    stop_tune();
    vorbel_Tune_Play(0, 0);
}
