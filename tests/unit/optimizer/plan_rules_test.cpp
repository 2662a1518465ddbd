#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "compiler_fixture.h"
#include "optimizer/constant_folding.h"
#include "optimizer/identity_rules.h"
#include "optimizer/optimizer.h"
#include "optimizer/predicate_simplification.h"
#include "optimizer/pushdown_rules.h"
#include "optimizer/remove_redundant_projection.h"
#include "planner/planner.h"

namespace zelvo {
namespace {

PlannedQuery planned(const std::string& query) {
  const auto catalog = testing::make_compiler_catalog();
  Result<PlannedQuery> result = Planner(catalog).plan_query(testing::bind_query_text(catalog, query));
  EXPECT_TRUE(result.ok());
  return std::move(result).value();
}

// Hand-built plans, for shapes the planner never produces.
PlanPtr scan() { return LogicalPlan::make(plan::ScanNode{TableId{4}, "n", {}}); }
PlanPtr project(PlanPtr input, const std::string& column = "n") {
  std::vector<ProjectionPair> pairs;
  pairs.emplace_back(BoundExpression::variable("n"), column);
  return LogicalPlan::make(plan::Project{std::move(input), std::move(pairs)});
}
PlanPtr filter(PlanPtr input, bool passes = false) {
  return LogicalPlan::make(plan::Filter{std::move(input), BoundExpression::literal(Value::boolean(passes))});
}
PlanPtr limit(PlanPtr input) { return LogicalPlan::make(plan::Limit{std::move(input), 3, std::nullopt}); }
PlanPtr join(PlanPtr left, PlanPtr right) {
  return LogicalPlan::make(plan::HashJoin{std::move(left), std::move(right), {}});
}

struct RuleCase {
  const char* description;
  std::shared_ptr<const OptimizerRule> rule;
  std::function<PlanPtr()> before;
  std::function<PlanPtr()> after;
};

std::function<PlanPtr()> from_query(const char* query) {
  return [query] { return planned(query).plan; };
}

void expect_rewrites(const std::vector<RuleCase>& cases) {
  for (const RuleCase& c : cases) {
    Result<PlanPtr> rewritten = c.rule->optimize(c.before());
    ASSERT_TRUE(rewritten.ok()) << c.description;
    EXPECT_EQ(debug_text(**rewritten), debug_text(*c.after())) << c.description;
  }
}

TEST(OptimizerRules, ConstantFoldingVisitsFiltersProjectionsAndJoins) {
  const auto rule = std::make_shared<const ConstantFolding>();
  expect_rewrites({
      {"true filter dropped", rule, from_query("MATCH (n:T) WHERE 1 + 1 = 2 RETURN n"),
       from_query("MATCH (n:T) RETURN n")},
      {"false filter kept", rule, from_query("MATCH (n:T) WHERE 1 = 2 RETURN n"),
       from_query("MATCH (n:T) WHERE false RETURN n")},
      {"aliased projection folded", rule, from_query("MATCH (n:T) RETURN 2 * 3 AS x"),
       from_query("MATCH (n:T) RETURN 6 AS x")},
      {"both join sides", rule, from_query("MATCH (a:A) WHERE 1 = 1 MATCH (b:B) WHERE 'a' < 'b' RETURN a"),
       from_query("MATCH (a:A) MATCH (b:B) RETURN a")},
      {"root Limit not visited", rule, from_query("MATCH (n:A) WHERE 1 = 1 RETURN n LIMIT 5"),
       from_query("MATCH (n:A) WHERE 1 = 1 RETURN n LIMIT 5")},
      {"root Foreach not visited", rule, from_query("MATCH (n:T) WHERE 1 = 1 FOREACH (x IN [1 + 1] | SET n.v = 1 + 1)"),
       from_query("MATCH (n:T) WHERE 1 = 1 FOREACH (x IN [1 + 1] | SET n.v = 1 + 1)")},
  });

  // An unaliased column keeps the name made from the unfolded expression.
  Result<PlanPtr> folded = rule->optimize(planned("MATCH (n:T) RETURN 2 * 3").plan);
  ASSERT_TRUE(folded.ok());
  EXPECT_EQ(debug_text((*folded)->as<plan::Project>()->expressions),
            R"([(Literal(Int64(6)), "Binary { left: Literal(Int64(2)), op: Mul, right: Literal(Int64(3)) }")])");
}

TEST(OptimizerRules, PredicateSimplificationRewritesFilterPredicatesOnly) {
  const auto rule = std::make_shared<const PredicateSimplification>();
  expect_rewrites({
      {"double negation", rule, from_query("MATCH (n:T) WHERE NOT NOT n.v RETURN n"),
       from_query("MATCH (n:T) WHERE n.v RETURN n")},
      {"false conjunct keeps the filter, projection untouched", rule,
       from_query("MATCH (n:T) WHERE n.v AND false RETURN NOT NOT n AS m"),
       from_query("MATCH (n:T) WHERE false RETURN NOT NOT n AS m")},
      {"root Distinct not visited", rule, from_query("MATCH (n:T) WHERE NOT NOT n.v RETURN DISTINCT n"),
       from_query("MATCH (n:T) WHERE NOT NOT n.v RETURN DISTINCT n")},
  });
}

TEST(OptimizerRules, PushdownsMoveFilterAndLimitBelowAProjection) {
  const auto filters = std::make_shared<const FilterPushdown>();
  const auto limits = std::make_shared<const LimitPushdown>();
  expect_rewrites({
      {"filter swapped, nothing below visited", filters, [] { return filter(project(filter(project(scan())))); },
       [] { return project(filter(filter(project(scan())))); }},
      {"filter found through a join", filters, [] { return filter(join(filter(project(scan())), scan()), true); },
       [] { return filter(join(project(filter(scan())), scan()), true); }},
      {"planner output unchanged", filters, from_query("MATCH (n:T) WHERE n.v RETURN n LIMIT 2"),
       from_query("MATCH (n:T) WHERE n.v RETURN n LIMIT 2")},
      {"limit swapped", limits, from_query("MATCH (n:A) RETURN n LIMIT 3"),
       [] {
         PlanPtr plan = planned("MATCH (n:A) RETURN n").plan;
         auto& projection = *plan->as<plan::Project>();
         projection.input = LogicalPlan::make(plan::Limit{std::move(projection.input), 3, std::nullopt});
         return plan;
       }},
      {"limit found through a filter", limits, [] { return filter(limit(project(scan()))); },
       [] { return filter(project(limit(scan()))); }},
      {"distinct stops the limit", limits, from_query("MATCH (n:A) RETURN DISTINCT n LIMIT 3"),
       from_query("MATCH (n:A) RETURN DISTINCT n LIMIT 3")},
  });
}

TEST(OptimizerRules, RedundantProjectionAndIdentityRules) {
  const auto redundant = std::make_shared<const RemoveRedundantProjection>();
  expect_rewrites({
      {"outer projection dropped", redundant, [] { return project(project(scan(), "inner"), "outer"); },
       [] { return project(scan(), "inner"); }},
      {"only the root is looked at", redundant, [] { return project(filter(project(project(scan())))); },
       [] { return project(filter(project(project(scan())))); }},
      {"identity ProjectionPushdown", std::make_shared<const ProjectionPushdown>(),
       [] { return project(project(scan())); }, [] { return project(project(scan())); }},
      {"identity JoinReorder", std::make_shared<const JoinReorder>(), [] { return join(scan(), filter(scan())); },
       [] { return join(scan(), filter(scan())); }},
  });
}

TEST(OptimizerRules, KindsNoRuleNamesPassThroughEveryRule) {
  const char* queries[] = {"DELETE 1", "CREATE (n:T {v: 1 + 1})", "MATCH (n:T) SET n.v = NOT NOT true"};
  const Optimizer optimizer;
  for (const auto& rule : optimizer.rules()) {
    for (const char* query : queries) {
      Result<PlanPtr> rewritten = rule->optimize(planned(query).plan);
      ASSERT_TRUE(rewritten.ok());
      EXPECT_EQ(debug_text(**rewritten), debug_text(*planned(query).plan)) << rule->name() << ": " << query;
    }
  }
}

TEST(Optimizer, RunsTheSevenRulesInOrder) {
  const Optimizer optimizer;
  std::vector<std::string_view> names;
  for (const auto& rule : optimizer.rules()) names.push_back(rule->name());
  EXPECT_EQ(names, (std::vector<std::string_view>{"ConstantFolding", "PredicateSimplification", "FilterPushdown",
                                                  "ProjectionPushdown", "LimitPushdown", "RemoveRedundantProjection",
                                                  "JoinReorder"}));

  // Folding runs before the Limit is moved below the projection, so a root
  // Limit shields its filter.
  PlannedQuery query = planned("MATCH (n:A) WHERE 1 = 1 RETURN n.x AS x LIMIT 5");
  const std::vector<OutputColumn> columns = query.columns;
  Result<PlannedQuery> optimized = optimizer.optimize(std::move(query));
  ASSERT_TRUE(optimized.ok());
  EXPECT_EQ(debug_text(*optimized->plan),
            R"(Project { input: Limit { input: Filter { input: ScanNode { table_id: TableId(2), variable: Some("n"), )"
            R"(columns: [] }, predicate: Binary { left: Literal(Int64(1)), op: Eq, right: Literal(Int64(1)) } }, )"
            R"(limit: 5, offset: None }, expressions: [(Property { base: Variable("n"), property: "x" }, "x")] })");
  ASSERT_EQ(optimized->columns.size(), columns.size());
  EXPECT_EQ(optimized->columns[0].name, "x");
}

// Fails every plan it is given, or counts the plans it passes on.
class ProbeRule final : public OptimizerRule {
 public:
  ProbeRule(bool fails, int* runs) : fails_(fails), runs_(runs) {}
  std::string_view name() const override { return "Probe"; }
  Result<PlanPtr> optimize(PlanPtr plan) const override {
    ++*runs_;
    if (fails_) return Error::planner("probe failed");
    return plan;
  }

 private:
  bool fails_;
  int* runs_;
};

TEST(Optimizer, StopsAtTheFirstRuleError) {
  int runs = 0;
  const Optimizer optimizer({std::make_shared<const ProbeRule>(false, &runs),
                             std::make_shared<const ProbeRule>(true, &runs),
                             std::make_shared<const ProbeRule>(false, &runs)});
  Result<PlannedQuery> result = optimizer.optimize(planned("MATCH (n:T) RETURN n"));
  ASSERT_FALSE(result.ok());
  EXPECT_EQ(result.error().display(), "Planner error: probe failed");
  EXPECT_EQ(runs, 2);
}

}  // namespace
}  // namespace zelvo
