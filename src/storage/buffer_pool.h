#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <unordered_map>

namespace zelvo {

// One cached entry of the buffer pool with its dirty flag.
class PoolEntry {
 public:
  bool is_dirty() const {
    std::shared_lock lock(mutex_);
    return dirty_;
  }
  void mark_dirty() {
    std::unique_lock lock(mutex_);
    dirty_ = true;
  }
  void mark_clean() {
    std::unique_lock lock(mutex_);
    dirty_ = false;
  }

 private:
  mutable std::shared_mutex mutex_;
  bool dirty_ = false;
};

// The storage's cache of entries by key, shared by every connection of a
// database. Nothing in the engine caches entries yet, so the pool stays
// empty; a checkpoint walks it all the same.
class BufferPool {
 public:
  explicit BufferPool(std::uint64_t buffer_pool_size) : buffer_pool_size_(buffer_pool_size) {}

  std::uint64_t buffer_pool_size() const { return buffer_pool_size_; }

  // Caches `entry` under `key`, replacing any previous entry.
  void insert(std::uint64_t key, std::shared_ptr<PoolEntry> entry);

  // Clears the dirty flag of every entry. Lock order: the pool (shared, for
  // the whole walk), then each entry in turn.
  void clear_dirty_flags() const;

 private:
  mutable std::shared_mutex mutex_;
  std::unordered_map<std::uint64_t, std::shared_ptr<PoolEntry>> entries_;
  std::uint64_t buffer_pool_size_;
};

}  // namespace zelvo
