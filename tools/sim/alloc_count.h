// Counts heap allocations (malloc and operator new) made while counting is on.
#pragma once

// False in builds where the allocator cannot be replaced (sanitizers).
bool allocation_counting_available();
void set_allocation_counting(bool on);
long allocations_counted();
