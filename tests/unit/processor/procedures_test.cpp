#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "catalog/property_def.h"
#include "processor/procedure_tables.h"
#include "processor/procedures.h"

namespace zelvo {
namespace {

using Rows = std::vector<std::vector<std::string>>;

struct Answer {
  std::vector<std::string> columns;
  Rows rows;
};

std::string cell_text(const Value& value) {
  switch (value.kind()) {
    case ValueKind::String: return value.as_string();
    case ValueKind::Int64: return std::to_string(value.as_int64());
    case ValueKind::Bool: return value.as_bool() ? "true" : "false";
    default: return debug_text(value);
  }
}

BoundExpression text_arg(std::string text) { return BoundExpression::literal(Value::string(std::move(text))); }

// Runs a procedure and checks the shape every answer has: one chunk of one
// row per row. The error, if any, comes back as "ERR " and its display text.
Answer call(const Catalog& catalog, std::string_view name, std::vector<BoundExpression> args = {}) {
  const Result<ChunkedResult> result = call_procedure(catalog, name, args);
  if (!result.ok()) return {{}, {{"ERR " + result.error().display()}}};
  Answer answer{result->columns(), {}};
  EXPECT_EQ(result->chunks().size(), result->row_count()) << name;
  for (const DataChunk& chunk : result->chunks()) EXPECT_EQ(chunk.count(), 1u) << name;
  for (const ChunkedResult::Row& row : result->rows()) {
    std::vector<std::string>& cells = answer.rows.emplace_back();
    for (const Value& value : row) cells.push_back(cell_text(value));
  }
  return answer;
}

Rows sorted(Rows rows) {
  std::sort(rows.begin(), rows.end());
  return rows;
}

std::vector<PropertyDef> properties(std::vector<std::pair<std::string, LogicalType>> columns) {
  return build_property_defs(std::move(columns));
}

const LogicalType kString(LogicalTypeKind::String);
const LogicalType kInt64(LogicalTypeKind::Int64);

// Person(name, age; key age), City(id; key 0) and Knows from Person to City.
class ProceduresTest : public ::testing::Test {
 protected:
  void SetUp() override {
    person_ = catalog_.create_node_table({"Person", properties({{"name", kString}, {"age", kInt64}}), 1}).value();
    city_ = catalog_.create_node_table({"City", properties({{"id", kInt64}}), 0}).value();
    ASSERT_TRUE(catalog_.create_rel_table({"Knows", properties({{"since", kInt64}}), person_, city_}).ok());
  }

