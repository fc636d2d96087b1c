// Resources built into the executable, looked up by type and name without
// regard to case ("WAVE"/"shot" finds WAVE/SHOT).
#pragma once

#include <cstddef>
#include <cstdint>

struct ResourceEntry {
    const char* type;  // stored in capitals: "BITMAP", "WAVE", "VBTUNE", "MENU"
    const char* name;  // stored in capitals: "CHARA01", "SHOT", ...
    const uint8_t* bytes;
    size_t size;
};

struct ResourceData {
    const uint8_t* bytes = nullptr;
    size_t size = 0;
};

// Returns false when no resource of that type and name exists.
bool find_resource(const char* type, const char* name, ResourceData* out);

// The table in use: the embedded one unless a test swapped in its own.
const ResourceEntry* resource_table(size_t* count);
void use_resource_table(const ResourceEntry* table, size_t count);
void use_embedded_resources();
