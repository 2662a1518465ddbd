#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/ids.h"

namespace zelvo {

// A variable visible to binding and the table of the pattern that
// introduced it (absent for a label-less pattern and a FOREACH variable).
struct ScopeEntry {
  std::string name;
  std::optional<TableId> table;
};

// The variables of one query, in the order they were introduced. Entries are
// only appended; lookup walks from the first entry and the first match wins,
// so an earlier entry shadows a later one of the same name.
class Scope {
 public:
  void add(std::string name, std::optional<TableId> table) { entries_.push_back({std::move(name), table}); }

  const ScopeEntry* find(std::string_view name) const {
    for (const ScopeEntry& entry : entries_) {
      if (entry.name == name) return &entry;
    }
    return nullptr;
  }

  const std::vector<ScopeEntry>& entries() const { return entries_; }

 private:
  std::vector<ScopeEntry> entries_;
};

}  // namespace zelvo
