#include "services/tune_switch.h"

#include "platform/host.h"
#include "platform/tune_library.h"

namespace {

void load_tune_or_report(const char* name) {
    if (!vorbel_Tune_Load(0, "VBTUNE", name)) show_error_box("vorbel_TuneLoad");
}

}  // namespace

void show_error_box(const char* step) {
    host().message_box(step, "ERROR");
}

void stop_tune() {
    vorbel_Tune_Stop();
}

void start_tune(const char* name) {
    load_tune_or_report(name);
    vorbel_Tune_Play(0, 0);
}

void switch_tune(const char* name) {
    stop_tune();
    start_tune(name);
}

void switch_tune_loading_first(const char* name) {
    load_tune_or_report(name);
    stop_tune();
    vorbel_Tune_Play(0, 0);
}
