#pragma once

#include <string_view>

#include "optimizer/optimizer.h"
#include "planner/logical_plan.h"

// Rules that keep their place in the rule order but do not rewrite yet:
// each returns the plan it was given.

namespace zelvo {

// Reserved for pruning unused columns below projections.
class ProjectionPushdown final : public OptimizerRule {
 public:
  std::string_view name() const override { return "ProjectionPushdown"; }
  Result<PlanPtr> optimize(PlanPtr plan) const override { return plan; }
};

// Reserved for ordering joins by cost.
class JoinReorder final : public OptimizerRule {
 public:
  std::string_view name() const override { return "JoinReorder"; }
  Result<PlanPtr> optimize(PlanPtr plan) const override { return plan; }
};

}  // namespace zelvo
