#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <variant>

#include "compiler_fixture.h"

namespace zelvo {
namespace {

using testing::bind_outcome;
using testing::bind_query_text;
using testing::make_compiler_catalog;

// "alias=expression" for every RETURN item, separated by "; ".
std::string return_items_text(const BoundQuery& query) {
  std::string text;
  if (!query.return_clause.has_value()) return "<no RETURN>";
  for (const BoundProjectionItem& item : query.return_clause->items) {
    if (!text.empty()) text += "; ";
    text += item.alias.value_or("-") + "=" + debug_text(item.expression);
  }
  return text;
}

TEST(QueryBinding, ReturnStarExpandsTheScopeInOrder) {
  const struct {
    const char* query;
    const char* items;
  } cases[] = {
      {"MATCH (a) RETURN *", R"(a=Variable("a"))"},
      {"MATCH (a)-[r]->(b) RETURN *", R"(a=Variable("a"); r=Variable("r"); b=Variable("b"))"},
      {"MATCH (a), (a) RETURN *", R"(a=Variable("a"); a=Variable("a"))"},
      // MATCH, then CREATE, then MERGE variables; the star keeps its position.
      {"MATCH (a) CREATE (c:T) RETURN a.x AS ax, *", R"(ax=Property { base: Variable("a"), property: "x" }; )"
                                                     R"(a=Variable("a"); c=Variable("c"))"},
      {"MATCH (a) RETURN a.x", R"(-=Property { base: Variable("a"), property: "x" })"},
      {"MATCH () RETURN *", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(return_items_text(bind_query_text(make_compiler_catalog(), c.query)), c.items) << c.query;
  }
}

TEST(QueryBinding, PatternsResolveOnlyTheFirstLabelAndType) {
  const struct {
    const char* query;
    const char* pattern;
  } cases[] = {
      {"MATCH (p:Person:Nope) RETURN p",
       R"([Node(BoundNodePattern { variable: Some("p"), table_id: Some(TableId(1)), labels: ["Person", "Nope"], )"
       R"(properties: None })])"},
      {"MATCH (:A {x: 1})", R"([Node(BoundNodePattern { variable: None, table_id: Some(TableId(2)), labels: ["A"], )"
                            R"(properties: Some([("x", Literal(Int64(1)))]) })])"},
      {"MATCH (a)<-[r:R|NOPE*2..]-(b:B)",
       R"([Chain(BoundPatternChain { start: BoundNodePattern { variable: Some("a"), table_id: None, labels: [], )"
       R"(properties: None }, relationships: [(BoundRelPattern { variable: Some("r"), table_id: Some(TableId(6)), )"
       R"(rel_types: ["R", "NOPE"], direction: Incoming, properties: None, min_hops: Some(2), max_hops: None }, )"
       R"(BoundNodePattern { variable: Some("b"), table_id: Some(TableId(3)), labels: ["B"], properties: None })] })])"},
      {"MATCH (a)-[*..3]-(b)",
       R"([Chain(BoundPatternChain { start: BoundNodePattern { variable: Some("a"), table_id: None, labels: [], )"
       R"(properties: None }, relationships: [(BoundRelPattern { variable: None, table_id: None, rel_types: [], )"
       R"(direction: Both, properties: None, min_hops: None, max_hops: Some(3) }, BoundNodePattern { )"
       R"(variable: Some("b"), table_id: None, labels: [], properties: None })] })])"},
  };
  for (const auto& c : cases) {
    BoundQuery query = bind_query_text(make_compiler_catalog(), c.query);
    ASSERT_EQ(query.match_clauses.size(), 1U) << c.query;
    EXPECT_EQ(debug_text(query.match_clauses[0].pattern), c.pattern) << c.query;
  }
}

TEST(QueryBinding, ClausesWithoutASlotAreDroppedUnread) {
  const auto catalog = make_compiler_catalog();
  const char* dropped[] = {
      "UNWIND [1, 2] AS x",
      "OPTIONAL MATCH (z:Nope) WHERE nope = 1",
      "WITH nope AS x WHERE nope ORDER BY nope",
      "MATCH (n) RETURN n UNION MATCH (m:Nope) RETURN nope",
  };
  for (const char* text : dropped) EXPECT_EQ(bind_outcome(catalog, text), "ok") << text;

  BoundQuery unwind = bind_query_text(catalog, "UNWIND [1, 2] AS x");
  EXPECT_TRUE(unwind.match_clauses.empty() && !unwind.where_clause && unwind.create_clauses.empty() &&
              !unwind.merge_clause && !unwind.return_clause && !unwind.delete_clause && unwind.set_items.empty() &&
              unwind.foreach_clauses.empty() && !unwind.skip && !unwind.limit);

  BoundQuery ordered = bind_query_text(catalog, "MATCH (n) RETURN n ORDER BY n.x SKIP 1 LIMIT n.y");
  EXPECT_EQ(debug_text(ordered.skip), "Some(Literal(Int64(1)))");
  EXPECT_EQ(debug_text(ordered.limit), R"(Some(Property { base: Variable("n"), property: "y" }))");
}

TEST(QueryBinding, ErrorsFollowTheBindingOrder) {
  const struct {
    const char* query;
    const char* error;
  } cases[] = {
      {"MATCH (p:Nope) RETURN p", "Table not found: Nope"},
      {"MATCH (a)-[:NOPE|KNOWS]->(b)", "Table not found: NOPE"},
      // A clause's WHERE sees only the MATCH clauses before it.
      {"MATCH (a) WHERE b.x = 1 MATCH (b)", "Binder error: Unknown variable: b"},
      // The query WHERE is bound before CREATE and MERGE add their variables.
      {"MATCH (a) CREATE (c:T) WHERE c.v = 1", "Binder error: Unknown variable: c"},
      {"MATCH (n) WITH n AS m RETURN m", "Binder error: Unknown variable: m"},
      {"MATCH (n) UNWIND [1] AS x RETURN x", "Binder error: Unknown variable: x"},
      // WHERE, CREATE, RETURN, DELETE, SET, FOREACH, LIMIT, SKIP.
      {"MATCH (n) WHERE w CREATE (:Nope)", "Binder error: Unknown variable: w"},
      {"CREATE (:Nope) RETURN r", "Table not found: Nope"},
      {"MATCH (n) SET s.x = 1 DELETE d RETURN r", "Binder error: Unknown variable: r"},
      {"MATCH (n) SET s.x = 1 DELETE d", "Binder error: Unknown variable: d"},
      {"MATCH (n) FOREACH (x IN f | SET n.a = 1) SET s.x = 1", "Binder error: Unknown variable: s"},
      {"MATCH (n) RETURN n SKIP k LIMIT l FOREACH (x IN f | SET n.a = 1)", "Binder error: Unknown variable: f"},
      {"MATCH (n) RETURN n SKIP k LIMIT l", "Binder error: Unknown variable: l"},
      // A node's own variable is visible to its property map.
      {"CREATE (n:T {v: n.v}) RETURN n", "ok"},
  };
  for (const auto& c : cases) EXPECT_EQ(bind_outcome(make_compiler_catalog(), c.query), c.error) << c.query;
}

// "MATCH (v0:T), ..., (v<count-1>:T)": past eight variables the scope
// moves to the heap and indexes names.
std::string match_of(int count) {
  std::string text = "MATCH ";
  for (int i = 0; i < count; ++i) text += (i > 0 ? ", (v" : "(v") + std::to_string(i) + ":T)";
  return text;
}

TEST(QueryBinding, ForeachBodyScopeEndsWithTheClause) {
  const struct {
    std::string query;
    const char* outcome;
  } cases[] = {
      {"FOREACH (x IN [1, 2] | CREATE (:T {v: x}))", "ok"},
      {"FOREACH (x IN [1, 2] | CREATE (:T {v: x})) RETURN x", "Binder error: Unknown variable: x"},
      {"FOREACH (x IN [1] | CREATE (y:T) FOREACH (z IN [x] | SET y.v = z))", "ok"},
      {"FOREACH (x IN [1] | CREATE (y:T)) RETURN y", "Binder error: Unknown variable: y"},
      // The list expression does not see the loop variable.
      {"FOREACH (x IN [x] | SET x.a = 1)", "Binder error: Unknown variable: x"},
      {"FOREACH (x IN [1] | MERGE (m:T) ON CREATE SET m.v = x DELETE m)", "ok"},
      {"FOREACH (x IN [1] | MERGE (m:Nope))", "Table not found: Nope"},
      {"FOREACH (x IN [1] | REMOVE x.a)", "Not implemented: REMOVE in FOREACH"},
      // A nested body ends before the rest of the outer body.
      {"FOREACH (x IN [1] | FOREACH (y IN [x] | CREATE (z:T)) SET x.v = 1)", "ok"},
      {"FOREACH (x IN [1] | FOREACH (y IN [x] | CREATE (z:T)) SET z.v = y)", "Binder error: Unknown variable: z"},
      // Names of the outer scope, inline or on the heap, stay visible after
      // a body that shadowed them.
      {"MATCH (x:T) FOREACH (x IN [1] | SET x.v = 1) RETURN x", "ok"},
      {match_of(10) + " FOREACH (v0 IN [1] | CREATE (v9:T), (y:T)) RETURN v0, v9", "ok"},
      {match_of(10) + " FOREACH (x IN [1] | CREATE (y:T)) RETURN y", "Binder error: Unknown variable: y"},
      // A body that moves an empty scope to the heap.
      {"FOREACH (x IN [1] | CREATE (c0:T), (c1:T), (c2:T), (c3:T), (c4:T), (c5:T), (c6:T), (c7:T), (c8:T)) "
       "RETURN c0",
       "Binder error: Unknown variable: c0"},
  };
  for (const auto& c : cases) EXPECT_EQ(bind_outcome(make_compiler_catalog(), c.query), c.outcome) << c.query;

  BoundQuery query = bind_query_text(make_compiler_catalog(), "FOREACH (x IN [1] | SET x.a = x DELETE x)");
  ASSERT_EQ(query.foreach_clauses.size(), 1U);
  EXPECT_EQ(debug_text(query.foreach_clauses[0]),
            R"(BoundForeachClause { variable: "x", expression: List([Literal(Int64(1))]), update_clauses: [)"
            R"(Set(Property { target: Property { base: Variable("x"), property: "a" }, value: Variable("x") }), )"
            R"(Delete(BoundDeleteClause { expressions: [Variable("x")], detach: false })] })");

  // Many clauses on a scope on the heap, each with a loop variable named
  // like the variable the next clause sets, and a body that adds a node:
  // every clause still finds its variable, and RETURN * sees exactly the
  // MATCH variables, in order.
  constexpr int kCount = 40;
  std::string text = match_of(kCount);
  std::string star;
  for (int i = 0; i < kCount; ++i) {
    const std::string n = std::to_string(i);
    const std::string next = std::to_string((i + 1) % kCount);
    text += " FOREACH (v" + next + " IN [" + n + "] | CREATE (w" + n + ":T) SET v" + n + ".v = v" + next + ")";
    star += (i > 0 ? "; v" : "v") + n + "=Variable(\"v" + n + "\")";
  }
  const BoundQuery many = bind_query_text(make_compiler_catalog(), text + " RETURN *");
  EXPECT_EQ(many.foreach_clauses.size(), static_cast<std::size_t>(kCount));
  EXPECT_EQ(return_items_text(many), star);
}

// Binding a clause on its own leaves the caller's scope as it was, whether
// the body binds or fails, with the scope inline or on the heap.
TEST(QueryBinding, ForeachLeavesTheCallersScopeAsItWas) {
  const auto catalog = make_compiler_catalog();
  const Statement ok = testing::parse_or_die("FOREACH (x IN [1] | CREATE (y:T), (v0:T) SET y.v = x)");
  const Statement failing = testing::parse_or_die("FOREACH (x IN [1] | CREATE (y:T), (v0:T) SET nope.v = x)");
  const std::string names[] = {"v0", "v1", "v2", "v3", "v4", "v5", "v6", "v7", "v8", "v9"};
  for (const Statement* statement : {&ok, &failing}) {
    for (const std::size_t count : {0, 10}) {
      Scope scope;
      for (std::size_t i = 0; i < count; ++i) scope.add(names[i], TableId{i});
      const auto& clause = std::get<Statement::Query>(statement->node).query.foreach_clauses.at(0);
      EXPECT_EQ(bind_foreach_clause(*catalog, clause, scope).ok(), statement == &ok);
      ASSERT_EQ(scope.entries().size(), count);
      for (std::size_t i = 0; i < count; ++i) EXPECT_EQ(scope.find(names[i]), &scope.entries()[i]) << count;
      EXPECT_EQ(scope.find("x"), nullptr);
      EXPECT_EQ(scope.find("y"), nullptr);
    }
  }
}

TEST(QueryBinding, SetItemsTheParserNeverBuilds) {
  const auto catalog = make_compiler_catalog();
  const Scope scope;
  Result<BoundSetItem> labels = bind_set_item(*catalog, SetItem{SetItem::Labels{"unbound", {"L1", "L2"}}}, scope);
  ASSERT_TRUE(labels.ok());
  EXPECT_EQ(debug_text(*labels), R"(Labels { variable: "unbound", labels: ["L1", "L2"] })");

  Result<BoundSetItem> properties = bind_set_item(*catalog, SetItem{SetItem::Properties{"n", {}, true}}, scope);
  ASSERT_FALSE(properties.ok());
  EXPECT_EQ(properties.error().display(), "Not implemented: SET properties = {...} not yet implemented");
}

}  // namespace
}  // namespace zelvo
