#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler_fixture.h"

namespace zelvo {
namespace {

using testing::bind_outcome;
using testing::bind_text;
using testing::make_compiler_catalog;
using testing::parse_or_die;

TEST(StatementBinding, KeepsTheStatementKind) {
  const char* statements[] = {
      "MATCH (n) RETURN n",
      "CREATE NODE TABLE N (a STRING, PRIMARY KEY (a))",
      "CREATE REL TABLE L (FROM Person TO A)",
      "DROP TABLE Person",
      "BEGIN TRANSACTION READ ONLY",
      "COMMIT",
      "ROLLBACK",
      "CREATE UNIQUE INDEX i ON Person (name)",
      "DROP INDEX i",
      "COPY Person FROM 'p.csv'",
      "COPY Person TO 'p.csv'",
      "CALL show_tables()",
      "CALL threads = 4",
      "EXPLAIN MATCH (n) RETURN n",
      "PROFILE MATCH (n) RETURN n",
      "LOAD FROM 'x.csv' WITH csv",
      "ALTER TABLE Person ADD email STRING",
      "CREATE SEQUENCE s",
      "DROP SEQUENCE IF EXISTS s",
      "ATTACH DATABASE 'p' AS a",
      "DETACH DATABASE a",
      "USE DATABASE a",
      "EXPORT DATABASE 'p'",
      "IMPORT DATABASE 'p'",
      "CREATE MACRO m(x) AS (RETURN 1)",
      "CREATE TYPE t AS ENUM ('a', 'b')",
  };
  const auto catalog = make_compiler_catalog();
  for (const char* text : statements) {
    Statement statement = parse_or_die(text);
    Result<BoundStatement> bound = bind_statement(catalog, statement);
    ASSERT_TRUE(bound.ok()) << text << ": " << bound.error().display();
    EXPECT_EQ(bound->kind(), statement.kind()) << text;
  }
}

TEST(StatementBinding, ChecksRunInOrderAndReportTheFirstMiss) {
  const struct {
    const char* statement;
    const char* outcome;
  } cases[] = {
      {"CREATE NODE TABLE Person (name STRING, PRIMARY KEY (nope))", "ok"},
      {"CREATE REL TABLE L (FROM Nope1 TO Nope2)", "Table not found: Nope1"},
      {"CREATE REL TABLE L (FROM Person TO Nope2)", "Table not found: Nope2"},
      {"CREATE REL TABLE L (FROM KNOWS TO Person)", "Table not found: KNOWS"},
      {"DROP TABLE nope", "Table not found: nope"},
      {"DROP TABLE IF EXISTS nope", "ok"},
      {"DROP TABLE KNOWS", "ok"},
      {"CREATE INDEX i ON Nope (nope)", "Table not found: Nope"},
      {"CREATE INDEX i ON KNOWS (name)", "Table not found: KNOWS"},
      {"CREATE INDEX i ON Person (name, nope, other)", "Column not found: nope"},
      {"COPY Nope FROM 'x'", "Table not found: Nope"},
      {"COPY KNOWS TO 'x'", "Table not found: KNOWS"},
      {"ALTER TABLE Nope DROP x", "Table not found: Nope"},
      {"ALTER TABLE Person DROP x", "Column not found: x"},
      {"ALTER TABLE Person RENAME x TO age", "Column not found: x"},
      {"ALTER TABLE Person ADD name STRING", "ok"},
      {"ALTER TABLE Person RENAME TO Person", "ok"},
      {"CALL proc(n)", "Binder error: Unknown variable: n"},
      {"CALL threads = n", "Binder error: Unknown variable: n"},
      {"EXPLAIN MATCH (p:Nope) RETURN p", "Table not found: Nope"},
      {"PROFILE EXPLAIN RETURN x", "Binder error: Unknown variable: x"},
      // The macro's parameters are not in its body's scope.
      {"CREATE MACRO f(x) AS (RETURN x)", "Binder error: Unknown variable: x"},
  };
  for (const auto& c : cases) EXPECT_EQ(bind_outcome(make_compiler_catalog(), c.statement), c.outcome) << c.statement;
}

TEST(StatementBinding, ResolvesIdsAndFillsDefaults) {
  const auto catalog = make_compiler_catalog();
  const auto bind = [&](const char* text) {
    Result<BoundStatement> bound = bind_text(catalog, text);
    EXPECT_TRUE(bound.ok()) << text;
    return std::move(bound).value();
  };

  BoundStatement index = bind("CREATE INDEX i ON Person (age, name)");
  EXPECT_EQ(index.as<bound::CreateIndex>()->table_id, TableId{1});
  EXPECT_EQ(index.as<bound::CreateIndex>()->property_ids, (std::vector<std::uint32_t>{1, 0}));

  BoundStatement rel = bind("CREATE REL TABLE L (FROM Person TO A, w INT64, s STRING[])");
  const auto* create_rel = rel.as<bound::CreateRelTable>();
  EXPECT_EQ(create_rel->from_table_id, TableId{1});
  EXPECT_EQ(create_rel->to_table_id, TableId{2});
  ASSERT_EQ(create_rel->columns.size(), 2U);
  EXPECT_EQ(create_rel->columns[1].name, "s");
  EXPECT_EQ(debug_text(create_rel->columns[1].data_type), "List(String)");

  BoundStatement rename = bind("ALTER TABLE Person RENAME age TO years");
  const auto& rename_action = std::get<BoundAlterAction::RenameColumn>(rename.as<bound::AlterTable>()->action.action);
  EXPECT_EQ(rename_action.property_id, 1U);
  EXPECT_EQ(rename_action.new_name, "years");

  BoundStatement drop = bind("ALTER TABLE A DROP COLUMN x");
  EXPECT_EQ(drop.as<bound::AlterTable>()->table_id, TableId{2});
  EXPECT_EQ(std::get<BoundAlterAction::DropColumn>(drop.as<bound::AlterTable>()->action.action).property_id, 0U);

  BoundStatement sequence = bind("CREATE SEQUENCE s MAXVALUE 9");
  EXPECT_EQ(sequence.as<bound::CreateSequence>()->start, 1);
  EXPECT_EQ(sequence.as<bound::CreateSequence>()->increment, 1);
  EXPECT_EQ(sequence.as<bound::CreateSequence>()->max_value, std::optional<std::int64_t>(9));
  BoundStatement negative_start = bind("CREATE SEQUENCE s START WITH -5 INCREMENT BY 2");
  EXPECT_EQ(negative_start.as<bound::CreateSequence>()->start, -5);

  BoundStatement copy_from = bind("COPY A FROM 'a.csv'");
  EXPECT_EQ(copy_from.as<bound::CopyFrom>()->table_id, TableId{2});
  BoundStatement copy_to = bind("COPY A TO 'a.csv'");
  EXPECT_EQ(copy_to.as<bound::CopyTo>()->path, "a.csv");

  BoundStatement explain = bind("EXPLAIN ANALYZE LOGICAL MATCH (n) RETURN n");
  EXPECT_TRUE(explain.as<bound::Explain>()->analyze && explain.as<bound::Explain>()->logical);
  EXPECT_EQ(explain.as<bound::Explain>()->statement->kind(), StatementKind::Query);
}

TEST(StatementBinding, UnsupportedAlterActionIsCheckedAfterTheTable) {
  const auto catalog = make_compiler_catalog();
  const auto alter = [](const char* table) {
    return Statement{Statement::AlterTable{table, AlterAction{AlterAction::DropColumnDefault{"age"}}}};
  };
  Result<BoundStatement> on_missing = bind_statement(catalog, alter("Nope"));
  ASSERT_FALSE(on_missing.ok());
  EXPECT_EQ(on_missing.error().display(), "Table not found: Nope");
  Result<BoundStatement> on_person = bind_statement(catalog, alter("Person"));
  ASSERT_FALSE(on_person.ok());
  EXPECT_EQ(on_person.error().display(), "Execution error: Unsupported ALTER TABLE action");
}

}  // namespace
}  // namespace zelvo
