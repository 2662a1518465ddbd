#include <gtest/gtest.h>

#include "parse_helpers.h"

namespace zelvo {
namespace {

using parser_test::Case;
using parser_test::parse_text;

TEST(Statements, SchemaStatements) {
  const Case cases[] = {
      {"CREATE NODE TABLE Person(name STRING, PRIMARY KEY(name), tags string[], score FLOAT)",
       "CreateNodeTable { name: \"Person\", columns: [ColumnDefinition { name: \"name\", data_type: String, default: "
       "None, flag: true }, ColumnDefinition { name: \"tags\", data_type: List(String), default: None, flag: true }, "
       "ColumnDefinition { name: \"score\", data_type: Float32, default: None, flag: true }], primary_key: \"name\" }"},
      {"create node table `type`(`date` DATE, PRIMARY KEY (a), PRIMARY KEY (b))",
       "CreateNodeTable { name: \"type\", columns: [ColumnDefinition { name: \"date\", data_type: Date, default: "
       "None, flag: true }], primary_key: \"b\" }"},
      {"CREATE NODE TABLE t(a SERIAL)",
       "CreateNodeTable { name: \"t\", columns: [ColumnDefinition { name: \"a\", data_type: Serial, default: None, "
       "flag: true }], primary_key: \"\" }"},
      {"CREATE REL TABLE Knows(FROM Person TO City, since DOUBLE)",
       "CreateRelTable { name: \"Knows\", from_table: \"Person\", to_table: \"City\", columns: [ColumnDefinition { "
       "name: \"since\", data_type: Float64, default: None, flag: true }] }"},
      {"DROP NODE TABLE IF EXISTS t", "DropTable { name: \"t\", if_exists: true }"},
      {"DROP REL TABLE t", "DropTable { name: \"t\", if_exists: false }"},
      {"DROP INDEX i", "DropIndex { name: \"i\" }"},
      {"DROP SEQUENCE IF EXISTS s", "DropSequence { name: \"s\", if_exists: true }"},
      {"CREATE UNIQUE INDEX i ON t (a, b)",
       "CreateIndex { name: \"i\", table: \"t\", columns: [\"a\", \"b\"], unique: true }"},
      {"CREATE INDEX i ON t(a)", "CreateIndex { name: \"i\", table: \"t\", columns: [\"a\"], unique: false }"},
      {"ALTER TABLE t RENAME TO u", "AlterTable { table: \"t\", action: RenameTable { new_name: \"u\" } }"},
      {"ALTER TABLE t RENAME a TO b",
       "AlterTable { table: \"t\", action: RenameColumn { old_name: \"a\", new_name: \"b\" } }"},
      {"ALTER TABLE t RENAME COLUMN a TO b",
       "AlterTable { table: \"t\", action: RenameColumn { old_name: \"a\", new_name: \"b\" } }"},
      {"ALTER TABLE t ADD COLUMN c INT32[]",
       "AlterTable { table: \"t\", action: AddColumn(ColumnDefinition { name: \"c\", data_type: List(Int32), "
       "default: None, flag: true }) }"},
      {"ALTER TABLE t DROP c", "AlterTable { table: \"t\", action: DropColumn { column: \"c\" } }"},
      {"CREATE SEQUENCE s START WITH -5 INCREMENT BY 2 CYCLE whatever",
       "CreateSequence { name: \"s\", start: Some(-5), increment: Some(2), min_value: None, max_value: None, cycle: "
       "true }"},
      {"CREATE SEQUENCE s MAXVALUE 9223372036854775807 MINVALUE -1 START 3 START 4",
       "CreateSequence { name: \"s\", start: Some(4), increment: None, min_value: Some(-1), max_value: "
       "Some(9223372036854775807), cycle: false }"},
      {"CREATE MACRO f(a, `b`) AS (RETURN a)",
       "CreateMacro { name: \"f\", parameters: [\"a\", \"b\"], body: Query(QueryStatement { ctes: [], "
       "match_clauses: [], optional_match_clauses: [], create_clauses: [], merge_clause: None, delete_clause: None, "
       "set_clauses: [], remove_clauses: [], unwind_clause: None, foreach_clauses: [], where_clause: None, "
       "with_clause: None, return_clause: Some(ReturnClause { items: [ProjectionItem { expression: "
       "Variable(\"a\"), alias: None, star: false }], distinct: false }), order_by: None, skip: None, limit: None, "
       "union: None }) }"},
      {"CREATE TYPE t AS ENUM ('a', \"b\")", "CreateType { name: \"t\", definition: Enum([\"a\", \"b\"]) }"},
      {"CREATE TYPE t AS {}", "CreateType { name: \"t\", definition: Struct([]) }"},
      {"CREATE TYPE t AS {x: INT64, y: STRING[]}",
       "CreateType { name: \"t\", definition: Struct([(\"x\", Int64), (\"y\", List(String))]) }"},
      {"CREATE TYPE t AS UUID", "CreateType { name: \"t\", definition: Alias(Uuid) }"},
  };
  for (const Case& c : cases) EXPECT_EQ(parse_text(c.input), c.expected) << c.input;
}

TEST(Statements, UtilityStatements) {
  const Case cases[] = {
      {"BEGIN", "BeginTransaction { read_only: false }"},
      {"begin transaction read only", "BeginTransaction { read_only: true }"},
      {"BEGIN TRANSACTION stray", "BeginTransaction { read_only: false }"},
      {"COMMIT TRANSACTION", "Commit"},
      {"ROLLBACK", "Rollback"},
      {"COPY t FROM 'a.csv'",
       "CopyFrom { table: \"t\", path: \"a.csv\", options: CopyOptions { char_options: [None, None, None], "
       "flag_option: None } }"},
      {"COPY t TO \"b\"",
       "CopyTo { table: \"t\", path: \"b\", options: CopyOptions { char_options: [None, None, None], flag_option: "
       "None } }"},
      {"CALL show_tables", "Call { name: \"show_tables\", args: [] }"},
      {"CALL show_tables()", "Call { name: \"show_tables\", args: [] }"},
      {"CALL table_info('t', 1)",
       "Call { name: \"table_info\", args: [Literal(String(\"t\")), Literal(Int64(1))] }"},
      {"CALL threads = 4", "Set { name: \"threads\", value: Literal(Int64(4)) }"},
      {"EXPLAIN ANALYZE LOGICAL COMMIT", "Explain { statement: Commit, analyze: true, logical: true }"},
      {"EXPLAIN LOGICAL ROLLBACK", "Explain { statement: Rollback, analyze: false, logical: true }"},
      {"EXPLAIN EXPLAIN PROFILE BEGIN",
       "Explain { statement: Explain { statement: Profile { statement: BeginTransaction { read_only: false } }, "
       "analyze: false, logical: false }, analyze: false, logical: false }"},
      {"LOAD FROM 'data.csv' WITH csv", "LoadFrom { path: \"data.csv\", format: Some(\"csv\") }"},
      {"LOAD FROM 'data.csv'", "LoadFrom { path: \"data.csv\", format: None }"},
      {"ATTACH DATABASE 'p' AS `a b`", "Attach { path: \"p\", alias: Some(\"a b\") }"},
      {"ATTACH DATABASE 'p'", "Attach { path: \"p\", alias: None }"},
      {"DETACH DATABASE d", "Detach { name: \"d\" }"},
      {"USE DATABASE d", "Use { name: \"d\" }"},
      {"EXPORT DATABASE '/x'", "ExportDatabase { path: \"/x\" }"},
      {"IMPORT DATABASE '/x'", "ImportDatabase { path: \"/x\" }"},
  };
  for (const Case& c : cases) EXPECT_EQ(parse_text(c.input), c.expected) << c.input;
}

TEST(Statements, KindsFollowTheSharedOrder) {
  const std::pair<const char*, StatementKind> cases[] = {
      {"MATCH (a) RETURN a", StatementKind::Query},
      {"CREATE (a)", StatementKind::Query},
      {"SET a.x = 1", StatementKind::Query},
      {"CREATE NODE TABLE t(a INT64)", StatementKind::CreateNodeTable},
      {"EXPLAIN RETURN 1", StatementKind::Explain},
      {"CREATE TYPE t AS BOOL", StatementKind::CreateType},
  };
  for (const auto& [text, kind] : cases) {
    const Result<Statement> result = Parser::parse(text);
    ASSERT_TRUE(result.ok()) << text;
    EXPECT_EQ(result->kind(), kind) << text;
  }
}

}  // namespace
}  // namespace zelvo
