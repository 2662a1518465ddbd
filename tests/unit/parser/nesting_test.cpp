#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/stack_guard.h"
#include "parser/parser.h"
#include "support/repeat.h"
#include "support/thread_stack.h"

namespace zelvo {
namespace {

constexpr std::size_t kLargeStack = 8 << 20;
constexpr std::size_t kSmallStack = 128 << 10;  // the default thread stack of musl
constexpr int kBound = static_cast<int>(Parser::kMaxNestingDepth);
// The refusals of a statement that does not fit the thread's stack.
bool refused_for_the_stack(const std::string& outcome) { return outcome == kNestedTooDeeply || outcome == kTooLarge; }

using testing::repeat;

// Parses on a thread with the given stack; the tree is built and destroyed
// there.
std::string parse_on_stack(std::size_t stack, const std::string& text) {
  std::string outcome;
  testing::run_on_stack(stack, [&] {
    const Result<Statement> result = Parser::parse(text);
    outcome = result.ok() ? "parsed" : result.error().message();
  });
  return outcome;
}

struct Nesting {
  const char* name;
  std::function<std::string(int)> text;  // a statement nested `depth` levels
};

// Each construct parses at the bound, fails just past it, and fails cleanly
// when nested 100,000 times. On a 128 KiB stack the same statements may
// instead be refused for the stack where frames are large (sanitizer
// builds).
TEST(Nesting, BoundedForEveryConstruct) {
  const Nesting constructs[] = {
      {"parentheses", [](int n) { return "RETURN " + repeat("(", n) + "1" + repeat(")", n); }},
      {"lists", [](int n) { return "RETURN " + repeat("[", n) + "1" + repeat("]", n); }},
      {"maps", [](int n) { return "RETURN " + repeat("{a: ", n) + "1" + repeat("}", n); }},
      {"NOT", [](int n) { return "RETURN " + repeat("NOT ", n) + "x"; }},
      {"minus", [](int n) { return "RETURN " + repeat("- ", n) + "x"; }},
      {"plus", [](int n) { return "RETURN " + repeat("+ ", n) + "x"; }},
      {"calls", [](int n) { return "RETURN " + repeat("f(", n) + "1" + repeat(")", n); }},
      {"windows", [](int n) { return "RETURN " + repeat("f() OVER (ORDER BY ", n) + "1" + repeat(")", n); }},
      {"CASE", [](int n) { return "RETURN " + repeat("CASE WHEN ", n) + "1" + repeat(" THEN 1 END", n); }},
      {"subscripts", [](int n) { return "RETURN " + repeat("a[", n) + "1" + repeat("]", n); }},
      {"powers", [](int n) { return "RETURN " + repeat("2 ^ ", n) + "2"; }},
      {"IN lists", [](int n) { return "RETURN " + repeat("x IN [", n) + "1" + repeat("]", n); }},
      {"right operands", [](int n) { return "RETURN " + repeat("1 + (", n) + "1" + repeat(")", n); }},
      {"node properties", [](int n) { return "MATCH (a {p: " + repeat("{a: ", n - 1) + "1" + repeat("}", n) + ")"; }},
      {"FOREACH", [](int n) { return repeat("FOREACH (x IN l | ", n) + "SET x = 1" + repeat(")", n); }},
      {"UNION", [](int n) { return repeat("RETURN 1 UNION ", n) + "RETURN 1"; }},
      {"EXPLAIN and PROFILE", [](int n) { return repeat("EXPLAIN PROFILE ", n / 2) + "RETURN 1"; }},
      {"mixed", [](int n) { return "RETURN " + repeat("[(-{a: NOT ", n / 5) + "1" + repeat("})]", n / 5); }},
  };
  for (const Nesting& construct : constructs) {
    SCOPED_TRACE(construct.name);
    EXPECT_EQ(parse_on_stack(kLargeStack, construct.text(kBound)), "parsed");
    EXPECT_EQ(parse_on_stack(kLargeStack, construct.text(kBound + 5)), "Statement is nested too deeply");
    EXPECT_EQ(parse_on_stack(kLargeStack, construct.text(100'000)), "Statement is nested too deeply");
    for (const int depth : {kBound, 100'000}) {
      const std::string outcome = parse_on_stack(kSmallStack, construct.text(depth));
      EXPECT_TRUE(outcome == (depth == kBound ? "parsed" : "Statement is nested too deeply") ||
                  refused_for_the_stack(outcome))
          << outcome;
    }
  }
}

// Levels add up across constructs.
TEST(Nesting, LevelsAddUpAcrossConstructs) {
  const int half = kBound / 2;
  const std::string inner_list = repeat("[", half) + "1" + repeat("]", half);
  EXPECT_EQ(parse_on_stack(kLargeStack, repeat("EXPLAIN ", half) + "RETURN " + inner_list), "parsed");
  EXPECT_EQ(parse_on_stack(kLargeStack, repeat("EXPLAIN ", half + 2) + "RETURN " + inner_list),
            "Statement is nested too deeply");
}

// Flat constructs do not nest, however long: lists, chains of every binary
// operator, property accesses and subscripts, SET targets. They parse, and
// their trees are destroyed, on a stack with 64 KiB past the guard's margin.
TEST(Nesting, FlatConstructsHaveNoBound) {
  const int length = 100'000;
  std::vector<std::string> statements = {
      "RETURN [" + repeat("1, ", length) + "1]",
      "RETURN a" + repeat(".b", length),
      "RETURN a" + repeat("[0]", length),
      "RETURN a" + repeat(".b[0]", length / 2) + " IS NULL",
      "SET a" + repeat(".b", length) + repeat("[0]", length) + " = 1",
      "RETURN x IN [1] + 1" + repeat(" + 1", length),
      "MATCH (n) WHERE NOT n.a = 1" + repeat(" AND NOT n.a = 1", length) + " RETURN n",
  };
  for (const char* op : {"OR", "XOR", "AND", "+", "-", "*", "/", "%"}) {
    statements.push_back("RETURN 1" + repeat(std::string(" ") + op + " 1", length));
  }
  for (const std::string& statement : statements) {
    SCOPED_TRACE(statement.substr(0, 30));
    EXPECT_EQ(parse_on_stack(kStackMargin + (64 << 10), statement), "parsed");
  }
}

}  // namespace
}  // namespace zelvo
