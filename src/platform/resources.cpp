#include "platform/resources.h"

#include <cctype>

// Generated at build time from resources/ (see tools/embed).
extern const ResourceEntry EMBEDDED_RESOURCES[];
extern const size_t EMBEDDED_RESOURCE_COUNT;

namespace {

const ResourceEntry* current_table = EMBEDDED_RESOURCES;
size_t current_count = EMBEDDED_RESOURCE_COUNT;

bool same_ignoring_case(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        if (std::toupper(static_cast<unsigned char>(*a)) !=
            std::toupper(static_cast<unsigned char>(*b)))
            return false;
    }
    return *a == *b;
}

}  // namespace

bool find_resource(const char* type, const char* name, ResourceData* out) {
    if (!type || !name) return false;
    for (size_t i = 0; i < current_count; ++i) {
        const ResourceEntry& e = current_table[i];
        if (same_ignoring_case(e.type, type) && same_ignoring_case(e.name, name)) {
            out->bytes = e.bytes;
            out->size = e.size;
            return true;
        }
    }
    return false;
}

const ResourceEntry* resource_table(size_t* count) {
    *count = current_count;
    return current_table;
}

void use_resource_table(const ResourceEntry* table, size_t count) {
    current_table = table;
    current_count = count;
}

void use_embedded_resources() {
    use_resource_table(EMBEDDED_RESOURCES, EMBEDDED_RESOURCE_COUNT);
}
