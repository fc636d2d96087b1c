// What sound.cpp needs to link without the game: a resource table and a host
// that observes nothing. parse_wave itself uses neither.
#include "platform/host.h"
#include "platform/resources.h"

bool find_resource(const char*, const char*, ResourceData*) {
    return false;
}
const Host& host() {
    static const Host h{};
    return h;
}
