#include <cstdio>
#include <string>

#include "sim/sim.h"

int main(int argc, char** argv) {
    SimOptions options;
    std::string error;
    if (!parse_sim_options(argc, argv, &options, &error)) {
        std::fprintf(stderr, "zarvox-sim: %s\n", error.c_str());
        return 2;
    }
    return run_sim(options);
}
