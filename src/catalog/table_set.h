#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/concurrent_map.h"
#include "common/ids.h"
#include "common/invariant.h"

namespace zelvo {

// The tables of one kind (node or relationship): entries by id and the name
// index. A create first reserves its name (the name maps to the id 0, which
// never names a table) and publishes the entry under its real id afterwards,
// so two creates of one name can never both succeed. A reserved name reads
// as absent to lookups and drops.
template <typename Entry>
class TableSet {
 public:
  using EntryPtr = std::shared_ptr<const Entry>;

  // Claims `name` for a create in progress; false when the name is taken.
  bool reserve(std::string name) { return ids_by_name_.insert_if_absent(std::move(name), kReserved); }

  // Gives up a reservation made by a create that failed afterwards.
  void cancel(std::string_view name) {
    ids_by_name_.remove_if(name, [](TableId id) { return id == kReserved; });
  }

  // Makes the entry of a reserved name visible: first under its id, then
  // through its name.
  void publish(const EntryPtr& entry) {
    entries_.insert_or_assign(entry->table_id, entry);
    const bool replaced = ids_by_name_.replace(entry->name, entry->table_id);
    ZELVO_CHECK(replaced, "published a table name that was not reserved");
  }

  bool name_taken(std::string_view name) const { return ids_by_name_.contains(name); }

  bool contains_name(std::string_view name) const { return id_of(name).has_value(); }
  bool contains_id(TableId id) const { return entries_.contains(id); }

  EntryPtr get(TableId id) const { return entries_.get(id).value_or(nullptr); }

  // The id of the table of that name (a reserved name reads as absent).
  std::optional<TableId> id_by_name(std::string_view name) const { return id_of(name); }

  EntryPtr get_by_name(std::string_view name) const {
    const std::optional<TableId> id = id_of(name);
    return id ? get(*id) : nullptr;
  }

  // Removes the table of that name; false when there is none.
  bool drop(std::string_view name) {
    const std::optional<TableId> id = ids_by_name_.remove_if(name, [](TableId mapped) { return mapped != kReserved; });
    if (!id) return false;
    entries_.remove(*id);
    return true;
  }

  // Every entry, in the map's internal order.
  std::vector<EntryPtr> list() const {
    std::vector<EntryPtr> out;
    entries_.for_each([&out](TableId, const EntryPtr& entry) { out.push_back(entry); });
    return out;
  }

  // Calls `visit(entry)` for every entry, in the map's internal order.
  template <typename Visit>
  void for_each(Visit&& visit) const {
    entries_.for_each([&visit](TableId, const EntryPtr& entry) { visit(*entry); });
  }

 private:
  static constexpr TableId kReserved{0};

  std::optional<TableId> id_of(std::string_view name) const {
    const std::optional<TableId> id = ids_by_name_.get(name);
    if (!id || *id == kReserved) return std::nullopt;
    return id;
  }

  ConcurrentMap<TableId, EntryPtr> entries_;
  ConcurrentMap<std::string, TableId> ids_by_name_;
};

}  // namespace zelvo
