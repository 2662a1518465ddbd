#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "binder/bound_expression.h"
#include "binder/bound_query.h"
#include "binder/bound_statement.h"
#include "catalog/catalog.h"
#include "common/result.h"
#include "planner/logical_plan.h"

namespace zelvo {

// Turns a bound statement into a logical plan and its output columns, in
// one pass over the query's clause slots. It reads no catalog and infers no
// types: every output column has type Any.
class Planner {
 public:
  explicit Planner(std::shared_ptr<Catalog> catalog) : catalog_(std::move(catalog)) {}

  // A statement that is not a query plans to Empty with no columns. Planning
  // fails only when a RETURN item without an alias nests too deeply for the
  // thread's stack to be named.
  Result<PlannedQuery> plan(const BoundStatement& statement) const;
  Result<PlannedQuery> plan_query(const BoundQuery& query) const;
  // The same plan, built by moving the query's expressions, names and
  // clauses into it instead of copying them: for a caller that drops the
  // query right after planning. The query is left valid only for destruction.
  Result<PlannedQuery> plan_query(BoundQuery&& query) const;

 private:
  std::shared_ptr<Catalog> catalog_;  // held for the executor's lifetime; planning does not read it
};

// The plan of a MATCH (or MERGE) pattern: scans joined as cross products,
// expansions for relationship steps.
PlanPtr plan_match_pattern(const std::vector<BoundPatternElement>& elements);
// The CreateNode of the first lone node with a table, or Empty.
PlanPtr plan_create_node(const std::vector<BoundPatternElement>& elements);
// The names of the DELETE expressions that are variables, in order.
std::vector<std::string> collect_delete_variables(const std::vector<BoundExpression>& expressions);
// A property assignment to variable.property, as a PlanSetItem; none otherwise.
std::optional<PlanSetItem> map_set_item(const BoundSetItem& item);
std::vector<PlanSetItem> map_merge_set_items(const std::vector<BoundSetItem>& items);
// The column name of a RETURN item: its alias, or the compact debug text of
// its expression.
Result<std::string> name_return_item(const BoundProjectionItem& item);
// The RETURN items as (expression, column name) pairs, in order.
Result<std::vector<ProjectionPair>> map_return_items(const std::vector<BoundProjectionItem>& items);

}  // namespace zelvo
