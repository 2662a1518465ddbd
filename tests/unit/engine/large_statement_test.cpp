#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/stack_guard.h"
#include "engine/database.h"
#include "support/thread_stack.h"

namespace zelvo {
namespace {

std::string repeat(std::string_view piece, int count) {
  std::string out;
  out.reserve(piece.size() * static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) out += piece;
  return out;
}

// MATCH (n:A) RETURN n.x op n.x op ... with `terms` terms.
std::string chain(std::string_view op, int terms) {
  return "MATCH (n:A) RETURN n.x" + repeat(" " + std::string(op) + " n.x", terms - 1);
}

std::string match_clauses(int count) {
  std::string query;
  for (int i = 0; i < count; ++i) query += "MATCH (a" + std::to_string(i) + ":A) ";
  return query + "RETURN a0.x";
}

std::string set_clauses(int count) {
  std::string query = "MATCH (a:A)";
  for (int i = 0; i < count; ++i) query += " SET a.x = " + std::to_string(i);
  return query + " RETURN a";
}

const char* const kOperators[] = {"OR", "XOR", "AND", "=", "<>", "+", "-", "*", "/", "%"};

std::string answer(Connection& connection, const std::string& query) {
  const StatementResult result = connection.execute(query);
  if (result.is_error()) return result.error().display();
  if (result.is_message()) return result.message();
  return "rows: " + std::to_string(result.rows().row_count());
}

std::shared_ptr<Connection> connect(Database& database) {
  auto connection = database.connect();
  connection->execute("CREATE NODE TABLE A(x INT64, PRIMARY KEY(x))");
  return connection;
}

// Long statements that do not nest answer on the main thread, and so do
// their plans: a chain of a thousand terms of each operator, 190 MATCH
// clauses, 199 SET clauses.
TEST(LargeStatement, LongStatementsAnswer) {
  std::vector<std::pair<std::string, std::string>> cases;
  for (const char* op : kOperators) {
    cases.emplace_back(chain(op, 1000), "rows: 0");
    cases.emplace_back("EXPLAIN " + chain(op, 1000), "rows: 1");
  }
  for (const std::string& query : {match_clauses(190), set_clauses(199)}) {
    cases.emplace_back(query, query.starts_with("MATCH (a:A) SET") ? "rows: 1" : "rows: 0");
    cases.emplace_back("EXPLAIN " + query, "rows: 1");
    cases.emplace_back("PROFILE " + query, "rows: 1");
  }
  auto database = Database::in_memory();
  auto connection = connect(*database);
  for (const auto& [query, expected] : cases) EXPECT_EQ(answer(*connection, query), expected) << query.substr(0, 50);
}

// Statements far longer than any thread's stack could walk by recursion
// answer or fail with a clean error, on the main thread and on small
// thread stacks; nothing overflows.
TEST(LargeStatement, HugeStatementsAnswerOrFailCleanly) {
  const std::vector<std::string> queries = {
      chain("+", 100'000),   chain("OR", 100'000), "EXPLAIN " + chain("AND", 100'000),
      match_clauses(20'000), set_clauses(20'000),  "PROFILE " + set_clauses(20'000),
  };
  const auto clean = [](const std::string& outcome) {
    return outcome.starts_with("rows: ") || outcome.ends_with(kTooLarge) || outcome.ends_with(kNestedTooDeeply) ||
           outcome == "Execution error: Plan text is too large for the memory available";
  };
  const auto run_all = [&] {
    auto database = Database::in_memory();
    auto connection = connect(*database);
    for (const std::string& query : queries) {
      const std::string outcome = answer(*connection, query);
      EXPECT_TRUE(clean(outcome)) << query.substr(0, 50) << ": " << outcome;
    }
  };
  run_all();
  for (const std::size_t stack : {std::size_t{256} << 10, std::size_t{128} << 10}) {
    SCOPED_TRACE(stack);
    testing::run_on_stack(stack, run_all);
  }
}

}  // namespace
}  // namespace zelvo
