#pragma once

#include <cstddef>

namespace ponencias {

// Writes all `size` bytes to `fd`, going on after short writes and interruptions; false, with
// errno set, when a write fails.
bool WriteWhole(int fd, const char* data, size_t size);

}  // namespace ponencias
