#include <cstdlib>
#include <set>

#include "replay/quoted.h"
#include "sim/sim.h"

namespace {

// Plain decimal digits only: no sign, no spaces, no other base.
bool all_digits(const std::string& text, size_t from, size_t to) {
    if (from >= to) return false;
    for (size_t i = from; i < to; ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

bool parse_int(const std::string& text, int lo, int hi, int* out) {
    if (text.size() > 10 || !all_digits(text, 0, text.size())) return false;
    const long long v = std::strtoll(text.c_str(), nullptr, 10);
    if (v < lo || v > hi) return false;
    *out = static_cast<int>(v);
    return true;
}

// Digits with an optional fraction: "12" or "0.5".
bool parse_seconds(const std::string& text, double* out) {
    const size_t dot = text.find('.');
    const size_t whole_end = dot == std::string::npos ? text.size() : dot;
    if (text.size() > 20 || !all_digits(text, 0, whole_end)) return false;
    if (dot != std::string::npos && !all_digits(text, dot + 1, text.size())) return false;
    const double v = std::strtod(text.c_str(), nullptr);
    if (v > 3600) return false;
    *out = v;
    return true;
}

}  // namespace

bool parse_sim_options(int argc, const char* const* argv, SimOptions* o, std::string* error) {
    std::set<std::string> given;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option != "--shot" && !given.insert(option).second) {
            *error = option + " is given twice";
            return false;
        }
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
                         std::to_string(hi) + ", not " + quoted(text);
                return false;
            }
            return true;
        };
        // What a render reads, how many seconds, and the WAVE it writes.
        auto render_args = [&](const char* shape, std::string* from, double* seconds,
                               std::string* out) {
            if (i + 3 >= argc) {
                *error = option + " needs " + shape;
                return false;
            }
            *from = argv[++i];
            const std::string text = argv[++i];
            if (!parse_seconds(text, seconds)) {
                *error = option + " takes a number of seconds, not " + quoted(text);
                return false;
            }
            *out = argv[++i];
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
        } else if (option == "--audio") {
            if (!value(&o->audio)) return false;
        } else if (option == "--shot") {
            std::string shot_option;
            if (!value(&shot_option)) return false;
            const size_t colon = shot_option.find(':');
            int frame = 0;
            if (colon == std::string::npos || colon + 1 == shot_option.size() ||
                !parse_int(shot_option.substr(0, colon), 1, 2000000000, &frame)) {
                *error = "--shot takes N:FILE, not " + quoted(shot_option);
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
            o->render_tune = true;
            if (!render_args("NAME SECONDS FILE", &o->tune_name, &o->tune_seconds, &o->tune_file))
                return false;
        } else if (option == "--render-score") {
            o->render_score = true;
            if (!render_args("FILE SECONDS OUT", &o->score_path, &o->score_seconds, &o->score_wave))
                return false;
        } else {
            *error = "unknown option " + quoted(option);
            return false;
        }
    }
    for (const auto& [frame, file] : o->shots) {
        if (frame > o->frames) {
            *error = "--shot " + std::to_string(frame) + " comes after the last frame, " +
                     std::to_string(o->frames);
            return false;
        }
    }
    if (o->recorded_play_data && o->input.empty()) {
        *error = "--recorded-play-data needs --input";
        return false;
    }
    if (o->render_tune && o->render_score) {
        *error = "--render-tune and --render-score cannot be given together";
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
