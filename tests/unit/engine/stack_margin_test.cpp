#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "common/stack_guard.h"
#include "engine/database.h"
#include "support/repeat.h"
#include "support/tck_corpus.h"
#include "support/thread_stack.h"

namespace zelvo {
namespace {

using testing::repeat;

// Statements that run out of stack in each guarded stage when the thread's
// stack is small enough: parsing, binding, folding and simplification,
// naming a column and writing a plan, building and running operators,
// evaluating.
std::vector<std::string> deep_statements() {
  const int n = 100;  // the parser's bound
  std::string set_items = "MATCH (a:A)";
  for (int i = 0; i < 3000; ++i) set_items += " SET a.x = " + std::to_string(i);
  return {
      "RETURN " + repeat("(", n) + "1" + repeat(")", n) + " AS x",
      "MATCH (a:A) RETURN " + repeat("[", n - 1) + "a.x" + repeat("]", n - 1),
      "MATCH (a:A) RETURN " + repeat("[", n - 1) + "a.x" + repeat("]", n - 1) + " AS x",
      "MATCH (a:A) WHERE " + repeat("NOT (", n / 2) + "a.x = 1" + repeat(")", n / 2) + " RETURN a",
      "EXPLAIN MATCH (a:A) WHERE " + repeat("a.x + (", n - 1) + "1" + repeat(")", n - 1) + " = 1 RETURN a",
      "MATCH (a:A) RETURN " + repeat("abs(", n - 1) + "a.x" + repeat(")", n - 1),
      "MATCH (a:A) RETURN " + repeat("- ", n - 1) + "a.x",
      repeat("EXPLAIN ", n / 2) + "MATCH (a:A) RETURN a",
      repeat("PROFILE ", n) + "MATCH (a:A) RETURN a",
      repeat("FOREACH (x IN [1] | ", n) + "SET x.y = 1" + repeat(")", n),
      repeat("MATCH (a:A) RETURN a UNION ", n) + "MATCH (a:A) RETURN a",
      "MATCH (a:A) RETURN " + repeat("CASE WHEN a.x THEN ", n - 1) + "1" + repeat(" END", n - 1),
      "MATCH (a:A {x: " + repeat("{b: ", n - 1) + "1" + repeat("}", n) + ") RETURN a",
      set_items + " RETURN a",
      "PROFILE " + set_items + " RETURN a",
  };
}

// How far below the guard's line (kStackMargin above the stack's lowest
// address) a thread with a stack of `stack` bytes went while running
// `queries`: the part of the margin that the work after a last check used.
// Negative when the guard's line was never crossed.
long dip_below_guard_line(std::size_t stack, const std::vector<std::string>& queries) {
  const std::size_t used = testing::run_on_stack(stack, [&queries] {
    auto database = Database::in_memory();
    auto connection = database->connect();
    connection->execute("CREATE NODE TABLE A(x INT64, PRIMARY KEY(x))");
    for (const std::string& query : queries) {
      const StatementResult result = connection->execute(query);
      if (result.is_query()) (void)result.rows().rows();
    }
  });
  return static_cast<long>(used) - static_cast<long>(stack - kStackMargin);
}

// The margin covers what runs below a last successful check in every
// guarded stage, and the destruction of the deepest trees: statements that
// exhaust small stacks at every point of their run (stacks from 16 KiB to
// 512 KiB past the margin, in steps of a sixteenth of it) never go more
// than three quarters of the margin below the guard's line.
TEST(StackMargin, CoversTheWorkBelowTheLastCheck) {
  if (!testing::stack_use_is_measured()) GTEST_SKIP() << "this build cannot measure stack use";
  for (const std::string& query : deep_statements()) {
    long deepest = -static_cast<long>(kStackMargin);
    for (std::size_t stack = kStackMargin + (16 << 10); stack <= kStackMargin + (512 << 10);
         stack += kStackMargin / 16) {
      deepest = std::max(deepest, dip_below_guard_line(stack, {query}));
    }
    EXPECT_LT(deepest, static_cast<long>(kStackMargin) * 3 / 4) << query.substr(0, 60);
    std::printf("margin %zu: %6ld bytes below the guard's line: %.50s\n", kStackMargin, deepest, query.c_str());
  }
}

// Runs `query` on `connection` below `padding` bytes of stack and returns
// the error's text, or "answered".
[[gnu::noinline]] std::string outcome_below(Connection& connection, const std::string& query, std::size_t padding) {
  volatile char* pad = static_cast<char*>(alloca(padding + 1));
  pad[0] = 0;
  const StatementResult result = connection.execute(query);
  pad[padding] = 0;
  return result.is_error() ? result.error().message() : "answered";
}

// A statement whose chains and clauses nest nothing is never "nested too
// deeply", wherever its stack runs out: on stacks from just past the margin
// up, in steps finer than any stage's frame, it answers or is too large, and
// on a stack with room it answers.
TEST(StackMargin, FlatStatementsAreNeverNestedTooDeeply) {
  const std::vector<std::string> flat = {
      "RETURN 1 + 2 + 3 AS x",
      "MATCH (a:A) WHERE a.x = 1 OR a.x = 2 OR a.x = 3 RETURN a.x + a.x * 2 - a.x",
      "EXPLAIN MATCH (a:A) WHERE a.x <> 1 RETURN a.x + 1 + 2",
      "EXPLAIN PROFILE MATCH (a:A) RETURN a.x",
      "MATCH (a:A) RETURN a UNION MATCH (a:A) RETURN a UNION MATCH (a:A) RETURN a",
      "MATCH (a:A) SET a.x = 1 + 2 + 3 SET a.x = a.x - 1 RETURN a",
      "MATCH (a:A)-[:R*1..2]->(b:A) RETURN abs(b.x) + [1, 2] + -3 ORDER BY b.x",
  };
  auto database = Database::in_memory();
  auto connection = database->connect();
  connection->execute("CREATE NODE TABLE A(x INT64, PRIMARY KEY(x))");
  connection->execute("CREATE REL TABLE R(FROM A TO A)");
  for (const std::string& query : flat) {
    bool refused = false;
    for (std::size_t stack = kStackMargin + (4 << 10); stack <= kStackMargin + (64 << 10); stack += 4 << 10) {
      for (std::size_t padding = 0; padding < (4 << 10); padding += 256) {
        std::string outcome;
        testing::run_on_stack(stack, [&] { outcome = outcome_below(*connection, query, padding); });
        ASSERT_TRUE(outcome == "answered" || outcome == kTooLarge) << outcome << ": " << query;
        refused = refused || outcome != "answered";
      }
    }
    EXPECT_TRUE(refused) << "not refused on the smallest stacks: " << query;
    std::string outcome;
    testing::run_on_stack(kStackMargin + (1 << 20), [&] { outcome = outcome_below(*connection, query, 0); });
    EXPECT_EQ(outcome, "answered") << query;
  }
}

// The queries of the conformance corpus run within the margin too, on
// stacks 128 KiB and 256 KiB larger than it.
TEST(StackMargin, CoversTheCorpus) {
  if (!testing::stack_use_is_measured()) GTEST_SKIP() << "this build cannot measure stack use";
  std::vector<testing::TckQuery> corpus;
  ASSERT_TRUE(testing::load_tck_corpus(corpus));
  std::vector<std::string> queries;
  for (const testing::TckQuery& entry : corpus) queries.push_back(entry.query);
  for (const std::size_t stack : {kStackMargin + (128 << 10), kStackMargin + (256 << 10)}) {
    const long dip = dip_below_guard_line(stack, queries);
    EXPECT_LT(dip, static_cast<long>(kStackMargin) * 3 / 4) << stack;
    std::printf("margin %zu: %6ld bytes below the guard's line: the corpus on %zu KiB\n", kStackMargin, dip,
                stack >> 10);
  }
}

}  // namespace
}  // namespace zelvo
