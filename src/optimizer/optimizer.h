#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "planner/logical_plan.h"

namespace zelvo {

// A stateless rewrite rule over logical plans.
class OptimizerRule {
 public:
  virtual ~OptimizerRule() = default;
  virtual std::string_view name() const = 0;
  // Takes the plan over and returns the rewritten plan, or an error.
  virtual Result<PlanPtr> optimize(PlanPtr plan) const = 0;
};

// The fixed list of seven rules, each run once, in order: ConstantFolding,
// PredicateSimplification, FilterPushdown, ProjectionPushdown,
// LimitPushdown, RemoveRedundantProjection, JoinReorder.
class Optimizer {
 public:
  Optimizer();
  // A custom rule list, run in the given order.
  explicit Optimizer(std::vector<std::shared_ptr<const OptimizerRule>> rules) : rules_(std::move(rules)) {}

  const std::vector<std::shared_ptr<const OptimizerRule>>& rules() const { return rules_; }

  // Runs every rule once over the plan; the output columns pass unchanged.
  // The first rule error stops the run and is the result.
  Result<PlannedQuery> optimize(PlannedQuery query) const;

 private:
  std::vector<std::shared_ptr<const OptimizerRule>> rules_;
};

}  // namespace zelvo