  Catalog catalog_;
  TableId person_;
  TableId city_;
};

TEST_F(ProceduresTest, FixedProceduresOnAnEmptyCatalog) {
  const Catalog empty;
  const struct {
    std::string name;
    Answer expected;
  } cases[] = {
      {"show_tables", {{"table_name", "table_type"}, {}}},
      {"show_node_tables", {{"name", "columns", "primary_key"}, {}}},
      {"show_rel_tables", {{"name", "src_table", "dst_table", "properties"}, {}}},
      {"show_indexes", {{"name", "table", "columns", "unique"}, {}}},
      {"db_schema", {{"object_type", "object_name", "definition"}, {}}},
      {"storage_info", {{"metric", "value"}, {{"node_tables", "0"}, {"rel_tables", "0"}, {"catalog_version", "0"}}}},
      {"db_version", {{"version"}, {{"Zelvo 0.1.0"}}}},
      {"show_connection",
       {{"property", "value"},
        {{"database", "zelvo"}, {"version", "0.1.0"}, {"default_schema", "main"}, {"read_only", "false"}}}},
  };
  for (const auto& c : cases) {
    const Answer answer = call(empty, c.name);
    EXPECT_EQ(answer.columns, c.expected.columns) << c.name;
    EXPECT_EQ(answer.rows, c.expected.rows) << c.name;
  }

  const Answer functions = call(empty, "show_functions");
  EXPECT_EQ(functions.columns, (std::vector<std::string>{"name", "category", "description"}));
  ASSERT_EQ(functions.rows.size(), 51u);
  EXPECT_EQ(functions.rows.front(), (std::vector<std::string>{"abs", "Numeric", "Absolute value"}));
  EXPECT_EQ(functions.rows.back(), (std::vector<std::string>{"fts_score", "Full-text", "Full-text search score"}));

  // Every listed procedure exists.
  const Answer procedures = call(empty, "show_procedures");
  EXPECT_EQ(procedures.columns, (std::vector<std::string>{"name", "description"}));
  EXPECT_EQ(procedures.rows.size(), 14u);
  for (const ProcedureRow& row : kProcedureRows) {
    const Result<ChunkedResult> result = call_procedure(empty, row.name, {});
    EXPECT_TRUE(result.ok() || !result.error().message().starts_with("Unknown procedure")) << row.name;
  }
}

TEST_F(ProceduresTest, CatalogListingsAndTableProperties) {
  const struct {
    std::string name;
    std::string arg;
    Rows expected;
  } cases[] = {
      {"show_tables", "", {{"Person", "NODE"}, {"City", "NODE"}, {"Knows", "REL"}}},
      {"show_node_tables", "", {{"Person", "2", "age"}, {"City", "1", "id"}}},
      {"show_rel_tables", "", {{"Knows", "Person", "City", "1"}}},
      {"db_schema",
       "",
       {{"NODE_TABLE", "Person", "CREATE NODE TABLE Person(name String, age Int64, PRIMARY KEY(age))"},
        {"NODE_TABLE", "City", "CREATE NODE TABLE City(id Int64, PRIMARY KEY(id))"},
        {"REL_TABLE", "Knows", "CREATE REL TABLE Knows FROM Person TO City(since Int64)"}}},
      {"storage_info", "", {{"node_tables", "2"}, {"rel_tables", "1"}, {"catalog_version", "3"}}},
      {"table_info", "Person", {{"name", "String"}, {"age", "Int64"}}},
      {"node_properties", "Person", {{"name", "String", "false"}, {"age", "Int64", "true"}}},
      {"rel_properties", "Knows", {{"since", "Int64"}}},
  };
  for (const auto& c : cases) {
    const Answer answer = call(catalog_, c.name, {text_arg(c.arg)});
    EXPECT_EQ(sorted(answer.rows), sorted(c.expected)) << c.name;
  }
  // Node tables come before relationship tables, whatever the map order.
  EXPECT_EQ(call(catalog_, "db_schema").rows.back()[0], "REL_TABLE");
  const Result<ChunkedResult> typed = call_procedure(catalog_, "show_node_tables", {});
  EXPECT_EQ(typed->chunks()[0].types(), (std::vector<LogicalType>{kString, kInt64, kString}));
}

TEST_F(ProceduresTest, MissingNodeTablesAndEmptyKeysPrintAsPlaceholders) {
  ASSERT_TRUE(catalog_.drop_node_table("Person").ok());
  ASSERT_TRUE(catalog_.create_node_table({"Bare", {}, 0}).ok());
  EXPECT_EQ(sorted(call(catalog_, "db_schema").rows),
            sorted({{"NODE_TABLE", "City", "CREATE NODE TABLE City(id Int64, PRIMARY KEY(id))"},
                    {"NODE_TABLE", "Bare", "CREATE NODE TABLE Bare(, PRIMARY KEY())"},
                    {"REL_TABLE", "Knows", "CREATE REL TABLE Knows FROM ? TO City(since Int64)"}}));
  EXPECT_EQ(sorted(call(catalog_, "show_node_tables").rows), sorted({{"City", "1", "id"}, {"Bare", "0", ""}}));
}

// Procedure names match after full Unicode lower-casing; a table name counts
// only as a String literal in the first argument.
TEST_F(ProceduresTest, NamesArgumentsAndErrors) {
  const std::string unknown = "ERR Execution error: Unknown procedure: ";
  const std::string table_info_error = "ERR Execution error: table_info requires a table name argument";
  const BoundExpression int_arg = BoundExpression::literal(Value::int64(1));
  const BoundExpression parameter_arg{BoundExpression::Parameter{"t"}};
  const BoundExpression null_arg = BoundExpression::literal(Value::null());
  const struct {
    std::string name;
    std::vector<BoundExpression> args;
    std::string first_cell;
  } cases[] = {
      {"STORAGE_INFO", {}, "node_tables"},
      {"Db_Version", {}, "Zelvo 0.1.0"},
      {"\u017Fhow_tables", {}, unknown + "\u017Fhow_tables"},
      {"Foo", {}, unknown + "Foo"},
      {"table_info", {}, table_info_error},
      {"table_info", {text_arg("Knows")}, table_info_error},
      {"table_info", {int_arg}, table_info_error},
      {"table_info", {parameter_arg}, table_info_error},
      {"table_info", {null_arg, text_arg("Person")}, table_info_error},
      {"node_properties", {text_arg("Nobody")}, "ERR Execution error: node_properties requires a table name"},
      {"rel_properties",
       {text_arg("Person")},
       "ERR Execution error: rel_properties requires a relationship table name"},
      {"current_setting", {int_arg}, "ERR Execution error: current_setting requires a setting name"},
  };
  for (const auto& c : cases) {
    const Answer answer = call(catalog_, c.name, c.args);
    ASSERT_FALSE(answer.rows.empty()) << c.name;
    EXPECT_EQ(answer.rows[0][0], c.first_cell) << c.name;
  }
}

TEST_F(ProceduresTest, CurrentSettingColumnIsNamedByItsArgument) {
  const struct {
    std::string name;
    std::string value;
  } cases[] = {{"threads", "4"},
               {"timeout", "0"},
               {"progress_bar", "false"},
               {"THREADS", "unknown"},
               {"checkpoint_threshold", "unknown"},
               {"", "unknown"}};
  for (const auto& c : cases) {
    const Answer answer = call(catalog_, "current_setting", {text_arg(c.name), text_arg("ignored")});
    EXPECT_EQ(answer.columns, std::vector<std::string>{c.name});
    EXPECT_EQ(answer.rows, (Rows{{c.value}}));
  }
}

}  // namespace
}  // namespace zelvo
