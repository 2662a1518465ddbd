#pragma once

#include <string_view>

#include "binder/bound_expression.h"
#include "optimizer/optimizer.h"
#include "planner/logical_plan.h"

namespace zelvo {

// Simplifies the predicate of every Filter reached through Filter, Project
// and HashJoin nodes; the Filter stays whatever its predicate becomes.
class PredicateSimplification final : public OptimizerRule {
 public:
  std::string_view name() const override { return "PredicateSimplification"; }
  Result<PlanPtr> optimize(PlanPtr plan) const override;
};

// Removes double negation, negates Bool literals under Not, and reduces AND
// and OR with a Bool literal on either side. Other kinds are unchanged
// (Binary operators other than AND and OR have their sides simplified).
// Fails only when the expression nests too deeply for the thread's stack.
Result<BoundExpression> simplify_predicate(BoundExpression expression);
// The same simplification done in place; only reduced nodes are rebuilt.
Status simplify_predicate_in_place(BoundExpression& expression);

}  // namespace zelvo
