#include "engine/database_config.h"

#include <sched.h>

#include <thread>

namespace zelvo {

namespace {

// The processors this process may run on (its affinity mask), falling back
// to the machine's count, and to 4 when neither is known.
std::uint64_t available_threads() {
  cpu_set_t set;
  if (sched_getaffinity(0, sizeof set, &set) == 0) {
    const int count = CPU_COUNT(&set);
    if (count > 0) return static_cast<std::uint64_t>(count);
  }
  const unsigned hardware = std::thread::hardware_concurrency();
  return hardware != 0 ? hardware : 4;
}

}  // namespace

DatabaseConfig DatabaseConfig::default_config() {
  DatabaseConfig config;
  config.thread_count = available_threads();
  return config;
}

}  // namespace zelvo
