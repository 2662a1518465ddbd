#include "processor/executor.h"

#include <gtest/gtest.h>

#include <sstream>

#include "chunk_source.h"
#include "processor/operator_driver.h"
#include "processor/operators/scan_node_operator.h"

namespace zelvo {
namespace {

using Strings = std::vector<std::string>;

// Digits, then (when decimals > 0) a point and exactly that many digits.
bool is_decimal(std::string_view text, std::size_t decimals) {
  const std::size_t point = decimals == 0 ? text.size() : text.find('.');
  if (point == 0 || point == std::string_view::npos) return false;
  if (decimals > 0 && text.size() - point - 1 != decimals) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i != point && (text[i] < '0' || text[i] > '9')) return false;
  }
  return true;
}

class ExecutorTest : public ::testing::Test {
 protected:
  ExecutorTest() : executor_(std::make_shared<Catalog>(), Storage::in_memory()) {
    EXPECT_EQ(message("CREATE NODE TABLE Person(name STRING, age INT64, PRIMARY KEY(name))"),
              "Created node table 'Person'");
  }

  // The message of a statement, or "<kind>: <text>" for other answers.
  std::string message(std::string_view text) {
    StatementResult result = executor_.execute_statement(text);
    if (result.is_error()) return "error: " + result.error().display();
    if (result.is_query()) return "rows: " + std::to_string(result.rows().row_count());
    return result.message();
  }

  // The single String cell of a one-row answer (EXPLAIN's plan text).
  std::string single_cell(std::string_view text) {
    StatementResult result = executor_.execute_statement(text);
    if (!result.is_query()) return result.is_error() ? result.error().display() : result.message();
    EXPECT_EQ(result.rows().columns(), Strings{"Plan"});
    const std::vector<ChunkedResult::Row> rows = result.rows().rows();
    EXPECT_EQ(rows.size(), 1U);
    return rows.at(0).at(0).as_string();
  }

  Executor executor_;
};

TEST_F(ExecutorTest, MessagesOfEveryAnsweringKind) {
  const struct {
    std::string statement;
    std::string answer;
  } cases[] = {
      {"CREATE REL TABLE Knows(FROM Person TO Person, since INT64)", "Created relationship table 'Knows'"},
      {"DROP TABLE IF EXISTS Nope", "Table 'Nope' does not exist (IF EXISTS)"},
      {"BEGIN TRANSACTION", "Transaction started"},
      {"BEGIN READ ONLY", "Transaction started"},
      {"COMMIT", "Transaction committed"},
      {"ROLLBACK", "Transaction rolled back"},
      {"CREATE INDEX idx ON Person(name, age)", "Created index 'idx'"},
      {"DROP INDEX idx", "Dropped index 'idx'"},
      {"COPY Person FROM 'a.csv'", "Imported data from 'a.csv'"},
      {"COPY Person TO 'b.csv'", "Exported data to 'b.csv'"},
      {"CALL threads = 4", "Set threads successfully"},
      {"CALL nope = 4", "error: Execution error: Unknown setting: nope"},
      {"LOAD FROM 's3://b/x.parquet'", "Loaded from s3://b/x.parquet (source_type: s3, format: parquet)"},
      {"ALTER TABLE Person RENAME TO People", "Renamed table to 'People'"},
      {"CREATE SEQUENCE s START WITH 5", "Created sequence 's'"},
      {"DROP SEQUENCE IF EXISTS s", "Dropped sequence 's'"},
      {"ATTACH DATABASE 'other.db' AS o", "Attached database 'other.db' as 'o'"},
      {"ATTACH DATABASE 'other.db'", "Attached database 'other.db'"},
      {"DETACH DATABASE o", "Detached database 'o'"},
      {"USE DATABASE o", "Using database 'o'"},
      {"EXPORT DATABASE '/tmp/x'", "Database exported to '/tmp/x'"},
      {"IMPORT DATABASE '/tmp/x'", "Database imported from '/tmp/x'"},
      {"CREATE MACRO m(x) AS (RETURN 1)", "Created macro 'm' with 1 parameters"},
      {"CREATE MACRO m() AS (RETURN 1)", "Created macro 'm' with 0 parameters"},
      {"CREATE TYPE t AS {a: INT64}", "Created type 't'"},
      {"EXPLAIN CREATE NODE TABLE A(x INT64, PRIMARY KEY(x))", "EXPLAIN only supports query statements"},
      {"PROFILE DROP TABLE Person", "PROFILE only supports query statements"},
      {"CALL show_tables()", "rows: 2"},
      {"MATCH (p:Person) RETURN p.name", "rows: 0"},
      {"MATCH (p:Person) DELETE p", "rows: 1"},  // the count of deleted rows
      {"COPY Person 'x'", "error: Parser error: Expected FROM or TO after COPY table"},
      {"MATCH (p:Nope) RETURN p", "error: Table not found: Nope"},
      {"DROP TABLE Person", "Dropped node table 'Person'"},  // nothing above dropped or renamed it
      {"DROP TABLE Person", "error: Table not found: Person"},
  };
  for (const auto& c : cases) EXPECT_EQ(message(c.statement), c.answer) << c.statement;
}

