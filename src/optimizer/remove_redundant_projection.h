#pragma once

#include <string_view>

#include "optimizer/optimizer.h"
#include "planner/logical_plan.h"

namespace zelvo {

// A Project directly over another Project is replaced by the inner one (the
// outer expressions are dropped); only Project nodes are visited, so on
// planner output the rule acts at the root alone.
class RemoveRedundantProjection final : public OptimizerRule {
 public:
  std::string_view name() const override { return "RemoveRedundantProjection"; }
  Result<PlanPtr> optimize(PlanPtr plan) const override;
};

}  // namespace zelvo
