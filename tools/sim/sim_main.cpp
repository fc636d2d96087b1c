#include <cstdio>
#include <string>

#include "sim/sim.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    // A trace to standard output is the same bytes as on Linux: no CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    SimOptions options;
    std::string error;
    if (!parse_sim_options(argc, argv, &options, &error)) {
        std::fprintf(stderr, "zarvox-sim: %s\n", error.c_str());
        return 2;
    }
    return run_sim(options);
}
