#include <cerrno>
#include <cstdlib>

#include "sim/sim.h"

namespace {

bool parse_int(const std::string& text, int lo, int hi, int* out) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < lo || v > hi) return false;
    *out = static_cast<int>(v);
    return true;
}

bool parse_double(const std::string& text, double* out) {
    if (text.empty()) return false;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !(v >= 0) || v > 3600) return false;
    *out = v;
    return true;
}

}  // namespace

bool parse_sim_options(int argc, const char* const* argv, SimOptions* o, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        auto value = [&](std::string* out) {
            if (i + 1 >= argc) {
                *error = option + " needs a value";
                return false;
            }
            *out = argv[++i];
            return true;
        };
        auto number = [&](int lo, int hi, int* out) {
            std::string text;
            if (!value(&text)) return false;
            if (!parse_int(text, lo, hi, out)) {
                *error = option + " takes a number from " + std::to_string(lo) + " to " +
                         std::to_string(hi) + ", not '" + text + "'";
                return false;
            }
            return true;
        };
        if (option == "--input") {
            if (!value(&o->input)) return false;
        } else if (option == "--recorded-play-data") {
            o->recorded_play_data = true;
        } else if (option == "--frames") {
            if (!number(0, 2000000000, &o->frames)) return false;
        } else if (option == "--trace") {
            if (!value(&o->trace)) return false;
        } else if (option == "--shot") {
            std::string shot_option;
            if (!value(&shot_option)) return false;
            const size_t colon = shot_option.find(':');
            int frame = 0;
            if (colon == std::string::npos || colon + 1 == shot_option.size() ||
                !parse_int(shot_option.substr(0, colon), 1, 2000000000, &frame)) {
                *error = "--shot takes N:FILE, not '" + shot_option + "'";
                return false;
            }
            o->shots.emplace_back(frame, shot_option.substr(colon + 1));
        } else if (option == "--ms-of-second") {
            if (!number(0, 999, &o->ms_of_second)) return false;
        } else if (option == "--start") {
            if (!number(1, 4, &o->start)) return false;
        } else if (option == "--stage") {
            if (!number(1, 3, &o->stage)) return false;
        } else if (option == "--score") {
            if (!number(0, 999, &o->score)) return false;
        } else if (option == "--autoplay") {
            o->autoplay = true;
        } else if (option == "--autoplay-script") {
            if (!value(&o->autoplay_script)) return false;
        } else if (option == "--dump-resources") {
            if (!value(&o->dump_dir)) return false;
        } else if (option == "--render-tune") {
            if (i + 3 >= argc) {
                *error = "--render-tune needs NAME SECONDS FILE";
                return false;
            }
            o->render_tune = true;
            o->tune_name = argv[++i];
            const std::string seconds = argv[++i];
            if (!parse_double(seconds, &o->tune_seconds)) {
                *error = "--render-tune takes a number of seconds, not '" + seconds + "'";
                return false;
            }
            o->tune_file = argv[++i];
        } else {
            *error = "unknown option '" + option + "'";
            return false;
        }
    }
    if (o->recorded_play_data && o->input.empty()) {
        *error = "--recorded-play-data needs --input";
        return false;
    }
    if (!o->autoplay_script.empty() && !o->autoplay) {
        *error = "--autoplay-script needs --autoplay";
        return false;
    }
    if (o->autoplay && !o->input.empty()) {
        *error = "--autoplay plays by itself and takes no --input";
        return false;
    }
    return true;
}
