// Writing a whole buffer to a file descriptor, across short writes and
// interrupted calls.
#pragma once

#include <cstddef>

// False when the descriptor refuses (disk full, closed pipe, ...).
bool write_fully(int fd, const void* data, size_t size);
