#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "catalog/table_entry.h"
#include "catalog/table_set.h"
#include "common/ids.h"
#include "common/result.h"

namespace zelvo {

// The in-memory schema of one database: its node and relationship tables.
// Shared by the database and all its connections; every operation is safe
// to call from several threads. Node and relationship tables have separate
// name spaces (one name may be both), and one id counter, starting at 1,
// serves both kinds; ids are never reused. Entries are handed out as shared
// pointers, so a holder keeps a consistent entry after the table is dropped.
class Catalog {
 public:
  Catalog() = default;
  Catalog(const Catalog&) = delete;
  Catalog& operator=(const Catalog&) = delete;

  // Raised by one after every successful create and drop.
  std::uint64_t version() const { return version_.load(); }

  // Fails with Error::Catalog when a node table of that name exists. A
  // failed create changes nothing and consumes no id.
  Result<TableId> create_node_table(NodeTableDef def);
  // Fails with Error::Catalog when a relationship table of that name exists
  // or when the source or destination is not a node table.
  Result<TableId> create_rel_table(RelTableDef def);

  // Lookups: null when there is no such table.
  std::shared_ptr<const NodeTableEntry> get_node_table(TableId id) const { return node_tables_.get(id); }
  std::shared_ptr<const NodeTableEntry> get_node_table_by_name(std::string_view name) const {
    return node_tables_.get_by_name(name);
  }
  std::shared_ptr<const RelTableEntry> get_rel_table_by_name(std::string_view name) const {
    return rel_tables_.get_by_name(name);
  }

  // The ids of the tables of a name, without taking their entries.
  std::optional<TableId> node_table_id_by_name(std::string_view name) const { return node_tables_.id_by_name(name); }
  std::optional<TableId> rel_table_id_by_name(std::string_view name) const { return rel_tables_.id_by_name(name); }

  bool has_node_table(std::string_view name) const { return node_tables_.contains_name(name); }
  bool has_rel_table(std::string_view name) const { return rel_tables_.contains_name(name); }
  // True when a node table or a relationship table has that name.
  bool table_exists(std::string_view name) const { return has_node_table(name) || has_rel_table(name); }

  // Fail with Error::TableNotFound carrying the name when there is no such
  // table. Relationship tables that name a dropped node table stay.
  Status drop_node_table(std::string_view name);
  Status drop_rel_table(std::string_view name);

  // Listings in the maps' internal order, not creation order.
  std::vector<std::shared_ptr<const NodeTableEntry>> list_node_tables() const { return node_tables_.list(); }
  std::vector<std::shared_ptr<const RelTableEntry>> list_rel_tables() const { return rel_tables_.list(); }
  // (name, "NODE") for every node table, then (name, "REL") for every
  // relationship table.
  std::vector<std::pair<std::string, std::string>> list_tables() const;

 private:
  TableId take_table_id() { return TableId{next_table_id_.fetch_add(1)}; }

  TableSet<NodeTableEntry> node_tables_;
  TableSet<RelTableEntry> rel_tables_;
  std::atomic<std::uint64_t> next_table_id_{1};
  std::atomic<std::uint64_t> version_{0};
};

}  // namespace zelvo
