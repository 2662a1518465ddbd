#include "processor/procedures.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "catalog/property_def.h"
#include "catalog/table_entry.h"
#include "common/data_chunk.h"
#include "common/debug_writer.h"
#include "common/invariant.h"
#include "common/logical_type.h"
#include "common/release_each.h"
#include "common/unicode_case.h"
#include "common/value.h"
#include "processor/procedure_tables.h"

namespace zelvo {

namespace {

using Args = std::vector<BoundExpression>;
using Procedure = Result<ChunkedResult> (*)(const Catalog&, const Args&);

struct ColumnSpec {
  std::string_view name;
  LogicalTypeKind type = LogicalTypeKind::String;
};

constexpr LogicalTypeKind kInt64 = LogicalTypeKind::Int64;
constexpr LogicalTypeKind kBool = LogicalTypeKind::Bool;

// Builds a procedure's answer: every row goes into a chunk of its own.
class RowCollector {
 public:
  explicit RowCollector(std::span<const ColumnSpec> columns) : result_(column_names(columns)) {
    types_.reserve(columns.size());
    for (const ColumnSpec& column : columns) types_.emplace_back(column.type);
  }
  // One String column with a name decided at run time.
  explicit RowCollector(std::string column_name)
      : result_(std::vector<std::string>{std::move(column_name)}), types_{LogicalType(LogicalTypeKind::String)} {}

  // Makes room for `rows` rows in all.
  void reserve(std::size_t rows) { result_.reserve(rows); }

  // One value per column; the values are moved into the row's chunk.
  template <std::size_t N>
  void add(Value (&&row)[N]) {
    DataChunk chunk(types_);
    const bool appended = chunk.append_moved_row(row);
    ZELVO_CHECK(appended, "a fresh chunk has room for one row");
    result_.add_chunk(std::move(chunk));
  }

  ChunkedResult finish() && { return std::move(result_); }

 private:
  static std::vector<std::string> column_names(std::span<const ColumnSpec> columns) {
    std::vector<std::string> names;
    names.reserve(columns.size());
    for (const ColumnSpec& column : columns) names.emplace_back(column.name);
    return names;
  }

