#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace zelvo {

// The settings of a database's storage. A default-constructed value holds
// the defaults of an on-disk database.
struct StorageConfig {
  std::string path = "./zelvo_db";
  std::uint64_t buffer_pool_size = 268435456;  // 256 MiB
  std::uint64_t second_size = 65536;
  std::array<bool, 2> storage_flags{true, true};

  static StorageConfig default_config() { return StorageConfig{}; }
  // The settings of an in-memory database: no path, a 64 MiB pool.
  static StorageConfig in_memory_config() { return StorageConfig{"", 67108864, 1024, {false, false}}; }

  friend bool operator==(const StorageConfig&, const StorageConfig&) = default;
};

}  // namespace zelvo
