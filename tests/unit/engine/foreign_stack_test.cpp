#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/stack_guard.h"
#include "engine/database.h"
#include "support/repeat.h"
#include "support/thread_stack.h"

namespace zelvo {
namespace {

using testing::repeat;

// A fiber stack of a size embedding programs use: twice the stack the guard
// assumes such a stack to have, so that a run past the assumed end is seen
// before it faults.
constexpr std::size_t kFiberStack = 2 * kAssumedStack;

enum Outcomes : unsigned { kAnswers = 1, kRefusedAsTooLarge = 2 };

struct FiberRun {
  std::string outcome;  // "answered" or the error's display text
  std::size_t stack_used = 0;
};

FiberRun run_on_fiber(const std::string& query) {
  FiberRun run;
  run.stack_used = testing::run_on_foreign_stack(kFiberStack, [&] {
    auto database = Database::in_memory();
    auto connection = database->connect();
    (void)connection->execute("CREATE NODE TABLE A(x INT64, PRIMARY KEY(x))");
    (void)connection->execute("CREATE REL TABLE R(FROM A TO A)");
    const StatementResult result = connection->execute(query);
    run.outcome = result.is_error() ? result.error().display() : "answered";
  });
  return run;
}

// Runs `query` on a fiber and ends the process: status 0 when the outcome is
// one of `expected` (an answer, or a stage's refusal as too large for the
// stack) and the run stayed within the stack assumed for the fiber (its
// frames above the engine's entry aside), 1 otherwise.
[[noreturn]] void check_on_fiber(const std::string& query, unsigned expected) {
  const FiberRun run = run_on_fiber(query);
  constexpr std::size_t kAboveEntry = 8 << 10;
  const bool as_expected = ((expected & kAnswers) != 0 && run.outcome == "answered") ||
                           ((expected & kRefusedAsTooLarge) != 0 && run.outcome.ends_with(kTooLarge));
  std::fprintf(stderr, "%s; %zu bytes of stack\n", run.outcome.c_str(), run.stack_used);
  std::_Exit(as_expected && run.stack_used <= kAssumedStack + kAboveEntry ? 0 : 1);
}

// A statement on a stack the thread does not own (a fiber or coroutine that
// the embedding program runs) has that stack taken to end kAssumedStack below
// where it entered the engine: statements too long for it fail cleanly
// instead of overflowing it, and ordinary ones answer. Each runs in a child
// process, so that an overflow fails the test rather than ending the run.
TEST(ForeignStack, LongStatementsFailCleanlyAndOrdinaryOnesAnswer) {
  if (!testing::foreign_stacks_work()) GTEST_SKIP() << "no fibers in this build";
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // Builds with large frames keep a margin larger than the assumed stack:
  // there every statement that recurses is refused.
  const unsigned ordinary = kStackMargin < kAssumedStack ? kAnswers : kAnswers | kRefusedAsTooLarge;
  std::string set_clauses = "MATCH (a:A)";
  for (int i = 0; i < 1000; ++i) set_clauses += " SET a.x = " + std::to_string(i);
  const struct {
    std::string query;
    unsigned expected;
  } cases[] = {
      {set_clauses + " RETURN a", kRefusedAsTooLarge},
      {"MATCH (a:A)" + repeat("-[:R*1..2]->(:A)", 1000) + " RETURN a", kRefusedAsTooLarge},
      {"MATCH (a:A)-[:R*1..2]->(b:A) WHERE a.x = 1 RETURN b.x + 1 AS y ORDER BY y", ordinary},
      {"EXPLAIN MATCH (a:A) WHERE a.x = 1 OR a.x = 2 RETURN a", ordinary},
      {"RETURN [1, [2, 3]] AS x, {a: 1} AS m", ordinary},
  };
  for (const auto& c : cases) {
    EXPECT_EXIT(check_on_fiber(c.query, c.expected), ::testing::ExitedWithCode(0), "") << c.query.substr(0, 60);
  }
}

}  // namespace
}  // namespace zelvo
