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
// only appended; lookup finds the first entry of a name, so an earlier entry
// shadows a later one of the same name. The first few entries live inline;
// a scope that outgrows them moves to the heap and indexes first entries by
// name, so that lookups stay constant-time in queries with many variables.
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
    return spilled_.empty() ? std::span<const ScopeEntry>(inline_.data(), size_) : std::span<const ScopeEntry>(spilled_);
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

}  // namespace zelvo
