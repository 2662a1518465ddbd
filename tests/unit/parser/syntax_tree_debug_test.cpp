#include <gtest/gtest.h>

#include "parser/statement.h"

namespace zelvo {
namespace {

Expression variable(std::string name) { return Expression{Expression::Variable{std::move(name)}}; }
Expression::Child boxed(Expression expression) { return std::make_unique<Expression>(std::move(expression)); }

// Variants and kinds that the parser never builds still print in the shared
// scheme; the binder quotes this text in its messages.
TEST(SyntaxTreeDebugText, VariantsTheParserDoesNotBuild) {
  std::vector<std::pair<Expression, const char*>> cases;
  cases.emplace_back(Expression{Expression::Quantified{Quantifier::None, "x", boxed(variable("l")), boxed({})}},
                     "Quantified { quantifier: None, variable: \"x\", in_expr: Variable(\"l\"), predicate: "
                     "Literal(Null) }");
  cases.emplace_back(
      Expression{Expression::StringMatch{boxed(variable("s")), boxed(variable("p")), StringMatchType::EndsWith, true}},
      "StringMatch { operand: Variable(\"s\"), pattern: Variable(\"p\"), match_type: EndsWith, negated: true }");
  cases.emplace_back(Expression{Expression::ListComprehension{"x", boxed(variable("l")), nullptr, boxed(variable("x"))}},
                     "ListComprehension { variable: \"x\", in_expr: Variable(\"l\"), where_clause: None, projection: "
                     "Some(Variable(\"x\")) }");
  cases.emplace_back(Expression{Expression::PatternComprehension{Pattern{}, nullptr, boxed(variable("a"))}},
                     "PatternComprehension { pattern: Pattern { elements: [] }, where_clause: None, projection: "
                     "Variable(\"a\") }");
  cases.emplace_back(Expression{Expression::Binary{boxed(variable("a")), BinaryOp::Range, boxed(variable("b"))}},
                     "Binary { left: Variable(\"a\"), op: Range, right: Variable(\"b\") }");
  cases.emplace_back(Expression{Expression::Unary{UnaryOp::Pos, boxed(variable("a"))}},
                     "Unary { op: Pos, operand: Variable(\"a\") }");
  cases.emplace_back(variable("a\"b\nc'\x01"), "Variable(\"a\\\"b\\nc'\\u{1}\")");
  for (const auto& [expression, expected] : cases) EXPECT_EQ(debug_text(expression), expected);

  WindowFrame frame{WindowFrameType::Range, {WindowFrameBound::Kind::Preceding, 3},
                    WindowFrameBound{WindowFrameBound::Kind::Following, 1}};
  EXPECT_EQ(debug_text(frame), "WindowFrame { frame_type: Range, start: Preceding(3), end: Some(Following(1)) }");

  std::vector<std::pair<std::string, const char*>> items;
  items.emplace_back(debug_text(SetItem{SetItem::Labels{"n", {"A", "B"}}}), "Labels { variable: \"n\", labels: [\"A\", \"B\"] }");
  items.emplace_back(debug_text(SetItem{SetItem::Properties{"n", MapLiteral{}, true}}),
                     "Properties { variable: \"n\", properties: MapLiteral { entries: [] }, replace: true }");
  items.emplace_back(debug_text(UpdateClause{RemoveItem{RemoveItem::Labels{"n", {"A"}}}}),
                     "Remove(Labels { variable: \"n\", labels: [\"A\"] })");
  items.emplace_back(debug_text(AlterAction{AlterAction::AlterColumnDefault{"c", Expression()}}),
                     "AlterColumnDefault { column: \"c\", default: Literal(Null) }");
  items.emplace_back(debug_text(AlterAction{AlterAction::DropColumnDefault{"c"}}), "DropColumnDefault { column: \"c\" }");
  for (const auto& [text, expected] : items) EXPECT_EQ(text, expected);
}

}  // namespace
}  // namespace zelvo