TEST_F(ExecutorTest, QueryResultsKeepEveryChunk) {
  StatementResult result = executor_.execute_statement("MATCH (p:Person) RETURN p.name, p.age AS age");
  ASSERT_TRUE(result.is_query());
  EXPECT_EQ(result.rows().columns(), (Strings{R"(Property { base: Variable("p"), property: "name" })", "age"}));
  ASSERT_EQ(result.rows().chunks().size(), 1U);  // the scan's one empty chunk, projected
  EXPECT_EQ(result.rows().chunks()[0].vectors().size(), 2U);
  EXPECT_EQ(result.rows().row_count(), 0U);

  // A plan kind without an operator (Distinct) gives one empty chunk.
  result = executor_.execute_statement("MATCH (p:Person) RETURN DISTINCT p");
  ASSERT_TRUE(result.is_query());
  EXPECT_EQ(result.rows().chunks().size(), 1U);
  EXPECT_TRUE(result.rows().chunks()[0].vectors().empty());
}

TEST(OperatorDriver, AnErrorDropsTheChunksBeforeIt) {
  std::vector<DataChunk> chunks;
  chunks.push_back(testing::int_rows({{1}, {2}}));
  chunks.push_back(testing::int_rows({}));
  testing::ChunkSource ok_source(chunks);
  StatementResult ok = collect_query_result(ok_source, {"x"});
  ASSERT_TRUE(ok.is_query());
  EXPECT_EQ(ok.rows().chunks().size(), 2U);
  EXPECT_EQ(ok.rows().row_count(), 2U);

  testing::ChunkSource failing(chunks, Error::execution("late"));
  StatementResult failed = collect_query_result(failing, {"x"});
  ASSERT_TRUE(failed.is_error());
  EXPECT_EQ(failed.error().display(), "Execution error: late");
  Result<std::uint64_t> counted = count_query_rows(failing);
  ASSERT_FALSE(counted.ok());
  EXPECT_EQ(counted.error().display(), "Execution error: late");
}

TEST_F(ExecutorTest, ExplainTexts) {
  const std::string worked_example = R"(Physical Plan:
Project {
    input: ScanNode {
        table_id: TableId(
            1,
        ),
        variable: Some(
            "p",
        ),
        columns: [],
    },
    expressions: [
        (
            Property {
                base: Variable(
                    "p",
                ),
                property: "name",
            },
            "Property { base: Variable(\"p\"), property: \"name\" }",
        ),
    ],
})";
  EXPECT_EQ(single_cell("EXPLAIN MATCH (p:Person) RETURN p.name"), worked_example);
  EXPECT_TRUE(single_cell("EXPLAIN LOGICAL MATCH (n:Person) RETURN n LIMIT 5").starts_with("Logical Plan:\nLimit {"));

  const struct {
    std::string statement;
    std::string rows;
    std::string rows_per_second;  // empty: any whole number
  } analyzed[] = {
      {"EXPLAIN ANALYZE MATCH (p:Person) RETURN p.name", "0", "0"},
      {"EXPLAIN ANALYZE LOGICAL MATCH (p:Person) DELETE p", "1", ""},
  };
  for (const auto& c : analyzed) {
    const std::string text = single_cell(c.statement);
    constexpr std::string_view kHeading = "}\n\nExecution Statistics:\n";
    const std::size_t at = text.find(kHeading);
    ASSERT_TRUE(text.starts_with("Physical Plan:\n") && at != std::string::npos) << text;
    std::istringstream lines(text.substr(at + kHeading.size()));
    std::string rows, time, rate, rest;
    std::getline(lines, rows);
    std::getline(lines, time);
    std::getline(lines, rate);
    EXPECT_FALSE(std::getline(lines, rest));
    EXPECT_EQ(rows, "  Rows: " + c.rows);
    ASSERT_TRUE(time.starts_with("  Time: ") && time.ends_with(" ms")) << time;
    EXPECT_TRUE(is_decimal(time.substr(8, time.size() - 11), 3)) << time;
    ASSERT_TRUE(rate.starts_with("  Rows/sec: ")) << rate;
    EXPECT_TRUE(c.rows_per_second.empty() ? is_decimal(rate.substr(12), 0) : rate.substr(12) == c.rows_per_second);
  }
}

