#pragma once

#include <cstddef>

namespace zelvo {

// The bytes of memory the process can still obtain before the system runs
// out or its memory limit is reached: the least of the system's available
// memory (/proc/meminfo MemAvailable) and the room left under the memory
// limit of the process's control group, as seen from inside it (version 2
// memory.max, version 1 memory.limit_in_bytes). SIZE_MAX when none of them
// can be read. Reads a few small files: for occasional checks before large
// allocations, not for hot paths.
std::size_t memory_available() noexcept;

}  // namespace zelvo
