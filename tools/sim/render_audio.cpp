#include "sim/render_audio.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/tune_render.h"
#include "sim/input_file.h"

int run_render_tune(const SimOptions& options) {
    if (vorbel_render_tune(options.tune_name.c_str(), options.tune_seconds,
                           options.tune_file.c_str()))
        return 0;
    std::fprintf(stderr, "zarvox-sim: %s\n", vorbel_last_error());
    return 1;
}

int run_render_score(const SimOptions& options) {
    std::string text, why;
    if (!read_input(options.score_path, &text, &why)) {
        std::fprintf(stderr, "zarvox-sim: %s: %s\n", options.score_path.c_str(), why.c_str());
        return 2;
    }
    // A byte-order mark, as some editors write, is not part of line 1.
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
    const int done =
        vorbel_render_score(reinterpret_cast<const uint8_t*>(text.data()), text.size(),
                            options.score_seconds, options.score_wave.c_str(), nullptr);
    if (done == 1) return 0;
    const std::string where = done < 0 ? options.score_path + ": " : std::string();
    std::fprintf(stderr, "zarvox-sim: %s%s\n", where.c_str(), vorbel_last_error());
    return done < 0 ? 2 : 1;
}
