#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler_fixture.h"
#include "planner/planner.h"

namespace zelvo {
namespace {

using testing::bind_query_text;
using testing::bind_text;
using testing::make_compiler_catalog;

PlannedQuery plan_text(const std::string& text) {
  const auto catalog = make_compiler_catalog();
  Result<PlannedQuery> planned = Planner(catalog).plan_query(bind_query_text(catalog, text));
  EXPECT_TRUE(planned.ok());
  return std::move(planned).value();
}

// Compact texts of the plan pieces the tables below are made of.
std::string scan(int table, const std::string& variable) {
  const std::string shown = variable.empty() ? "None" : "Some(\"" + variable + "\")";
  return "ScanNode { table_id: TableId(" + std::to_string(table) + "), variable: " + shown + ", columns: [] }";
}
std::string var(const std::string& name) { return "Variable(\"" + name + "\")"; }
std::string prop(const std::string& variable, const std::string& property) {
  return "Property { base: " + var(variable) + ", property: \"" + property + "\" }";
}
std::string int_literal(int value) { return "Literal(Int64(" + std::to_string(value) + "))"; }
std::string project_variable(const std::string& input, const std::string& name) {
  return "Project { input: " + input + ", expressions: [(" + var(name) + ", \"Variable(\\\"" + name + "\\\")\")] }";
}

TEST(Planner, WorkedExamplePrintsByteForByte) {
  const auto catalog = std::make_shared<Catalog>();
  ASSERT_TRUE(catalog->create_node_table(NodeTableDef{"Person", {}, 0}).ok());
  Result<BoundStatement> bound = bind_text(catalog, "MATCH (p:Person) RETURN p.name");
  ASSERT_TRUE(bound.ok());
  Result<PlannedQuery> planned = Planner(catalog).plan(*bound);
  ASSERT_TRUE(planned.ok());
  EXPECT_EQ(pretty_debug_text(*planned->plan),
            "Project {\n"
            "    input: ScanNode {\n"
            "        table_id: TableId(\n"
            "            1,\n"
            "        ),\n"
            "        variable: Some(\n"
            "            \"p\",\n"
            "        ),\n"
            "        columns: [],\n"
            "    },\n"
            "    expressions: [\n"
            "        (\n"
            "            Property {\n"
            "                base: Variable(\n"
            "                    \"p\",\n"
            "                ),\n"
            "                property: \"name\",\n"
            "            },\n"
            "            \"Property { base: Variable(\\\"p\\\"), property: \\\"name\\\" }\",\n"
            "        ),\n"
            "    ],\n"
            "}");
  ASSERT_EQ(planned->columns.size(), 1U);
  EXPECT_EQ(planned->columns[0].name, R"(Property { base: Variable("p"), property: "name" })");
  EXPECT_EQ(planned->columns[0].data_type, LogicalType(LogicalTypeKind::Any));
}

TEST(Planner, NamesColumnsByAliasOrCompactExpressionText) {
  PlannedQuery planned = plan_text("MATCH (n:T) RETURN n.v, n.v AS v, 'a\"b', *");
  std::vector<std::string> names;
  for (const OutputColumn& column : planned.columns) names.push_back(column.name);
  EXPECT_EQ(names, (std::vector<std::string>{prop("n", "v"), "v", R"(Literal(String("a\"b")))", "n"}));
}

TEST(Planner, MatchPatternsBecomeScansExpansionsAndCrossProducts) {
  const struct {
    std::string query;
    std::string plan;
  } cases[] = {
      {"MATCH (a:A), (b:B) RETURN a",
       project_variable("HashJoin { left: " + scan(2, "a") + ", right: " + scan(3, "b") + ", join_keys: [] }", "a")},
      // A clause's own WHERE filters the clause; the query WHERE filters the join.
      {"MATCH (a:A) WHERE a.x = 1 MATCH (b:B) UNWIND [1] AS u WHERE b.y = 2",
       "Filter { input: HashJoin { left: Filter { input: " + scan(2, "a") +
           ", predicate: Binary { left: " + prop("a", "x") + ", op: Eq, right: " + int_literal(1) +
           " } }, right: " + scan(3, "b") + ", join_keys: [] }, predicate: Binary { left: " + prop("b", "y") +
           ", op: Eq, right: " + int_literal(2) + " } }"},
      {"MATCH (n) RETURN n", project_variable("Empty", "n")},
      {"MATCH (n)-[r:R]->(b:B)",
       R"(Extend { input: Empty, rel_table_id: TableId(6), src_variable: "n", dst_variable: "b", )"
       R"(rel_variable: Some("r"), direction: Forward })"},
      {"MATCH (a:A)-[:R]->(b:B)-[:S]->(c:A)",
       "Extend { input: Extend { input: " + scan(2, "a") +
           R"(, rel_table_id: TableId(6), src_variable: "a", dst_variable: "b", rel_variable: None, )"
           R"(direction: Forward }, rel_table_id: TableId(7), src_variable: "a", dst_variable: "c", )"
           R"(rel_variable: None, direction: Forward })"},
      {"MATCH (a:A)<-[:S*2..]-(b:B)",
       "RecursiveExtend { input: " + scan(2, "a") +
           R"(, rel_table_id: TableId(7), src_variable: "a", dst_variable: "b", rel_variable: None, )"
           R"(direction: Backward, min_hops: 2, max_hops: 4294967295 })"},
      {"MATCH (a:A)-[:R*..3]-(:B)",
       "RecursiveExtend { input: " + scan(2, "a") +
           R"(, rel_table_id: TableId(6), src_variable: "a", dst_variable: "", rel_variable: None, )"
           R"(direction: Both, min_hops: 1, max_hops: 3 })"},
      // A step is skipped when its target names no table.
      {"MATCH (a:A)-[:R]->(b)", scan(2, "a")},
      // Without a start variable the step's own node is the source.
      {"MATCH (:A)-[:R]->(b:B)",
       "Extend { input: " + scan(2, "") +
           R"(, rel_table_id: TableId(6), src_variable: "b", dst_variable: "b", rel_variable: None, )"
           R"(direction: Forward })"},
  };
  for (const auto& c : cases) EXPECT_EQ(debug_text(*plan_text(c.query).plan), c.plan) << c.query;
}

TEST(Planner, UpdateClausesWrapOrReplaceThePlan) {
  const std::string set_v = "Set(Property { target: " + prop("n", "v") + ", value: " + var("x") + " })";
  const struct {
    std::string query;
    std::string plan;
  } cases[] = {
      {"MATCH (a:A) CREATE (n:T {v: 1}) RETURN n",
       project_variable(
           R"(CreateNode { table_id: TableId(4), variable: Some("n"), properties: [("v", )" + int_literal(1) + ")] }",
           "n")},
      {"CREATE (a:A)-[:R]->(b:B)", "Empty"},
      {"CREATE (x), (t:T)", R"(CreateNode { table_id: TableId(4), variable: Some("t"), properties: [] })"},
      {"MATCH (m) CREATE (a:A) CREATE (t:T)",
       R"(CreateNode { table_id: TableId(4), variable: Some("t"), properties: [] })"},
      {"MATCH (n:T) DETACH DELETE n, n.v", "Delete { input: " + scan(4, "n") + R"(, variables: ["n"], detach: true })"},
      {"DELETE 1", "Empty"},
      {"MATCH (n:T) SET n.a = 1 SET n = 2 SET n.b = 3",
       "SetProperty { input: SetProperty { input: " + scan(4, "n") + R"(, variable: "n", property: "a", value: )" +
           int_literal(1) + R"( }, variable: "n", property: "b", value: )" + int_literal(3) + " }"},
      {"MATCH (n:T) FOREACH (x IN [1] | SET n.v = x)", "Foreach { input: " + scan(4, "n") +
                                                           R"(, variable: "x", list_expr: List([)" + int_literal(1) +
                                                           "]), body: [" + set_v + "] }"},
      {"MATCH (n:T) RETURN n DELETE n",
       project_variable("Delete { input: " + scan(4, "n") + R"(, variables: ["n"], detach: false })", "n")},
  };
  for (const auto& c : cases) EXPECT_EQ(debug_text(*plan_text(c.query).plan), c.plan) << c.query;
}

TEST(Planner, MergeReplacesThePlanAndKeepsOnlyPropertyAssignments) {
  const auto catalog = make_compiler_catalog();
  BoundQuery query =
      bind_query_text(catalog,
                      "MATCH (n:T) FOREACH (x IN [1] | MERGE (m:T {v: 1}) ON MATCH SET m.v = 2 ON CREATE SET m = 3 "
                      "ON CREATE SET m.w = x)");
  ASSERT_EQ(query.foreach_clauses.size(), 1U);
  query.merge_clause = std::get<BoundMergeClause>(query.foreach_clauses[0].update_clauses[0].clause);
  query.foreach_clauses.clear();
  Result<PlannedQuery> planned = Planner(catalog).plan_query(query);
  ASSERT_TRUE(planned.ok());
  EXPECT_EQ(debug_text(*planned->plan), "Merge { match_plan: " + scan(4, "m") +
                                            R"(, create_plan: CreateNode { table_id: TableId(4), )" +
                                            R"(variable: Some("m"), properties: [("v", )" + int_literal(1) +
                                            R"()] }, on_match_sets: [("m", "v", )" + int_literal(2) +
                                            R"()], on_create_sets: [("m", "w", )" + var("x") + ")] }");
}

TEST(Planner, LimitSkipAndDistinctWrapTheProjection) {
  const std::string projected = project_variable(scan(4, "n"), "n");
  const struct {
    std::string query;
    std::string plan;
  } cases[] = {
      {"MATCH (n:T) RETURN n LIMIT 5 SKIP 2", "Limit { input: " + projected + ", limit: 5, offset: Some(2) }"},
      {"MATCH (n:T) RETURN n SKIP n.v LIMIT 0", "Limit { input: " + projected + ", limit: 0, offset: None }"},
      // A limit that is not an Int64 literal becomes 100.
      {"MATCH (n:T) RETURN n LIMIT $n", "Limit { input: " + projected + ", limit: 100, offset: None }"},
      {"MATCH (n:T) RETURN n LIMIT -1", "Limit { input: " + projected + ", limit: 100, offset: None }"},
      {"MATCH (n:T) RETURN n SKIP 3", projected},
      {"MATCH (n:T) RETURN DISTINCT n LIMIT 1",
       "Limit { input: Distinct { input: " + projected + " }, limit: 1, offset: None }"},
      // Without a plan RETURN and LIMIT add nothing.
      {"RETURN 1 LIMIT 1", "Empty"},
  };
  for (const auto& c : cases) EXPECT_EQ(debug_text(*plan_text(c.query).plan), c.plan) << c.query;
  EXPECT_TRUE(plan_text("RETURN 1").columns.empty());
}

// The pretty plan text and the column names.
std::string planned_text(const Result<PlannedQuery>& planned) {
  if (!planned.ok()) return planned.error().display();
  std::string text = pretty_debug_text(*planned->plan);
  for (const OutputColumn& column : planned->columns) text += "\n" + column.name;
  return text;
}

TEST(Planner, AQueryGivenUpPlansAsAQueryKept) {
  const char* const queries[] = {
      "MATCH (p:Person) WHERE p.age > 30 RETURN p.name, p.age AS age LIMIT 10",
      "MATCH (a:A) WHERE a.x = 1 MATCH (b:B) WHERE NOT b.y RETURN DISTINCT *",
      "MATCH (a:A) CREATE (n:T {v: a.x + 1}) RETURN n",
      "MERGE (m:T {v: 1}) ON MATCH SET m.v = 2 ON CREATE SET m.w = [m.v]",
      "MATCH (n:T) SET n.a = n.v * 2 DETACH DELETE n",
      "MATCH (n:T) FOREACH (x IN [1, 2] | SET n.v = x CREATE (:T {v: x}))",
  };
  const auto catalog = make_compiler_catalog();
  const Planner planner(catalog);
  for (const char* text : queries) {
    const BoundQuery kept = bind_query_text(catalog, text);
    const std::string from_kept = planned_text(planner.plan_query(kept));
    EXPECT_EQ(planned_text(planner.plan_query(kept)), from_kept) << "planning changed the kept query: " << text;
    BoundQuery given_up = kept;
    EXPECT_EQ(planned_text(planner.plan_query(std::move(given_up))), from_kept) << text;
  }
}

TEST(Planner, StatementsOtherThanQueriesPlanToEmpty) {
  const auto catalog = make_compiler_catalog();
  Result<BoundStatement> bound = bind_text(catalog, "EXPLAIN MATCH (n:T) RETURN n");
  ASSERT_TRUE(bound.ok());
  Result<PlannedQuery> planned = Planner(catalog).plan(*bound);
  ASSERT_TRUE(planned.ok());
  EXPECT_EQ(debug_text(*planned->plan), "Empty");
  EXPECT_TRUE(planned->columns.empty());
}

}  // namespace
}  // namespace zelvo
