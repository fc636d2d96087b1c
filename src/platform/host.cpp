#include "platform/host.h"

namespace {
const Host* installed_host = nullptr;
}

const Host& host() {
    return *installed_host;
}

void install_host(const Host* h) {
    installed_host = h;
}
