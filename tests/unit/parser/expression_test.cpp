#include <gtest/gtest.h>

#include "parse_helpers.h"

namespace zelvo {
namespace {

using parser_test::Case;
using parser_test::expression_text;

TEST(Expressions, PrecedenceAndAssociativity) {
  const Case cases[] = {
      {"1 + 2 * 3",
       "Binary { left: Literal(Int64(1)), op: Add, right: Binary { left: Literal(Int64(2)), op: Mul, right: "
       "Literal(Int64(3)) } }"},
      {"a - b - c",
       "Binary { left: Binary { left: Variable(\"a\"), op: Sub, right: Variable(\"b\") }, op: Sub, right: "
       "Variable(\"c\") }"},
      {"2 ^ 3 ^ 2",
       "Binary { left: Literal(Int64(2)), op: Pow, right: Binary { left: Literal(Int64(3)), op: Pow, right: "
       "Literal(Int64(2)) } }"},
      {"-2 ^ 2",
       "Binary { left: Unary { op: Neg, operand: Literal(Int64(2)) }, op: Pow, right: Literal(Int64(2)) }"},
      {"2 ^ -1", "Binary { left: Literal(Int64(2)), op: Pow, right: Unary { op: Neg, operand: Literal(Int64(1)) } }"},
      {"a * b % c / d ^ e",
       "Binary { left: Binary { left: Binary { left: Variable(\"a\"), op: Mul, right: Variable(\"b\") }, op: Mod, "
       "right: Variable(\"c\") }, op: Div, right: Binary { left: Variable(\"d\"), op: Pow, right: Variable(\"e\") } }"},
      {"+x", "Variable(\"x\")"},
      {"+-x", "Unary { op: Neg, operand: Variable(\"x\") }"},
      {"- -x", "Unary { op: Neg, operand: Unary { op: Neg, operand: Variable(\"x\") } }"},
      {"NOT a = b", "Unary { op: Not, operand: Binary { left: Variable(\"a\"), op: Eq, right: Variable(\"b\") } }"},
      {"a OR b XOR c AND NOT d",
       "Binary { left: Variable(\"a\"), op: Or, right: Binary { left: Variable(\"b\"), op: Xor, right: Binary { "
       "left: Variable(\"c\"), op: And, right: Unary { op: Not, operand: Variable(\"d\") } } } }"},
      {"a + 1 >= b", "Binary { left: Binary { left: Variable(\"a\"), op: Add, right: Literal(Int64(1)) }, op: Ge, "
                     "right: Variable(\"b\") }"},
      {"a <> b", "Binary { left: Variable(\"a\"), op: Ne, right: Variable(\"b\") }"},
      {"a != b", "Binary { left: Variable(\"a\"), op: Ne, right: Variable(\"b\") }"},
      // Comparisons do not chain, and a NOT without IN ends the expression.
      {"1 = 2 = 3", "Binary { left: Literal(Int64(1)), op: Eq, right: Literal(Int64(2)) }"},
      {"x NOT y", "Variable(\"x\")"},
      {"x NOT IN [1, 2]",
       "In { operand: Variable(\"x\"), list: List(ListLiteral { elements: [Literal(Int64(1)), Literal(Int64(2))] }), "
       "negated: true }"},
      {"a IN b + c", "In { operand: Variable(\"a\"), list: Binary { left: Variable(\"b\"), op: Add, right: "
                     "Variable(\"c\") }, negated: false }"},
      {"x IS NOT NULL AND y IS NULL",
       "Binary { left: IsNull { operand: Variable(\"x\"), negated: true }, op: And, right: IsNull { operand: "
       "Variable(\"y\"), negated: false } }"},
      {"x IS NULL IS NULL", "IsNull { operand: Variable(\"x\"), negated: false }"},
  };
  for (const Case& c : cases) EXPECT_EQ(expression_text(c.input), c.expected) << c.input;
}

TEST(Expressions, PrimariesAndPostfix) {
  const Case cases[] = {
      {"NULL", "Literal(Null)"},
      {"TRUE", "Literal(Bool(true))"},
      {"false", "Literal(Bool(false))"},
      {"9223372036854775807", "Literal(Int64(9223372036854775807))"},
      {"007", "Literal(Int64(7))"},
      {"1.5e3", "Literal(Float64(1500.0))"},
      {"1.0e999", "Literal(Float64(inf))"},
      {"1.0e-999", "Literal(Float64(0.0))"},
      {"'it\\'s'", "Literal(String(\"it's\"))"},
      {"\"a\\\\nb\\x\"", "Literal(String(\"a\\nb\\\\x\"))"},
      {"$name", "Parameter(\"name\")"},
      {"[]", "List(ListLiteral { elements: [] })"},
      {"{}", "Map(MapLiteral { entries: [] })"},
      {"{a: 1, `b c`: x, a: 2}",
       "Map(MapLiteral { entries: [(\"a\", Literal(Int64(1))), (\"b c\", Variable(\"x\")), (\"a\", "
       "Literal(Int64(2)))] })"},
      {"a.b[0].c",
       "Property { base: Index { base: Property { base: Variable(\"a\"), property: \"b\" }, index: Literal(Int64(0)) "
       "}, property: \"c\" }"},
      {"[1, 2][0]",
       "Index { base: List(ListLiteral { elements: [Literal(Int64(1)), Literal(Int64(2))] }), index: "
       "Literal(Int64(0)) }"},
      {"(a).`b`", "Property { base: Variable(\"a\"), property: \"b\" }"},
      {"count(*)", "FunctionCall { name: \"count\", distinct: false, args: [] }"},
      {"count()", "FunctionCall { name: \"count\", distinct: false, args: [] }"},
      {"Count(DISTINCT x, 1)", "FunctionCall { name: \"Count\", distinct: true, args: [Variable(\"x\"), "
                               "Literal(Int64(1))] }"},
      {"f(x).y", "Property { base: FunctionCall { name: \"f\", distinct: false, args: [Variable(\"x\")] }, property: "
                 "\"y\" }"},
      {"CASE WHEN a THEN 1 ELSE 2 END",
       "Case { operand: None, when_clauses: [(Variable(\"a\"), Literal(Int64(1)))], else_clause: "
       "Some(Literal(Int64(2))) }"},
      {"CASE x WHEN 1 THEN 2 END",
       "Case { operand: Some(Variable(\"x\")), when_clauses: [(Literal(Int64(1)), Literal(Int64(2)))], else_clause: "
       "None }"},
      {"CASE x ELSE 1 END", "Case { operand: Some(Variable(\"x\")), when_clauses: [], else_clause: "
                            "Some(Literal(Int64(1))) }"},
  };
  for (const Case& c : cases) EXPECT_EQ(expression_text(c.input), c.expected) << c.input;
}

TEST(Expressions, WindowFunctions) {
  const Case cases[] = {
      {"sum(x) OVER (PARTITION BY a ORDER BY b DESC ROWS UNBOUNDED PRECEDING)",
       "WindowFunction { name: \"sum\", args: [Variable(\"x\")], partition_by: [Variable(\"a\")], order_by: "
       "[(Variable(\"b\"), Descending)], frame: Some(WindowFrame { frame_type: Rows, start: UnboundedPreceding, end: "
       "None }) }"},
      {"rank(DISTINCT x) OVER ()",
       "WindowFunction { name: \"rank\", args: [Variable(\"x\")], partition_by: [], order_by: [], frame: None }"},
      {"f() OVER (ORDER BY a ASC ASCENDING, b DESCENDING, c RANGE 5 PRECEDING)",
       "WindowFunction { name: \"f\", args: [], partition_by: [], order_by: [(Variable(\"a\"), Ascending), "
       "(Variable(\"b\"), Descending), (Variable(\"c\"), Ascending)], frame: Some(WindowFrame { frame_type: Range, "
       "start: Preceding(5), end: None }) }"},
      {"f() OVER (ROWS 18446744073709551615 FOLLOWING)",
       "WindowFunction { name: \"f\", args: [], partition_by: [], order_by: [], frame: Some(WindowFrame { "
       "frame_type: Rows, start: Following(18446744073709551615), end: None }) }"},
      {"f() OVER (ROWS CURRENT ROW)", "WindowFunction { name: \"f\", args: [], partition_by: [], order_by: [], "
                                      "frame: Some(WindowFrame { frame_type: Rows, start: CurrentRow, end: None }) }"},
      {"f() OVER (ROWS UNBOUNDED FOLLOWING)",
       "WindowFunction { name: \"f\", args: [], partition_by: [], order_by: [], frame: Some(WindowFrame { "
       "frame_type: Rows, start: UnboundedFollowing, end: None }) }"},
  };
  for (const Case& c : cases) EXPECT_EQ(expression_text(c.input), c.expected) << c.input;
}

}  // namespace
}  // namespace zelvo
