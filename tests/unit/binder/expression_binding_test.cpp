#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "compiler_fixture.h"

namespace zelvo {
namespace {

using testing::bind_outcome;
using testing::bind_query_text;
using testing::make_compiler_catalog;

// The compact text of the single RETURN item's expression, with n bound to a
// Person node.
std::string bound_return_text(const std::string& expression) {
  BoundQuery query = bind_query_text(make_compiler_catalog(), "MATCH (n:Person) RETURN " + expression);
  if (!query.return_clause.has_value() || query.return_clause->items.size() != 1) return "<no single item>";
  return debug_text(query.return_clause->items[0].expression);
}

TEST(ExpressionBinding, CopiesStructureWithoutResolvingNames) {
  const struct {
    const char* expression;
    const char* bound;
  } cases[] = {
      // Property names and function names are carried as written.
      {"n.nope", R"(Property { base: Variable("n"), property: "nope" })"},
      {"toUpper(n.name)",
       R"(FunctionCall { name: "toUpper", distinct: false, args: [Property { base: Variable("n"), property: "name" }] })"},
      {"count(DISTINCT n)", R"(FunctionCall { name: "count", distinct: true, args: [Variable("n")] })"},
      {"1 IN [1, 2]",
       "In { operand: Literal(Int64(1)), list: List([Literal(Int64(1)), Literal(Int64(2))]), negated: false }"},
      {"n NOT IN $xs", R"(In { operand: Variable("n"), list: Parameter("xs"), negated: true })"},
      {"n.age IS NOT NULL", R"(IsNull { operand: Property { base: Variable("n"), property: "age" }, negated: true })"},
      {"NOT -n.age",
       R"(Unary { op: Not, operand: Unary { op: Neg, operand: Property { base: Variable("n"), property: "age" } } })"},
      {"{a: 1, a: n}", R"(Map([("a", Literal(Int64(1))), ("a", Variable("n"))]))"},
      {"1.5 + 'x'", R"(Binary { left: Literal(Float64(1.5)), op: Add, right: Literal(String("x")) })"},
      // The window frame is dropped; the ORDER BY direction becomes a bool.
      {"sum(n.age) OVER (PARTITION BY n ORDER BY n.age DESC ROWS 5 PRECEDING)",
       R"(WindowFunction { name: "sum", args: [Property { base: Variable("n"), property: "age" }], )"
       R"(partition_by: [Variable("n")], order_by: [OrderItem { expression: Property { base: Variable("n"), )"
       R"(property: "age" }, ascending: false }] })"},
  };
  for (const auto& c : cases) EXPECT_EQ(bound_return_text(c.expression), c.bound) << c.expression;
}

TEST(ExpressionBinding, RefusesUnknownVariablesAndUnsupportedKindsAtAnyDepth) {
  const struct {
    const char* statement;
    const char* error;
  } cases[] = {
      {"MATCH (n:Person) RETURN m", "Binder error: Unknown variable: m"},
      // Names are case-sensitive.
      {"MATCH (n:Person) RETURN N", "Binder error: Unknown variable: N"},
      {"RETURN [1, x, 3]", "Binder error: Unknown variable: x"},
      {"RETURN CASE WHEN true THEN 1 END",
       "Binder error: Unsupported expression: Case { operand: None, when_clauses: [(Literal(Bool(true)), "
       "Literal(Int64(1)))], else_clause: None }"},
      {"MATCH (n:Person) RETURN f([1, n.xs[0]])",
       R"(Binder error: Unsupported expression: Index { base: Property { base: Variable("n"), property: "xs" }, )"
       R"(index: Literal(Int64(0)) })"},
      // Children bind left to right: the first failing one is reported.
      {"RETURN a + CASE WHEN true THEN 1 END", "Binder error: Unknown variable: a"},
      {"RETURN {k: b}", "Binder error: Unknown variable: b"},
  };
  for (const auto& c : cases) EXPECT_EQ(bind_outcome(make_compiler_catalog(), c.statement), c.error) << c.statement;
}

TEST(ExpressionBinding, FirstScopeEntryOfANameWins) {
  const auto catalog = make_compiler_catalog();
  Scope scope;
  scope.add("a", TableId{1});
  scope.add("a", std::nullopt);
  Result<BoundExpression> bound = bind_expression(*catalog, Expression(Expression::Variable{"a"}), scope);
  ASSERT_TRUE(bound.ok());
  EXPECT_EQ(debug_text(*bound), R"(Variable("a"))");
  EXPECT_EQ(scope.find("a")->table, std::optional<TableId>(TableId{1}));
}

// Entry i is named "v<i % 5>" and has table i: names repeat from the sixth
// entry on, so the first entry of each name must keep winning, on both
// sides of the point where the scope moves its entries to the heap, and
// after entries added under a ScopeRestorer are dropped again.
TEST(ExpressionBinding, ScopeOrderAndShadowingHoldAtAnySize) {
  std::vector<std::string> names;
  for (std::uint64_t i = 0; i < 5; ++i) names.push_back("v" + std::to_string(i));
  // What a FOREACH body might add: new names and names of the scope, enough
  // to move any scope below to the heap.
  const std::vector<std::string> added = {"w0", "v1", "w2", "v3", "w4", "v0", "w6", "v2", "w8", "v1"};
  for (const std::uint64_t count : {0, 1, 5, 8, 9, 40}) {
    Scope scope;
    for (std::uint64_t i = 0; i < count; ++i) scope.add(names[i % 5], TableId{i});
    ASSERT_EQ(scope.entries().size(), count);
    for (std::uint64_t i = 0; i < count; ++i) {
      EXPECT_EQ(scope.entries()[i].name, names[i % 5]) << count;
      EXPECT_EQ(scope.entries()[i].table, std::optional<TableId>(TableId{i})) << count;
    }
    for (std::uint64_t i = 0; i < 5; ++i) {
      const ScopeEntry* found = scope.find(names[i]);
      ASSERT_EQ(found != nullptr, i < count) << count << " " << names[i];
      if (found != nullptr) {
        EXPECT_EQ(found->table, std::optional<TableId>(TableId{i})) << count;
      }
    }
    EXPECT_EQ(scope.find("v"), nullptr);

    // Added entries are found behind the first entry of their name while
    // they last, and dropped with their index entries afterwards; twice, so
    // that adding after a drop is checked too.
    for (int round = 0; round < 2; ++round) {
      {
        const ScopeRestorer restorer(scope);
        for (std::uint64_t i = 0; i < added.size(); ++i) scope.add(added[i], TableId{100 + i});
        ASSERT_EQ(scope.entries().size(), count + added.size());
        EXPECT_EQ(scope.find("w2")->table, std::optional<TableId>(TableId{102}));
        EXPECT_EQ(scope.find("v1")->table, std::optional<TableId>(TableId{count > 1 ? 1U : 101U})) << count;
      }
      ASSERT_EQ(scope.entries().size(), count);
      for (std::uint64_t i = 0; i < count; ++i) EXPECT_EQ(scope.entries()[i].table, std::optional<TableId>(TableId{i}));
      for (std::uint64_t i = 0; i < 5; ++i) {
        EXPECT_EQ(scope.find(names[i]), i < count ? &scope.entries()[i] : nullptr) << count << " " << i;
      }
      EXPECT_EQ(scope.find("w0"), nullptr) << count;
    }
  }
}

}  // namespace
}  // namespace zelvo
