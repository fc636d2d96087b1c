// The game's entry on the SDL host (placeholder until the host is built).
#include <cstdio>

#include "shell/shell.h"

int main() {
    std::fprintf(stderr, "zarvox: no display host yet\n");
    return 1;
}