// Statements whose expressions run over the count row of DELETE and SET or
// over the scan's empty chunk: their columns, rows and values.
TEST_F(ExecutorTest, AnswersOverCountRowsParametersListsAndMaps) {
  const struct {
    std::string statement;
    std::string answer;  // column names, then each row
  } cases[] = {
      {"MATCH (p:Person) DELETE p RETURN p + p + p AS a, $x IS NULL AS b, [1, p] AS c, {k: p} AS d, "
       "coalesce($x, 'abc') AS e, coalesce(p, 5) AS f, abs(-3) AS g, size('héllo') AS h, p IN [0] AS i, "
       "nope(p) AS j, -p AS k, NOT p AS l, upper('ab') AS m, p.name AS n, $x = $x AS o",
       R"(a,b,c,d,e,f,g,h,i,j,k,l,m,n,o | Float64(0.0),Bool(true),null,null,String("abc"),0,3,6,Bool(false),)"
       R"(null,0,null,String("AB"),0,Bool(false))"},
      {"MATCH (p:Person) SET p.age = $x RETURN p * 2 AS a, coalesce($x, [1], p) AS b, $x IS NOT NULL AS c",
       "a,b,c | Float64(0.0),0,Bool(false)"},
      {"MATCH (p:Person) DETACH DELETE p WITH p WHERE $x IS NULL RETURN p + 1 AS q", "q | Float64(1.0)"},
      {"MATCH (p:Person) DELETE p WITH p WHERE coalesce($x, p) = 0 RETURN p AS q", "q | 0"},
      {"MATCH (p:Person) DELETE p RETURN p AS q ORDER BY p + 1 LIMIT 3", "q | 0"},
      {"MATCH (p:Person) DELETE p FOREACH (x IN [1, p] | SET p.age = x) RETURN p AS q", "q | 0"},
      {"MATCH (p:Person) RETURN coalesce($x, 'abc') AS c, [1, 2] AS l, $x IS NULL AS n", "c,l,n"},
      {"PROFILE MATCH (p:Person) DELETE p RETURN p + p AS a, coalesce($x, 'abc') AS e", "rows | 1"},
      {"PROFILE MATCH (p:Person) RETURN coalesce($x, 'abc') AS c", "rows | 0"},
  };
  for (const auto& c : cases) {
    StatementResult result = executor_.execute_statement(c.statement);
    ASSERT_TRUE(result.is_query()) << c.statement;
    const Strings& columns = result.rows().columns();
    // PROFILE's time varies: only its row count is compared.
    const std::size_t compared = columns.back() == "time_ms" ? columns.size() - 1 : columns.size();
    std::string answer;
    for (std::size_t i = 0; i < compared; ++i) answer += (i == 0 ? "" : ",") + columns[i];
    for (ChunkedResult::Row& row : result.rows().rows()) {
      row.resize(compared);
      answer += " | " + testing::row_text(row);
    }
    EXPECT_EQ(answer, c.answer) << c.statement;
  }
}

TEST_F(ExecutorTest, ProfileCountsTheRowsOfTheQuery) {
  for (const std::string query : {"MATCH (p:Person) RETURN p.name", "MATCH (p:Person) DELETE p"}) {
    StatementResult direct = executor_.execute_statement(query);
    StatementResult profiled = executor_.execute_statement("PROFILE " + query);
    ASSERT_TRUE(direct.is_query() && profiled.is_query());
    EXPECT_EQ(profiled.rows().columns(), (Strings{"rows", "time_ms"}));
    const std::vector<ChunkedResult::Row> rows = profiled.rows().rows();
    ASSERT_EQ(rows.size(), 1U);
    EXPECT_EQ(rows[0][0].as_int64(), static_cast<std::int64_t>(direct.rows().row_count()));
    EXPECT_GE(rows[0][1].as_float64(), 0.0);
  }
}

}  // namespace
}  // namespace zelvo
