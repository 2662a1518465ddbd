#include "storage/buffer_pool.h"

#include <utility>

namespace zelvo {

void BufferPool::insert(std::uint64_t key, std::shared_ptr<PoolEntry> entry) {
  std::unique_lock lock(mutex_);
  entries_.insert_or_assign(key, std::move(entry));
}

void BufferPool::clear_dirty_flags() const {
  std::shared_lock lock(mutex_);
  for (const auto& [key, entry] : entries_) {
    // Test under the shared lock first: clean entries never take the
    // exclusive one.
    if (entry->is_dirty()) entry->mark_clean();
  }
}

}  // namespace zelvo
