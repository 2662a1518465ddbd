#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "processor/executor.h"

namespace zelvo {
namespace {

// A message as it stands; rows as "columns|row;row" with cells joined by
// commas; an error as "ERR " and its display text.
std::string answer_text(const StatementResult& result) {
  if (result.is_error()) return "ERR " + result.error().display();
  if (result.is_message()) return result.message();
  std::string text;
  for (const std::string& column : result.rows().columns()) text += (text.empty() ? "" : ",") + column;
  text += '|';
  bool first_row = true;
  for (const ChunkedResult::Row& row : result.rows().rows()) {
    if (!first_row) text += ';';
    first_row = false;
    bool first_cell = true;
    for (const Value& cell : row) {
      if (!first_cell) text += ',';
      first_cell = false;
      switch (cell.kind()) {
        case ValueKind::String: text += cell.as_string(); break;
        case ValueKind::Int64: text += std::to_string(cell.as_int64()); break;
        case ValueKind::Bool: text += cell.as_bool() ? "true" : "false"; break;
        default: text += debug_text(cell);
      }
    }
  }
  return text;
}

// Statements run in order on one connection's executor, so the binder's
// checks, the dispatch and the handlers meet the catalog as it evolves.
TEST(ExecutorHandlersTest, SchemaUtilityAndCallStatementsEndToEnd) {
  Executor executor(std::make_shared<Catalog>(), Storage::in_memory());
  const struct {
    std::string statement;
    std::string answer;
  } steps[] = {
      {"CREATE NODE TABLE Person(name STRING, age INT64, PRIMARY KEY (age))", "Created node table 'Person'"},
      {"CREATE NODE TABLE Person(x INT64)", "ERR Catalog error: Node table 'Person' already exists"},
      {"CREATE REL TABLE Knows(FROM Person TO Person, since INT64)", "Created relationship table 'Knows'"},
      {"CREATE REL TABLE Likes(FROM Ghost TO Nobody)", "ERR Table not found: Ghost"},
      {"CALL node_properties('Person')", "name,type,primary_key|name,String,false;age,Int64,true"},
      {"CALL show_tables()", "table_name,table_type|Person,NODE;Knows,REL"},
      {"CALL db_schema",
       "object_type,object_name,definition|NODE_TABLE,Person,CREATE NODE TABLE Person(name String, age Int64, "
       "PRIMARY KEY(age));REL_TABLE,Knows,CREATE REL TABLE Knows FROM Person TO Person(since Int64)"},
      {"CALL Current_Setting('threads', 1)", "threads|4"},
      {"CALL table_info(p)", "ERR Binder error: Unknown variable: p"},
      {"CALL table_info('Knows')", "ERR Execution error: table_info requires a table name argument"},
      {"CALL nothing()", "ERR Execution error: Unknown procedure: nothing"},
      {"CALL THREADS = 8", "Set THREADS successfully"},
      {"CALL foo = 1", "ERR Execution error: Unknown setting: foo"},
      {"ALTER TABLE Person ADD COLUMN c INT64", "Added column 'c' to table"},
      {"ALTER TABLE Person DROP age", "Dropped column ColumnId(1) from table"},
      {"ALTER TABLE Person RENAME COLUMN name TO z", "Renamed column ColumnId(0) to 'z'"},
      {"ALTER TABLE Person RENAME TO Folk", "Renamed table to 'Folk'"},
      {"ALTER TABLE Person DROP nope", "ERR Column not found: nope"},
      {"ALTER TABLE Knows DROP since", "ERR Table not found: Knows"},
      {"CALL table_info('Person')", "column_name,data_type|name,String;age,Int64"},
      {"CREATE INDEX i ON Person(name, nope, age)", "ERR Column not found: nope"},
      {"COPY Person FROM 'a.csv'", "Imported data from 'a.csv'"},
      {"COPY Person TO 'out.csv'", "Exported data to 'out.csv'"},
      {"COPY Ghost FROM 'a.csv'", "ERR Table not found: Ghost"},
      {"LOAD FROM 'https://h/x.ndjson'", "Loaded from https://h/x.ndjson (source_type: http, format: json)"},
      {"ATTACH DATABASE 'other.db' AS o", "Attached database 'other.db' as 'o'"},
      {"ATTACH DATABASE 'other.db'", "Attached database 'other.db'"},
      {"CREATE MACRO m(x) AS (RETURN 1)", "Created macro 'm' with 1 parameters"},
      {"DROP SEQUENCE IF EXISTS s", "Dropped sequence 's'"},
      {"DROP TABLE Ghost", "ERR Table not found: Ghost"},
      {"DROP TABLE IF EXISTS Ghost", "Table 'Ghost' does not exist (IF EXISTS)"},
      {"DROP TABLE Person", "Dropped node table 'Person'"},
      {"CALL show_rel_tables", "name,src_table,dst_table,properties|Knows,?,?,1"},
      {"DROP TABLE Knows", "Dropped relationship table 'Knows'"},
      {"CALL storage_info", "metric,value|node_tables,0;rel_tables,0;catalog_version,4"},
      // A key that names no column falls back to the first column. Node and
      // relationship tables may share a name: DROP takes the node table first.
      {"CREATE NODE TABLE Knows(a INT64, b STRING, PRIMARY KEY (c))", "Created node table 'Knows'"},
      {"CALL node_properties('Knows')", "name,type,primary_key|a,Int64,true;b,String,false"},
      {"CREATE REL TABLE Knows(FROM Knows TO Knows)", "Created relationship table 'Knows'"},
      {"CREATE REL TABLE Knows(FROM Knows TO Knows)", "ERR Catalog error: Relationship table 'Knows' already exists"},
      {"DROP TABLE Knows", "Dropped node table 'Knows'"},
      {"DROP TABLE Knows", "Dropped relationship table 'Knows'"},
      {"CALL show_tables", "table_name,table_type|"},
  };
  for (const auto& step : steps) {
    EXPECT_EQ(answer_text(executor.execute_statement(step.statement)), step.answer) << step.statement;
  }
}

}  // namespace
}  // namespace zelvo
