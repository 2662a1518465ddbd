#pragma once

#include <string_view>

#include "optimizer/optimizer.h"
#include "planner/logical_plan.h"

namespace zelvo {

// Moves a Filter below the Project it sits on (the predicate unchanged);
// otherwise descends through Filter, Project and HashJoin.
class FilterPushdown final : public OptimizerRule {
 public:
  std::string_view name() const override { return "FilterPushdown"; }
  Result<PlanPtr> optimize(PlanPtr plan) const override;
};

// Moves a Limit below the Project it sits on; otherwise descends through
// Limit, Filter, Project and HashJoin.
class LimitPushdown final : public OptimizerRule {
 public:
  std::string_view name() const override { return "LimitPushdown"; }
  Result<PlanPtr> optimize(PlanPtr plan) const override;
};

}  // namespace zelvo
