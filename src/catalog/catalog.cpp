#include "catalog/catalog.h"

#include "common/debug_writer.h"

namespace zelvo {

Result<TableId> Catalog::create_node_table(NodeTableDef def) {
  // Reserving the name is the duplicate check: of two creates of one name,
  // exactly one gets past this line.
  if (!node_tables_.reserve(def.name)) {
    return Error::catalog("Node table '" + def.name + "' already exists");
  }
  const TableId id = take_table_id();
  node_tables_.publish(std::make_shared<const NodeTableEntry>(
      NodeTableEntry{std::move(def.name), std::move(def.properties), id, def.primary_key_index}));
  version_.fetch_add(1);
  return id;
}

Result<TableId> Catalog::create_rel_table(RelTableDef def) {
  // The checks run in the order callers see their errors; the name is
  // reserved only once the others have passed, so a create that is bound to
  // fail never holds a name.
  const auto duplicate = [&def] { return Error::catalog("Relationship table '" + def.name + "' already exists"); };
  if (rel_tables_.name_taken(def.name)) return duplicate();
  if (!node_tables_.contains_id(def.src_table_id)) {
    return Error::catalog("Source table " + debug_text(def.src_table_id) + " does not exist");
  }
  if (!node_tables_.contains_id(def.dst_table_id)) {
    return Error::catalog("Destination table " + debug_text(def.dst_table_id) + " does not exist");
  }
  if (!rel_tables_.reserve(def.name)) return duplicate();
  const TableId id = take_table_id();
  rel_tables_.publish(std::make_shared<const RelTableEntry>(
      RelTableEntry{std::move(def.name), std::move(def.properties), def.src_table_id, def.dst_table_id, id}));
  version_.fetch_add(1);
  return id;
}

Status Catalog::drop_node_table(std::string_view name) {
  if (!node_tables_.drop(name)) return Error::table_not_found(std::string(name));
  version_.fetch_add(1);
  return {};
}

Status Catalog::drop_rel_table(std::string_view name) {
  if (!rel_tables_.drop(name)) return Error::table_not_found(std::string(name));
  version_.fetch_add(1);
  return {};
}

std::vector<std::pair<std::string, std::string>> Catalog::list_tables() const {
  std::vector<std::pair<std::string, std::string>> out;
  node_tables_.for_each([&out](const NodeTableEntry& entry) { out.emplace_back(entry.name, "NODE"); });
  rel_tables_.for_each([&out](const RelTableEntry& entry) { out.emplace_back(entry.name, "REL"); });
  return out;
}

}  // namespace zelvo
