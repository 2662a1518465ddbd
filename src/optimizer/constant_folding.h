#pragma once

#include <string_view>
#include <vector>

#include "binder/bound_expression.h"
#include "optimizer/optimizer.h"
#include "planner/logical_plan.h"

namespace zelvo {

// Evaluates operators over literals inside Filter, Project and HashJoin
// nodes, and drops a Filter whose predicate folds to true. Other node kinds
// are returned unchanged, their children not visited.
class ConstantFolding final : public OptimizerRule {
 public:
  std::string_view name() const override { return "ConstantFolding"; }
  Result<PlanPtr> optimize(PlanPtr plan) const override;
};

// The expression with every Binary and Unary over literals computed where
// the operand kinds allow it: Int64 arithmetic (wrapping) and comparisons,
// String concatenation and comparisons, Bool logic, Not, and Neg of Int64
// and Float64. A division by zero, or of the smallest Int64 by -1, stays a
// Binary. Function arguments, property bases, lists, maps, IsNull and In
// are not looked into.
// Fails only when the expression nests too deeply for the thread's stack.
Result<BoundExpression> fold_constant_expression(BoundExpression expression);
// The same folding done in place; only nodes that fold are rebuilt.
Status fold_constants_in_place(BoundExpression& expression);

// Folds the expression of every projection pair; names and order unchanged.
Status map_projection_items_in_place(std::vector<ProjectionPair>& pairs);

}  // namespace zelvo
