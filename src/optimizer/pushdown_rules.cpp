#include "optimizer/pushdown_rules.h"

#include "optimizer/plan_rewrite.h"

namespace zelvo {

namespace {

bool is_project(const PlanPtr& plan) { return plan->as<plan::Project>() != nullptr; }

}  // namespace

// Once a Filter has been moved below a Project, nothing under it is visited.
Result<PlanPtr> FilterPushdown::optimize(PlanPtr plan) const {
  if (auto* filter = plan->as<plan::Filter>(); filter != nullptr && is_project(filter->input)) {
    return lift_project_above(std::move(plan), filter->input);
  }
  return optimize_filter_project_join_children(*this, std::move(plan));
}

// Once a Limit has been moved below a Project, nothing under it is visited.
Result<PlanPtr> LimitPushdown::optimize(PlanPtr plan) const {
  if (auto* limit = plan->as<plan::Limit>()) {
    if (is_project(limit->input)) return lift_project_above(std::move(plan), limit->input);
    ZELVO_TRY(optimize_child(*this, limit->input));
    return plan;
  }
  return optimize_filter_project_join_children(*this, std::move(plan));
}

}  // namespace zelvo
