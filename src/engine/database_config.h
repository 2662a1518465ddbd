#pragma once

#include <array>
#include <cstdint>

namespace zelvo {

// The settings a database is opened with. Nothing reads them after the
// database is built; `Database.open` replaces the buffer-pool size.
struct DatabaseConfig {
  std::uint64_t buffer_pool_size = 268435456;  // 256 MiB
  // The hardware threads available to the process (4 when unknown).
  std::uint64_t thread_count = 4;
  std::uint64_t option_value = 100;
  std::array<bool, 5> option_flags{true, false, true, true, false};

  static DatabaseConfig default_config();
};

}  // namespace zelvo
