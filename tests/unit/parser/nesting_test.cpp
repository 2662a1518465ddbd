#include <gtest/gtest.h>
#include <pthread.h>

#include <functional>
#include <string>

#include "parser/parser.h"

namespace zelvo {
namespace {

constexpr std::size_t kSmallStack = 256 * 1024;
constexpr int kBound = static_cast<int>(Parser::kMaxNestingDepth);

std::string repeat(std::string_view piece, int count) {
  std::string out;
  out.reserve(piece.size() * static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) out += piece;
  return out;
}

struct ParseJob {
  std::string text;
  std::string outcome;
};

void* run_parse(void* argument) {
  auto* job = static_cast<ParseJob*>(argument);
  // The tree is built and destroyed on this thread.
  const Result<Statement> result = Parser::parse(job->text);
  job->outcome = result.ok() ? "parsed" : result.error().message();
  return nullptr;
}

// Parses on a thread whose stack is as small as a thread pool's might be.
std::string parse_on_small_stack(std::string text) {
  ParseJob job{std::move(text), ""};
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, kSmallStack);
  pthread_t thread;
  EXPECT_EQ(pthread_create(&thread, &attributes, run_parse, &job), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
  return job.outcome;
}

struct Nesting {
  const char* name;
  std::function<std::string(int)> text;  // a statement nested `depth` levels
};

// Each construct parses at the bound, fails just past it, and fails cleanly
// when nested 100,000 times.
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
      // Each level holds two nodes, In and List.
      {"IN lists", [](int n) { return "RETURN " + repeat("x IN [", n / 2) + "1" + repeat("]", n / 2); }},
      {"operator chains", [](int n) { return "RETURN 1" + repeat(" + 1", n); }},
      {"property chains", [](int n) { return "RETURN a" + repeat(".b", n); }},
      {"SET targets", [](int n) { return "SET a" + repeat(".b", n) + " = 1"; }},
      {"node properties", [](int n) { return "MATCH (a {p: " + repeat("{a: ", n - 1) + "1" + repeat("}", n) + ")"; }},
      {"FOREACH", [](int n) { return repeat("FOREACH (x IN l | ", n) + "SET x = 1" + repeat(")", n); }},
      {"UNION", [](int n) { return repeat("RETURN 1 UNION ", n) + "RETURN 1"; }},
      {"EXPLAIN and PROFILE", [](int n) { return repeat("EXPLAIN PROFILE ", n / 2) + "RETURN 1"; }},
      {"mixed", [](int n) { return "RETURN " + repeat("[(-{a: NOT ", n / 5) + "1" + repeat("})]", n / 5); }},
  };
  for (const Nesting& construct : constructs) {
    SCOPED_TRACE(construct.name);
    EXPECT_EQ(parse_on_small_stack(construct.text(kBound)), "parsed");
    EXPECT_EQ(parse_on_small_stack(construct.text(kBound + 5)), "Statement is nested too deeply");
    EXPECT_EQ(parse_on_small_stack(construct.text(100'000)), "Statement is nested too deeply");
  }
}

// Levels add up across constructs, and a flat list does not nest.
TEST(Nesting, LevelsAddUpAcrossConstructs) {
  const int half = kBound / 2;
  const std::string inner_list = repeat("[", half) + "1" + repeat("]", half);
  EXPECT_EQ(parse_on_small_stack(repeat("EXPLAIN ", half) + "RETURN " + inner_list), "parsed");
  EXPECT_EQ(parse_on_small_stack(repeat("EXPLAIN ", half + 2) + "RETURN " + inner_list),
            "Statement is nested too deeply");
  EXPECT_EQ(parse_on_small_stack("RETURN [" + repeat("1, ", 100'000) + "1]"), "parsed");
}

}  // namespace
}  // namespace zelvo
