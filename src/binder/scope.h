#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/hasher.h"
#include "common/ids.h"

namespace zelvo {

// A variable visible to binding and the table of the pattern that
// introduced it (absent for a label-less pattern and a FOREACH variable).
// The name views the statement being bound, which outlives its scope.
struct ScopeEntry {
  std::string_view name;
  std::optional<TableId> table;
};

// Hashes variable names with the process's random key, so that no choice of
// names can make the index degrade.
struct ScopeNameHash {
  std::size_t operator()(std::string_view name) const noexcept {
    Hasher hasher(process_random_key());
    hasher.write_str(name);
    return static_cast<std::size_t>(hasher.finish());
  }
};

// The variables of one query, in the order they were introduced. Entries are
// appended, and dropped only from the end (what a FOREACH body adds ends
// with the body); lookup finds the first entry of a name, so an earlier
// entry shadows a later one of the same name. The first few entries live
// inline; a scope that outgrows them moves to the heap and indexes first
// entries by name, so that lookups stay constant-time in queries with many
// variables.
class Scope {
 public:
  void add(std::string_view name, std::optional<TableId> table) {
    if (spilled_.empty() && size_ < kInlineEntries) {
      inline_[size_++] = ScopeEntry{name, table};
      return;
    }
    if (spilled_.empty()) spill();
    spilled_.push_back(ScopeEntry{name, table});
    first_by_name_.try_emplace(name, size_++);
  }

  const ScopeEntry* find(std::string_view name) const {
    if (!spilled_.empty()) {
      const auto found = first_by_name_.find(name);
      return found == first_by_name_.end() ? nullptr : &spilled_[found->second];
    }
    for (std::size_t i = 0; i < size_; ++i) {
      if (inline_[i].name == name) return &inline_[i];
    }
    return nullptr;
  }

  std::span<const ScopeEntry> entries() const {
    return spilled_.empty() ? std::span<const ScopeEntry>(inline_.data(), size_)
                            : std::span<const ScopeEntry>(spilled_);
  }

  std::size_t size() const { return size_; }

  // Drops the entries from position `size` on, the last first, in time
  // proportional to their number. A dropped entry leaves the index only
  // where it is the first of its name: an earlier one keeps shadowing it.
  // The scope stays on the heap until it is empty, where both forms agree.
  void truncate(std::size_t size) {
    if (spilled_.empty()) {
      if (size < size_) size_ = size;
      return;
    }
    while (size_ > size) {
      --size_;
      const auto first = first_by_name_.find(spilled_.back().name);
      if (first != first_by_name_.end() && first->second == size_) first_by_name_.erase(first);
      spilled_.pop_back();
    }
  }

 private:
  static constexpr std::size_t kInlineEntries = 8;

  void spill() {
    spilled_.reserve(kInlineEntries * 2);
    spilled_.assign(inline_.begin(), inline_.end());
    for (std::size_t i = 0; i < size_; ++i) first_by_name_.try_emplace(inline_[i].name, i);
  }

  std::array<ScopeEntry, kInlineEntries> inline_;
  std::size_t size_ = 0;
  // Every entry, once the inline ones are full.
  std::vector<ScopeEntry> spilled_;
  // The position of the first entry of each name, once spilled.
  std::unordered_map<std::string_view, std::size_t, ScopeNameHash> first_by_name_;
};

// Truncates a scope back to the size it had when the guard was made, on
// every way out of the guard's block, a failed binding included: the
// entries added meanwhile are visible only inside the block.
class ScopeRestorer {
 public:
  explicit ScopeRestorer(Scope& scope) : scope_(scope), size_(scope.size()) {}
  ~ScopeRestorer() { scope_.truncate(size_); }
  ScopeRestorer(const ScopeRestorer&) = delete;
  ScopeRestorer& operator=(const ScopeRestorer&) = delete;

 private:
  Scope& scope_;
  std::size_t size_;
};

}  // namespace zelvo
