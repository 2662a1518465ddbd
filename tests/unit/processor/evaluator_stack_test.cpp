#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <variant>

#include "chunk_source.h"
#include "common/stack_guard.h"
#include "processor/cell_reading.h"
#include "processor/evaluator.h"
#include "support/thread_stack.h"

namespace zelvo {
namespace {

using E = BoundExpression;

// Threads of embedding applications may have stacks of 128 KiB; builds
// with large frames keep a larger margin, and get 64 KiB past it.
constexpr std::size_t kSmallStack = std::max<std::size_t>(128 << 10, kStackMargin + (64 << 10));
constexpr int kChainLength = 100'000;

E lit(Value v) { return E::literal(std::move(v)); }
E col0() { return E::variable("col_0"); }
E param() { return E{E::Parameter{"p"}}; }
E compare(BinaryOp op, std::int64_t value) { return E::binary(col0(), op, lit(Value::int64(value))); }

// first op term(1) op term(2) ... op term(length - 1), nesting to the left
// as parsed; every third link sits in a property access (n.a).
E chain(E first, BinaryOp op, const std::function<E(int)>& term) {
  E expression = std::move(first);
  for (int i = 1; i < kChainLength; ++i) {
    expression = E::binary(std::move(expression), op, term(i));
    if (i % 3 == 0) expression = E::property(std::move(expression), "a");
  }
  return expression;
}

// `wrap` applied `depth` times around `inner`.
E nest(E inner, int depth, const std::function<E(E)>& wrap) {
  for (int i = 0; i < depth; ++i) inner = wrap(std::move(inner));
  return inner;
}

// The expression's values at the chunk's rows, or the error's text,
// evaluated on a thread with a small stack.
std::string answers_on_small_stack(const E& expression, const DataChunk& chunk) {
  std::string text;
  testing::run_on_stack(kSmallStack, [&] {
    Result<Vector> vector = evaluate(expression, chunk);
    if (!vector.ok()) {
      text = vector.error().display();
      return;
    }
    std::vector<Value> values;
    for (std::uint64_t row = 0; row < chunk.count(); ++row) values.push_back(read_cell(*vector, row));
    text = debug_text(values);
  });
  return text;
}

const std::string kNestedError = "Execution error: " + std::string(kNestedTooDeeply);

// Optimised builds answer 100 levels of nesting on a small stack; the
// larger frames of unoptimised and sanitizer builds may run out first.
#if defined(__OPTIMIZE__)
constexpr bool kAnswersAt100Levels = kStackMargin <= 16 * 1024;
#else
constexpr bool kAnswersAt100Levels = false;
#endif

// Chains of 100,000 binary operators and of property accesses evaluate on
// a small stack: a chain takes no stack per link.
TEST(EvaluatorStack, LongChainsTakeNoStackPerLink) {
  const DataChunk chunk = testing::int_rows({{0}, {5}, {-3}});
  struct {
    std::string name;
    E expression;
    std::string expected;
  } cases[] = {
      {"additions", chain(col0(), BinaryOp::Add, [](int) { return lit(Value::int64(1)); }),
       "[Float64(99999.0), Float64(100004.0), Float64(99996.0)]"},
      {"conjunctions",
       chain(compare(BinaryOp::Ge, -3), BinaryOp::And,
             [](int i) { return i == kChainLength / 2 ? compare(BinaryOp::Ne, 5) : lit(Value::boolean(true)); }),
       "[Bool(true), Bool(false), Bool(true)]"},
      {"disjunctions",
       chain(compare(BinaryOp::Eq, 1000), BinaryOp::Or,
             [](int i) { return i == kChainLength / 2 ? param() : compare(BinaryOp::Eq, -i); }),
       "[Null, Null, Bool(true)]"},
      {"properties",
       E::binary(nest(col0(), kChainLength, [](E base) { return E::property(std::move(base), "a"); }), BinaryOp::Mul,
                 lit(Value::int64(2))),
       "[Float64(0.0), Float64(10.0), Float64(-6.0)]"},
  };
  for (auto& c : cases) {
    EXPECT_EQ(answers_on_small_stack(c.expression, chunk), c.expected) << c.name;
  }
}

// Nesting (calls, NOT, negation, null tests, right operands) takes stack per
// level: 100 levels answer on a small stack, and nesting too deep for it
// fails cleanly.
TEST(EvaluatorStack, NestingOnASmallStack) {
  const DataChunk chunk = testing::int_rows({{-2}, {7}});
  const auto call = [](std::string name, std::vector<E> args) {
    return E{E::FunctionCall{std::move(name), false, std::move(args)}};
  };
  const auto abs = [&call](E inner) {
    std::vector<E> args;
    args.push_back(std::move(inner));
    return call("abs", std::move(args));
  };
  const auto negate = [](E inner) { return E::unary(UnaryOp::Neg, std::move(inner)); };
  const struct {
    std::string name;
    std::function<E(E)> wrap;
    E inner;
    std::string at_100;  // the answer of 100 levels
  } cases[] = {
      {"abs", abs, col0(), "[Int64(2), Int64(7)]"},
      {"NOT", [](E inner) { return E::unary(UnaryOp::Not, std::move(inner)); }, compare(BinaryOp::Gt, 0),
       "[Bool(false), Bool(true)]"},
      {"negation", negate, col0(), "[Int64(-2), Int64(7)]"},
      {"IS NULL",
       [](E inner) {
         return E{E::IsNull{Box(std::move(inner)), false}};
       },
       param(), "[Bool(false), Bool(false)]"},
      {"right operands", [](E inner) { return E::binary(lit(Value::int64(1)), BinaryOp::Add, std::move(inner)); },
       col0(), "[Float64(98.0), Float64(107.0)]"},
      {"coalesce",
       [&call](E inner) {
         return call("coalesce", {param(), std::move(inner)});
       },
       col0(), "[Int64(-2), Int64(7)]"},
      {"mixed", [&](E inner) { return abs(negate(E::unary(UnaryOp::Pos, std::move(inner)))); }, col0(),
       "[Int64(2), Int64(7)]"},
  };
  for (const auto& c : cases) {
    const std::string answer = answers_on_small_stack(nest(c.inner, 100, c.wrap), chunk);
    EXPECT_TRUE(answer == c.at_100 || (!kAnswersAt100Levels && answer == kNestedError)) << c.name << ": " << answer;
    EXPECT_EQ(answers_on_small_stack(nest(c.inner, 2000, c.wrap), chunk), kNestedError) << c.name;
  }
}

// Recurses with 1 KiB frames until the guard finds no room, then evaluates.
[[gnu::noinline]] void evaluate_without_room(const E& expression, const DataChunk& chunk, std::string& text) {
  volatile char frame[1024];
  std::memset(const_cast<char*>(frame), 1, sizeof frame);
  if (stack_has_room()) {
    evaluate_without_room(expression, chunk, text);
  } else {
    Result<Vector> vector = evaluate(expression, chunk);
    text = vector.ok() ? "answered" : vector.error().display();
  }
  frame[0] = 2;  // keeps the frame alive across the call
}

// A call that finds the stack used up by its callers fails as too large.
TEST(EvaluatorStack, TooLargeWhenTheCallersUsedTheStack) {
  const DataChunk chunk = testing::int_rows({{1}});
  std::string text;
  testing::run_on_stack(kSmallStack, [&] { evaluate_without_room(lit(Value::int64(1)), chunk, text); });
  EXPECT_EQ(text, "Execution error: " + std::string(kTooLarge));
}

}  // namespace
}  // namespace zelvo
