#include <gtest/gtest.h>

#include <string>

#include "compiler_fixture.h"
#include "optimizer/constant_folding.h"
#include "optimizer/predicate_simplification.h"

namespace zelvo {
namespace {

// The bound expression of "RETURN <text>" with x and y in scope.
BoundExpression bound_expression(const std::string& text) {
  BoundQuery query = testing::bind_query_text(testing::make_compiler_catalog(), "MATCH (x), (y) RETURN " + text);
  if (!query.return_clause.has_value()) return BoundExpression::literal(Value::null());
  return query.return_clause->items.at(0).expression;
}

struct RewriteCase {
  const char* expression;
  const char* rewritten;
};

TEST(ConstantFolding, FoldsTheFixedOperatorTable) {
  const RewriteCase cases[] = {
      // Int64: wrapping arithmetic, truncating division, signed comparison.
      {"1 + 1 = 2", "Literal(Bool(true))"},
      {"9223372036854775807 + 1", "Literal(Int64(-9223372036854775808))"},
      {"-9223372036854775807 - 2", "Literal(Int64(9223372036854775807))"},
      {"4611686018427387904 * 4", "Literal(Int64(0))"},
      {"-(-9223372036854775807 - 1)", "Literal(Int64(-9223372036854775808))"},
      {"-7 / 2", "Literal(Int64(-3))"},
      {"7 / 0", "Binary { left: Literal(Int64(7)), op: Div, right: Literal(Int64(0)) }"},
      {"(-9223372036854775807 - 1) / -1",
       "Binary { left: Literal(Int64(-9223372036854775808)), op: Div, right: Literal(Int64(-1)) }"},
      {"7 % 2", "Binary { left: Literal(Int64(7)), op: Mod, right: Literal(Int64(2)) }"},
      {"2 ^ 3", "Binary { left: Literal(Int64(2)), op: Pow, right: Literal(Int64(3)) }"},
      {"3 >= 3", "Literal(Bool(true))"},
      {"-2 < 1", "Literal(Bool(true))"},
      {"1 <> 1", "Literal(Bool(false))"},
      // String: concatenation and byte-wise comparison, but not Le or Ge.
      {"'ab' + 'c'", R"(Literal(String("abc")))"},
      {"'ab' < 'abc'", "Literal(Bool(true))"},
      {"'b' > 'B'", "Literal(Bool(true))"},
      {"'a' = 'a'", "Literal(Bool(true))"},
      {"'b' <= 'c'", R"(Binary { left: Literal(String("b")), op: Le, right: Literal(String("c")) })"},
      // Bool.
      {"true XOR true", "Literal(Bool(false))"},
      {"true <> false", "Literal(Bool(true))"},
      {"true AND false", "Literal(Bool(false))"},
      {"false OR true", "Literal(Bool(true))"},
      {"NOT true", "Literal(Bool(false))"},
      // Mixed kinds, floats and nulls are not folded; Neg of a float is.
      {"1 + 2.0", "Binary { left: Literal(Int64(1)), op: Add, right: Literal(Float64(2.0)) }"},
      {"1.5 + 2.5", "Binary { left: Literal(Float64(1.5)), op: Add, right: Literal(Float64(2.5)) }"},
      {"-(1.5)", "Literal(Float64(-1.5))"},
      {"-0.0", "Literal(Float64(-0.0))"},
      {"null = null", "Binary { left: Literal(Null), op: Eq, right: Literal(Null) }"},
      {"NOT 1", "Unary { op: Not, operand: Literal(Int64(1)) }"},
      // Operands fold first; function arguments, lists and IsNull are left alone.
      {"x + (1 + 2)", R"(Binary { left: Variable("x"), op: Add, right: Literal(Int64(3)) })"},
      {"f(1 + 2)", R"(FunctionCall { name: "f", distinct: false, args: [Binary { left: Literal(Int64(1)), op: Add, )"
                   R"(right: Literal(Int64(2)) }] })"},
      {"(1 + 2) IS NULL",
       "IsNull { operand: Binary { left: Literal(Int64(1)), op: Add, right: Literal(Int64(2)) }, negated: false }"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(debug_text(*fold_constant_expression(bound_expression(c.expression))), c.rewritten) << c.expression;
  }
}

// A left-deep chain of concatenations folds link by link into one literal;
// a link that does not fold stops the chain there.
TEST(ConstantFolding, FoldsConcatenationChains) {
  for (const int terms : {3, 2000}) {
    std::string text = "'p0'";
    std::string joined = "p0";
    for (int i = 1; i < terms; ++i) {
      const std::string piece = "p" + std::to_string(i) + std::string(static_cast<std::size_t>(i % 40), 'z');
      text += " + '" + piece + "'";
      joined += piece;
    }
    EXPECT_EQ(debug_text(*fold_constant_expression(bound_expression(text))), "Literal(String(\"" + joined + "\"))");
  }
  const RewriteCase cases[] = {
      {"'a' + ('b' + 'c') + 'd'", R"(Literal(String("abcd")))"},
      {"'a' + 'b' + 1 + 'c'", R"(Binary { left: Binary { left: Literal(String("ab")), op: Add, )"
                              R"(right: Literal(Int64(1)) }, op: Add, right: Literal(String("c")) })"},
      {"'a' + 'b' + x + 'c'", R"(Binary { left: Binary { left: Literal(String("ab")), op: Add, )"
                              R"(right: Variable("x") }, op: Add, right: Literal(String("c")) })"},
      {"'a' + 'b' <= 'c' + 'd'", R"(Binary { left: Literal(String("ab")), op: Le, right: Literal(String("cd")) })"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(debug_text(*fold_constant_expression(bound_expression(c.expression))), c.rewritten) << c.expression;
  }
}

TEST(PredicateSimplification, RemovesDoubleNegationAndBoolOperands) {
  const RewriteCase cases[] = {
      {"NOT NOT x", R"(Variable("x"))"},
      {"NOT NOT NOT x", R"(Unary { op: Not, operand: Variable("x") })"},
      {"NOT false", "Literal(Bool(true))"},
      {"x AND true", R"(Variable("x"))"},
      {"true AND x", R"(Variable("x"))"},
      {"false AND x", "Literal(Bool(false))"},
      {"x AND false", "Literal(Bool(false))"},
      {"x OR false", R"(Variable("x"))"},
      {"false OR x", R"(Variable("x"))"},
      {"x OR true", "Literal(Bool(true))"},
      {"true OR x", "Literal(Bool(true))"},
      {"x AND y", R"(Binary { left: Variable("x"), op: And, right: Variable("y") })"},
      // Sides simplify first, at any depth of Unary and Binary.
      {"NOT (NOT x AND true)", R"(Variable("x"))"},
      {"x = (NOT NOT y)", R"(Binary { left: Variable("x"), op: Eq, right: Variable("y") })"},
      {"-(NOT NOT x)", R"(Unary { op: Neg, operand: Variable("x") })"},
      // No folding here, and no descent into other kinds.
      {"1 = 1 AND x", R"(Binary { left: Binary { left: Literal(Int64(1)), op: Eq, right: Literal(Int64(1)) }, )"
                      R"(op: And, right: Variable("x") })"},
      {"f(NOT NOT x)", R"(FunctionCall { name: "f", distinct: false, args: [Unary { op: Not, operand: Unary { )"
                       R"(op: Not, operand: Variable("x") } }] })"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(debug_text(*simplify_predicate(bound_expression(c.expression))), c.rewritten) << c.expression;
  }
}

}  // namespace
}  // namespace zelvo
