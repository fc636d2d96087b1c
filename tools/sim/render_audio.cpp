#include "sim/render_audio.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "vorbel/vorbel_render.h"

namespace {

// Scores are a few kilobytes; anything near this is not one.
constexpr std::uintmax_t kLargestScore = 64ull << 20;

// The file's bytes, or false with the reason.
bool read_score(const std::string& path, std::string* text, std::string* why) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        *why = "not a readable file";
        return false;
    }
    if (std::filesystem::file_size(path, error) > kLargestScore || error) {
        *why = "larger than 64 MiB";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *why = "cannot be read";
        return false;
    }
    text->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        *why = "cannot be read";
        return false;
    }
    return true;
}

}  // namespace

int run_render_tune(const SimOptions& options) {
    if (vorbel_render_tune(options.tune_name.c_str(), options.tune_seconds,
                           options.tune_file.c_str()))
        return 0;
    std::fprintf(stderr, "zarvox-sim: %s\n", vorbel_last_error());
    return 1;
}

int run_render_score(const SimOptions& options) {
    std::string text, why;
    if (!read_score(options.score_path, &text, &why)) {
        std::fprintf(stderr, "zarvox-sim: %s: %s\n", options.score_path.c_str(), why.c_str());
        return 2;
    }
    const int done =
        vorbel_render_score(reinterpret_cast<const uint8_t*>(text.data()), text.size(),
                            options.score_seconds, options.score_wave.c_str(), nullptr);
    if (done == 1) return 0;
    const std::string where = done < 0 ? options.score_path + ": " : std::string();
    std::fprintf(stderr, "zarvox-sim: %s%s\n", where.c_str(), vorbel_last_error());
    return done < 0 ? 2 : 1;
}
