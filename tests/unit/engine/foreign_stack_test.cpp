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

// Runs `query` on a fiber and ends the process: status 0 when the run stayed
// within the stack assumed for the fiber (its frames above the engine's entry
// aside) and a long statement was refused as too large, or an ordinary one
// answered; 1 otherwise. Builds with large frames keep a margin larger than
// the assumed stack: there every statement that recurses is refused.
[[noreturn]] void check_on_fiber(const std::string& query, bool ordinary) {
  const FiberRun run = run_on_fiber(query);
  constexpr std::size_t kAboveEntry = 8 << 10;
  const bool refused = run.outcome.ends_with(kTooLarge);
  const bool as_expected = ordinary ? run.outcome == "answered" || (refused && kStackMargin >= kAssumedStack) : refused;
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
  std::string set_clauses = "MATCH (a:A)";
  for (int i = 0; i < 1000; ++i) set_clauses += " SET a.x = " + std::to_string(i);
  const struct {
    std::string query;
    bool ordinary;
  } cases[] = {
      {set_clauses + " RETURN a", false},
      {"MATCH (a:A)" + repeat("-[:R*1..2]->(:A)", 1000) + " RETURN a", false},
      {"MATCH (a:A)-[:R*1..2]->(b:A) WHERE a.x = 1 RETURN b.x + 1 AS y ORDER BY y", true},
      {"EXPLAIN MATCH (a:A) WHERE a.x = 1 OR a.x = 2 RETURN a", true},
      {"RETURN [1, [2, 3]] AS x, {a: 1} AS m", true},
  };
  for (const auto& c : cases) {
    EXPECT_EXIT(check_on_fiber(c.query, c.ordinary), ::testing::ExitedWithCode(0), "") << c.query.substr(0, 60);
  }
}

}  // namespace
}  // namespace zelvo
