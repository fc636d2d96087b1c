#include <cstdio>
#include <cstring>
#include <string>

#include "sim/sim.h"

namespace {

const char* const USAGE =
    "Usage: zarvox-sim [OPTION]...\n"
    "Runs the game without a window, on a virtual clock, fed by a key script.\n"
    "\n"
    "  --input FILE              the key script (default: no input)\n"
    "  --recorded-play-data      start from the play record --input holds\n"
    "  --frames N                quit after present N (default 100000)\n"
    "  --trace FILE              one JSON line per present; - is standard output\n"
    "  --shot N:FILE             the screen at present N as PNG or BMP; repeatable\n"
    "  --ms-of-second M          the local time's milliseconds (0 to 999)\n"
    "  --start MODE              the first mode (1 to 4)\n"
    "  --stage K, --score S      the stage (1 to 3) and score (0 to 999) at start\n"
    "  --autoplay                play by itself\n"
    "  --autoplay-script FILE    with --autoplay, write the keys it pressed\n"
    "  --dump-resources DIR      write the built-in resources to DIR and exit\n"
    "  --render-tune NAME SECONDS FILE   render a tune to a WAVE file and exit\n"
    "  --render-score FILE SECONDS OUT   render a score file to a WAVE file and exit\n"
    "  --help                    print this and exit (as the first option)\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(USAGE, stdout);
        return 0;
    }
    SimOptions options;
    std::string error;
    if (!parse_sim_options(argc, argv, &options, &error)) {
        std::fprintf(stderr, "zarvox-sim: %s\n", error.c_str());
        return 2;
    }
    return run_sim(options);
}
