#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <string_view>
#include <thread>
#include <utility>

#include "common/flat_hash_map.h"
#include "common/hasher.h"
#include "common/ids.h"

namespace zelvo {

// The hash of the concurrent maps: a Hasher keyed with the process's random
// key, so that key placement cannot be predicted from outside the process.
// Transparent: a map with std::string keys is searched with a string_view.
struct ProcessKeyedHash {
  using is_transparent = void;

  std::uint64_t key = process_random_key();

  std::size_t operator()(std::string_view text) const noexcept {
    Hasher hasher(key);
    hasher.write_str(text);
    return static_cast<std::size_t>(hasher.finish());
  }
  std::size_t operator()(std::uint64_t number) const noexcept {
    Hasher hasher(key);
    hasher.write_u64(number);
    return static_cast<std::size_t>(hasher.finish());
  }
  std::size_t operator()(TableId id) const noexcept { return (*this)(id.value); }
};

// The shard count of a new map: the next power of two at or above four
// shards per processor (four processors assumed when the count is unknown),
// at most 256. Chosen once per process.
inline std::size_t default_shard_count() {
  static const std::size_t count = [] {
    const unsigned processors = std::thread::hardware_concurrency();
    const std::size_t wanted = std::size_t{4} * (processors == 0 ? 4 : std::min(processors, 64U));
    return std::bit_ceil(wanted);
  }();
  return count;
}

// A hash map split into a fixed power-of-two number of shards, each an
// open-addressing table behind its own reader-writer lock. Every operation locks one
// shard only, for the length of that one operation: lookups take the shard's
// lock shared and copy the value out (values are meant to be cheap to copy:
// ids and shared pointers); changes take it exclusively.
template <typename Key, typename Value>
class ConcurrentMap {
 public:
  ConcurrentMap() : ConcurrentMap(default_shard_count()) {}
  // `shard_count` is rounded up to a power of two, at most 65536.
  explicit ConcurrentMap(std::size_t shard_count)
      : shard_count_(std::bit_ceil(std::clamp<std::size_t>(shard_count, 1, kMaxShards))),
        shards_(std::make_unique<Shard[]>(shard_count_)) {}

  ConcurrentMap(const ConcurrentMap&) = delete;
  ConcurrentMap& operator=(const ConcurrentMap&) = delete;

  std::size_t shard_count() const { return shard_count_; }

  // A copy of the value stored under `key`, or none.
  template <typename K>
  std::optional<Value> get(const K& key) const {
    const Shard& shard = shard_for(key);
    std::shared_lock lock(shard.mutex);
    const Value* found = shard.map.find(key);
    if (found == nullptr) return std::nullopt;
    return *found;
  }

  template <typename K>
  bool contains(const K& key) const {
    const Shard& shard = shard_for(key);
    std::shared_lock lock(shard.mutex);
    return shard.map.find(key) != nullptr;
  }

  // Stores `value` under `key` unless the key is present; true when stored.
  // The test and the insert are one step under the shard's lock.
  bool insert_if_absent(Key key, Value value) {
    Shard& shard = shard_for(key);
    std::unique_lock lock(shard.mutex);
    return shard.map.try_emplace(std::move(key), std::move(value)).second;
  }

  // Stores `value` under `key`, replacing (and releasing) any previous value.
  void insert_or_assign(Key key, Value value) {
    Shard& shard = shard_for(key);
    std::optional<Value> previous;
    {
      std::unique_lock lock(shard.mutex);
      Value* stored = shard.map.find(key);
      if (stored != nullptr) {
        previous = std::exchange(*stored, std::move(value));
      } else {
        shard.map.try_emplace(std::move(key), std::move(value));
      }
    }
    // `previous` is destroyed here, outside the lock: releasing the last
    // reference to a large value should not stall the shard.
  }

  // Replaces the value of a present key; false (and nothing stored) when the
  // key is absent.
  template <typename K>
  bool replace(const K& key, Value value) {
    Shard& shard = shard_for(key);
    std::optional<Value> previous;
    {
      std::unique_lock lock(shard.mutex);
      Value* found = shard.map.find(key);
      if (found == nullptr) return false;
      previous = std::exchange(*found, std::move(value));
    }
    return true;
  }

  // Removes `key`; its former value, or none when it was absent.
  template <typename K>
  std::optional<Value> remove(const K& key) {
    return remove_if(key, [](const Value&) { return true; });
  }

  // Removes `key` only when `predicate(value)` holds for its current value;
  // the former value when removed, otherwise none.
  template <typename K, typename Predicate>
  std::optional<Value> remove_if(const K& key, Predicate predicate) {
    Shard& shard = shard_for(key);
    std::unique_lock lock(shard.mutex);
    const Value* found = shard.map.find(key);
    if (found == nullptr || !predicate(*found)) return std::nullopt;
    std::optional<Value> removed(std::in_place);
    shard.map.erase(key, &*removed);
    return removed;
  }

  // Calls `visit(key, value)` for every entry, shard by shard, each shard
  // under its read lock. Entries changed in shards already visited or not yet
  // visited may or may not be seen. `visit` must not call back into the map.
  template <typename Visit>
  void for_each(Visit&& visit) const {
    for (std::size_t i = 0; i < shard_count_; ++i) {
      const Shard& shard = shards_[i];
      std::shared_lock lock(shard.mutex);
      shard.map.for_each(visit);
    }
  }

  // The number of entries, summed shard by shard.
  std::size_t size() const {
    std::size_t total = 0;
    for (std::size_t i = 0; i < shard_count_; ++i) {
      std::shared_lock lock(shards_[i].mutex);
      total += shards_[i].map.size();
    }
    return total;
  }

 private:
  static constexpr std::size_t kMaxShards = std::size_t{1} << 16;

  // Aligned to a cache line so that locking one shard does not contend with
  // its neighbours.
  struct alignas(64) Shard {
    mutable std::shared_mutex mutex;
    FlatHashMap<Key, Value, ProcessKeyedHash> map;
  };

  // The shard index comes from the high half of the hash; the shard's own
  // table reduces the full hash modulo its bucket count.
  template <typename K>
  std::size_t shard_index(const K& key) const {
    const std::uint64_t hash = hash_(key);
    return static_cast<std::size_t>(hash >> 32) & (shard_count_ - 1);
  }
  template <typename K>
  Shard& shard_for(const K& key) {
    return shards_[shard_index(key)];
  }
  template <typename K>
  const Shard& shard_for(const K& key) const {
    return shards_[shard_index(key)];
  }

  ProcessKeyedHash hash_;
  std::size_t shard_count_;
  std::unique_ptr<Shard[]> shards_;
};

}  // namespace zelvo
