#include "storage/storage.h"

#include <utility>

#include "storage/directory.h"

namespace zelvo {

Storage::Storage(StorageConfig config)
    : config_(std::move(config)), pool_(std::make_shared<BufferPool>(config_.buffer_pool_size)) {}

Result<std::shared_ptr<Storage>> Storage::open(StorageConfig config) {
  if (!path_exists(config.path)) ZELVO_TRY(create_directories(config.path));
  return std::shared_ptr<Storage>(new Storage(std::move(config)));
}

std::shared_ptr<Storage> Storage::in_memory() {
  return std::shared_ptr<Storage>(new Storage(StorageConfig::in_memory_config()));
}

Status Storage::checkpoint() const {
  pool_->clear_dirty_flags();
  return {};
}

}  // namespace zelvo
