#include "processor/schema_handlers.h"

#include <cstdint>
#include <utility>
#include <variant>

#include "catalog/property_def.h"
#include "common/debug_writer.h"

namespace zelvo {

namespace {

// The catalog's property definitions of the declared columns, in order.
// A column's flag is not part of a property.
std::vector<PropertyDef> property_defs(const std::vector<BoundColumnDefinition>& columns) {
  std::vector<std::pair<std::string, LogicalType>> pairs;
  pairs.reserve(columns.size());
  for (const BoundColumnDefinition& column : columns) pairs.emplace_back(column.name, column.data_type);
  return build_property_defs(std::move(pairs));
}

// The position of the first column named exactly `primary_key`; the first
// column (0) when none is.
std::uint64_t primary_key_position(const std::vector<BoundColumnDefinition>& columns, std::string_view primary_key) {
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].name == primary_key) return i;
  }
  return 0;
}

}  // namespace

StatementResult create_node_table(Catalog& catalog, const std::string& name,
                                  const std::vector<BoundColumnDefinition>& columns, const std::string& primary_key) {
  NodeTableDef def{name, property_defs(columns), primary_key_position(columns, primary_key)};
  Result<TableId> created = catalog.create_node_table(std::move(def));
  if (!created.ok()) return std::move(created).error();
  return "Created node table '" + name + "'";
}

StatementResult create_rel_table(Catalog& catalog, const std::string& name,
                                 const std::vector<BoundColumnDefinition>& columns, TableId from_table_id,
                                 TableId to_table_id) {
  RelTableDef def{name, property_defs(columns), from_table_id, to_table_id};
  Result<TableId> created = catalog.create_rel_table(std::move(def));
  if (!created.ok()) return std::move(created).error();
  return "Created relationship table '" + name + "'";
}

StatementResult drop_table(Catalog& catalog, const std::string& name, bool if_exists) {
  // Another connection may drop the table between the test and the drop;
  // the catalog then refuses and its error is the answer.
  if (catalog.has_node_table(name)) {
    Status dropped = catalog.drop_node_table(name);
    if (!dropped.ok()) return std::move(dropped).error();
    return "Dropped node table '" + name + "'";
  }
  if (catalog.has_rel_table(name)) {
    Status dropped = catalog.drop_rel_table(name);
    if (!dropped.ok()) return std::move(dropped).error();
    return "Dropped relationship table '" + name + "'";
  }
  if (if_exists) return "Table '" + name + "' does not exist (IF EXISTS)";
  return Error::table_not_found(name);
}

std::string alter_table_result(const BoundAlterAction& action) {
  struct Describe {
    std::string operator()(const BoundAlterAction::AddColumn& add) const {
      return "Added column '" + add.name + "' to table";
    }
    std::string operator()(const BoundAlterAction::DropColumn& drop) const {
      return "Dropped column " + debug_text(ColumnId{drop.property_id}) + " from table";
    }
    std::string operator()(const BoundAlterAction::RenameColumn& rename) const {
      return "Renamed column " + debug_text(ColumnId{rename.property_id}) + " to '" + rename.new_name + "'";
    }
    std::string operator()(const BoundAlterAction::RenameTable& rename) const {
      return "Renamed table to '" + rename.new_name + "'";
    }
  };
  return std::visit(Describe{}, action.action);
}

std::string drop_sequence_result(std::string_view name) {
  std::string message = "Dropped sequence '";
  message += name;
  message += '\'';
  return message;
}

}  // namespace zelvo