  ChunkedResult result_;
  std::vector<LogicalType> types_;
};

Value text(std::string_view s) { return Value::string(std::string(s)); }
Value count(std::size_t n) { return Value::int64(static_cast<std::int64_t>(n)); }
Value type_text(const LogicalType& type) { return Value::string(debug_text(type)); }

// The name argument of a procedure: the first argument, when it is a String
// literal. Anything else counts as a name that is not found.
std::optional<std::string_view> name_argument(const Args& args) {
  if (args.empty()) return std::nullopt;
  const auto* literal = args.front().as<BoundExpression::Literal>();
  if (literal == nullptr || literal->value.kind() != ValueKind::String) return std::nullopt;
  return std::string_view(literal->value.as_string());
}

// The name of the primary-key property; empty when the key position names
// no property.
std::string_view primary_key_name(const NodeTableEntry& table) {
  if (table.primary_key_index >= table.properties.size()) return {};
  return table.properties[static_cast<std::size_t>(table.primary_key_index)].name;
}

// The name of the node table with this id; "?" when there is none.
std::string node_table_name(const Catalog& catalog, TableId id) {
  const std::shared_ptr<const NodeTableEntry> table = catalog.get_node_table(id);
  return table != nullptr ? table->name : std::string("?");
}

// "name Type, name Type, ..." for the properties of a table definition.
void append_column_list(std::string& out, const std::vector<PropertyDef>& properties) {
  for (std::size_t i = 0; i < properties.size(); ++i) {
    if (i > 0) out += ", ";
    out += properties[i].name;
    out += ' ';
    out += debug_text(properties[i].data_type);
  }
}

std::string node_table_definition(const NodeTableEntry& table) {
  std::string out = "CREATE NODE TABLE ";
  out += table.name;
  out += '(';
  append_column_list(out, table.properties);
  out += ", PRIMARY KEY(";
  out += primary_key_name(table);
  out += "))";
  return out;
}

std::string rel_table_definition(const Catalog& catalog, const RelTableEntry& table) {
  std::string out = "CREATE REL TABLE ";
  out += table.name;
  out += " FROM ";
  out += node_table_name(catalog, table.src_table_id);
  out += " TO ";
  out += node_table_name(catalog, table.dst_table_id);
  out += '(';
  append_column_list(out, table.properties);
  out += ')';
  return out;
}

// --- procedures over the catalog ---

constexpr std::array<ColumnSpec, 2> kTableInfoColumns = {{{"column_name"}, {"data_type"}}};

Result<ChunkedResult> table_info(const Catalog& catalog, const Args& args) {
  const std::optional<std::string_view> name = name_argument(args);
  const auto table = name.has_value() ? catalog.get_node_table_by_name(*name) : nullptr;
  if (table == nullptr) return Error::execution("table_info requires a table name argument");
  RowCollector rows(kTableInfoColumns);
  rows.reserve(table->properties.size());
  for (const PropertyDef& property : table->properties) rows.add({text(property.name), type_text(property.data_type)});
  return std::move(rows).finish();
}

constexpr std::array<ColumnSpec, 2> kShowTablesColumns = {{{"table_name"}, {"table_type"}}};

Result<ChunkedResult> show_tables(const Catalog& catalog, const Args&) {
  std::vector<std::pair<std::string, std::string>> tables = catalog.list_tables();
  RowCollector rows(kShowTablesColumns);
  rows.reserve(tables.size());
  for (auto& [name, kind] : tables) rows.add({Value::string(std::move(name)), Value::string(std::move(kind))});
  return std::move(rows).finish();
}

constexpr std::array<ColumnSpec, 3> kShowNodeTablesColumns = {{{"name"}, {"columns", kInt64}, {"primary_key"}}};

Result<ChunkedResult> show_node_tables(const Catalog& catalog, const Args&) {
  auto tables = catalog.list_node_tables();
  RowCollector rows(kShowNodeTablesColumns);
  rows.reserve(tables.size());
  release_each(std::move(tables), [&](const NodeTableEntry& table) {
    rows.add({text(table.name), count(table.properties.size()), text(primary_key_name(table))});
  });
  return std::move(rows).finish();
}

constexpr std::array<ColumnSpec, 4> kShowRelTablesColumns = {
    {{"name"}, {"src_table"}, {"dst_table"}, {"properties", kInt64}}};

Result<ChunkedResult> show_rel_tables(const Catalog& catalog, const Args&) {
  auto tables = catalog.list_rel_tables();
  RowCollector rows(kShowRelTablesColumns);
  rows.reserve(tables.size());
  release_each(std::move(tables), [&](const RelTableEntry& table) {
    rows.add({text(table.name), Value::string(node_table_name(catalog, table.src_table_id)),
              Value::string(node_table_name(catalog, table.dst_table_id)), count(table.properties.size())});
  });
  return std::move(rows).finish();
}

constexpr std::array<ColumnSpec, 4> kShowIndexesColumns = {{{"name"}, {"table"}, {"columns"}, {"unique"}}};

// Indexes are never recorded, so the listing is always empty.
Result<ChunkedResult> show_indexes(const Catalog&, const Args&) { return RowCollector(kShowIndexesColumns).finish(); }

constexpr std::array<ColumnSpec, 3> kDbSchemaColumns = {{{"object_type"}, {"object_name"}, {"definition"}}};

Result<ChunkedResult> db_schema(const Catalog& catalog, const Args&) {
  RowCollector rows(kDbSchemaColumns);
  release_each(catalog.list_node_tables(), [&](const NodeTableEntry& table) {
    rows.add({text("NODE_TABLE"), text(table.name), Value::string(node_table_definition(table))});
  });
  release_each(catalog.list_rel_tables(), [&](const RelTableEntry& table) {
    rows.add({text("REL_TABLE"), text(table.name), Value::string(rel_table_definition(catalog, table))});
  });
  return std::move(rows).finish();
}

constexpr std::array<ColumnSpec, 2> kStorageInfoColumns = {{{"metric"}, {"value"}}};

Result<ChunkedResult> storage_info(const Catalog& catalog, const Args&) {
  RowCollector rows(kStorageInfoColumns);
  rows.add({text("node_tables"), Value::string(std::to_string(catalog.list_node_tables().size()))});
  rows.add({text("rel_tables"), Value::string(std::to_string(catalog.list_rel_tables().size()))});
  rows.add({text("catalog_version"), Value::string(std::to_string(catalog.version()))});
  return std::move(rows).finish();
}

constexpr std::array<ColumnSpec, 3> kNodePropertiesColumns = {{{"name"}, {"type"}, {"primary_key", kBool}}};

Result<ChunkedResult> node_properties(const Catalog& catalog, const Args& args) {
  const std::optional<std::string_view> name = name_argument(args);
  const auto table = name.has_value() ? catalog.get_node_table_by_name(*name) : nullptr;
  if (table == nullptr) return Error::execution("node_properties requires a table name");
  // Compared by name: a property that shares the key's name is reported
  // as a key column too.
  const std::string_view key = primary_key_name(*table);
  RowCollector rows(kNodePropertiesColumns);
  rows.reserve(table->properties.size());
  for (const PropertyDef& property : table->properties) {
    rows.add({text(property.name), type_text(property.data_type), Value::boolean(property.name == key)});
  }
  return std::move(rows).finish();
}

constexpr std::array<ColumnSpec, 2> kRelPropertiesColumns = {{{"name"}, {"type"}}};

Result<ChunkedResult> rel_properties(const Catalog& catalog, const Args& args) {
  const std::optional<std::string_view> name = name_argument(args);
  const auto table = name.has_value() ? catalog.get_rel_table_by_name(*name) : nullptr;
  if (table == nullptr) return Error::execution("rel_properties requires a relationship table name");
  RowCollector rows(kRelPropertiesColumns);
  rows.reserve(table->properties.size());
  for (const PropertyDef& property : table->properties) {
    rows.add({text(property.name), type_text(property.data_type)});
  }
  return std::move(rows).finish();
}

// --- procedures over fixed texts ---

constexpr std::array<ColumnSpec, 3> kShowFunctionsColumns = {{{"name"}, {"category"}, {"description"}}};

Result<ChunkedResult> show_functions(const Catalog&, const Args&) {
  RowCollector rows(kShowFunctionsColumns);
  rows.reserve(kFunctionRows.size());
  for (const FunctionRow& row : kFunctionRows) rows.add({text(row.name), text(row.category), text(row.description)});
  return std::move(rows).finish();
}

constexpr std::array<ColumnSpec, 2> kShowProceduresColumns = {{{"name"}, {"description"}}};

Result<ChunkedResult> show_procedures(const Catalog&, const Args&) {
  RowCollector rows(kShowProceduresColumns);
  rows.reserve(kProcedureRows.size());
  for (const ProcedureRow& row : kProcedureRows) rows.add({text(row.name), text(row.description)});
  return std::move(rows).finish();
}

constexpr std::array<ColumnSpec, 2> kShowConnectionColumns = {{{"property"}, {"value"}}};

Result<ChunkedResult> show_connection(const Catalog&, const Args&) {
  RowCollector rows(kShowConnectionColumns);
  rows.reserve(kConnectionRows.size());
  for (const NamedText& row : kConnectionRows) rows.add({text(row.name), text(row.text)});
  return std::move(rows).finish();
}

constexpr std::array<ColumnSpec, 1> kDbVersionColumns = {{{"version"}}};

Result<ChunkedResult> db_version(const Catalog&, const Args&) {
  RowCollector rows(kDbVersionColumns);
  rows.add({text(kDbVersionText)});
  return std::move(rows).finish();
}

// One column named by the argument as written, holding the setting's fixed
// value (looked up with case).
Result<ChunkedResult> current_setting(const Catalog&, const Args& args) {
  const std::optional<std::string_view> name = name_argument(args);
  if (!name.has_value()) return Error::execution("current_setting requires a setting name");
  std::string_view value = kUnknownSettingValue;
  for (const NamedText& setting : kSettingValues) {
    if (setting.name == *name) {
      value = setting.text;
      break;
    }
  }
  RowCollector rows{std::string(*name)};
  rows.add({text(value)});
  return std::move(rows).finish();
}

struct ProcedureEntry {
  std::string_view name;
  Procedure run;
};

constexpr std::array<ProcedureEntry, 14> kProcedures = {{
    {"table_info", table_info},
    {"show_tables", show_tables},
    {"show_node_tables", show_node_tables},
    {"show_rel_tables", show_rel_tables},
    {"show_indexes", show_indexes},
    {"show_functions", show_functions},
    {"show_procedures", show_procedures},
    {"show_connection", show_connection},
    {"db_version", db_version},
    {"db_schema", db_schema},
    {"storage_info", storage_info},
    {"current_setting", current_setting},
    {"node_properties", node_properties},
    {"rel_properties", rel_properties},
}};

}  // namespace

Result<ChunkedResult> call_procedure(const Catalog& catalog, std::string_view name, const Args& args) {
  const std::string lowered = unicode::to_lower(name);
  for (const ProcedureEntry& procedure : kProcedures) {
    if (lowered == procedure.name) return procedure.run(catalog, args);
  }
  return Error::execution("Unknown procedure: " + std::string(name));
}

}  // namespace zelvo
